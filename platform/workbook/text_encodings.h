#pragma once
// Text encodings the readers meet: UTF-8, UTF-16, Windows-1251 and OOXML's escapes.

#include <string>
#include <string_view>

namespace ore::reader {

bool isValidUtf8(std::string_view s);
void appendUtf8(std::string& out, char32_t cp);
// Windows-1251 bytes to UTF-8 (the one undefined byte, 0x98, becomes U+FFFD).
void appendCp1251(std::string& out, std::string_view bytes);
// UTF-16 (little or big endian, no byte order mark) to UTF-8; lone surrogates become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// OOXML's escapes of characters XML cannot hold: "_x000D_" is a carriage return, "_x005F_"
// an underscore.
void decodeOoxmlEscapes(std::string& s);

}  // namespace ore::reader
