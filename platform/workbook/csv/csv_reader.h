#pragma once
// The delimited-text (.csv, .txt) reader: the separator sniffed from the first lines, quoted
// fields, UTF-8 (with or without byte order mark), UTF-16 with a byte order mark, and
// Windows-1251 for text that is not valid UTF-8. Every field is a text cell, exactly as
// written: the conversion rules of the import decide later what is a number.

#include <string>
#include <string_view>

#include "platform/workbook/reader_limits.h"
#include "platform/workbook/workbook.h"

namespace ore::reader {

// The separator of the first lines (up to 64 lines or 64 KiB): ';', tab or ',' — the one
// that splits every line into the same number of fields, in that order of preference, so
// that a decimal comma ("1;2,5") does not pass for a separator. ';' when nothing decides.
char sniffSeparator(std::string_view text);

// The file's bytes as UTF-8 text without a byte order mark: UTF-16 and invalid UTF-8 after a
// UTF-8 mark are decoded into `decoded`; cp1251 is set when the fields are Windows-1251 (text
// that is not valid UTF-8) still to be converted. Throws notWorkbook for binary content.
std::string_view decodedText(std::string_view bytes, std::string& decoded, bool& cp1251,
                             ReadContext& ctx);

// Reads the text into one sheet named sheetName. Empty fields are empty cells. Throws
// ReadContext messages: not a workbook (binary content: NUL bytes without a UTF-16 byte order
// mark), damaged (a quote left open at the end), beyond the sheet's limits.
Workbook readCsv(std::string_view bytes, const std::string& sheetName, ReadContext& ctx);

}  // namespace ore::reader
