#pragma once
// The common case of the program's reading of a number text, fast: a sign, digits and at most
// one decimal separator, nothing else. Such a text means the same double to NumberFormat's
// tryParseReal (which builds the C-locale text and asks strtod); both round to nearest.

#include <charconv>
#include <cstddef>
#include <string_view>
#include <system_error>

namespace ore {

// True with out set when text is plain and in range; false when it is not plain (blanks, an
// exponent, other characters, an out-of-range value, more than 60 characters): NumberFormat's
// tryParseReal then decides.
inline bool parsePlainReal(std::string_view text, char sep, double& out) {
  constexpr std::size_t kMax = 60;
  const std::size_t n = text.size();
  if (n == 0 || n > kMax) return false;
  char buf[kMax];
  std::size_t i = 0, len = 0;
  if (text[0] == '-') {
    buf[len++] = '-';
    ++i;
  } else if (text[0] == '+') {
    ++i;  // from_chars takes no plus sign
  }
  bool digits = false, sepSeen = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
      buf[len++] = c;
    } else if (c == sep && !sepSeen) {
      sepSeen = true;
      buf[len++] = '.';
    } else {
      return false;
    }
  }
  if (!digits) return false;
  double v;
  const auto r = std::from_chars(buf, buf + len, v);
  if (r.ec != std::errc() || r.ptr != buf + len) return false;
  out = v;
  return true;
}

}  // namespace ore
