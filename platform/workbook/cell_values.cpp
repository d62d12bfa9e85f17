#include "platform/workbook/cell_values.h"

#include <charconv>
#include <cmath>

#include "platform/workbook/text_scan.h"

namespace ore::reader {

bool parseNumber(std::string_view text, double& out) {
  trimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  // from_chars would accept "inf" and "nan", and hex digits never appear in these files.
  for (char c : text)
    if (!(isDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  auto r = std::from_chars(text.data(), text.data() + text.size(), out);
  return r.ec == std::errc() && r.ptr == text.data() + text.size() && std::isfinite(out);
}

bool parseIndex(std::string_view text, std::uint64_t max, std::uint64_t& out) {
  trimBlanks(text);
  if (text.empty()) return false;
  std::uint64_t v = 0;
  for (char c : text) {
    if (!isDigit(c)) return false;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
    if (v > max) return false;
  }
  out = v;
  return true;
}

}  // namespace ore::reader
