#include "platform/workbook/names.h"

namespace ore {

std::string columnLetters(std::int64_t col) {
  std::string s;
  for (; col > 0; col = (col - 1) / 26)
    s.insert(s.begin(), static_cast<char>('A' + (col - 1) % 26));
  return s;
}

std::size_t utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

SheetNameFault sheetNameFault(std::string_view name) {
  if (name.empty()) return SheetNameFault::Empty;
  if (utf8Length(name) > 31) return SheetNameFault::TooLong;
  if (name.find_first_of("[]:*?/\\") != std::string_view::npos) return SheetNameFault::BadCharacter;
  if (name.front() == '\'' || name.back() == '\'') return SheetNameFault::Apostrophe;
  return SheetNameFault::None;
}

namespace {

// Lower case of the Latin and the Cyrillic capitals (U+0400..U+042F), other bytes as they are.
std::string foldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    } else if ((c == 0xD0) && i + 1 < s.size()) {
      // Capitals U+0400..U+040F fold to U+0450..U+045F, U+0410..U+042F to U+0430..U+044F.
      unsigned char d = static_cast<unsigned char>(s[++i]);
      if (d >= 0x80 && d <= 0x8F) {
        out += '\xD1';
        out += static_cast<char>(d + 0x10);
      } else if (d >= 0x90 && d <= 0x9F) {
        out += '\xD0';
        out += static_cast<char>(d + 0x20);
      } else if (d >= 0xA0 && d <= 0xAF) {
        out += '\xD1';
        out += static_cast<char>(d - 0x20);
      } else {
        out += static_cast<char>(c);
        out += static_cast<char>(d);
      }
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

bool sameSheetName(std::string_view a, std::string_view b) {
  return foldCase(a) == foldCase(b);
}

}  // namespace ore
