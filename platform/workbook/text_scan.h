#pragma once
// Scanning the texts files store values in: digits, blanks and numbers taken from the front of
// a text. Shared by the number, date and formula conversions of the readers.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace ore::reader {

inline bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

inline void trimBlanks(std::string_view& s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
}

// Reads exactly n digits.
inline bool takeDigits(std::string_view& s, std::size_t n, int& out) {
  if (s.size() < n) return false;
  int v = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (!isDigit(s[i])) return false;
    v = v * 10 + (s[i] - '0');
  }
  out = v;
  s.remove_prefix(n);
  return true;
}

inline bool take(std::string_view& s, char c) {
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

inline int daysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// A decimal number at the start of s (digits, optional fraction, optional exponent), consumed.
inline bool takeNumber(std::string_view& s, double& out) {
  std::size_t i = 0;
  while (i < s.size() && isDigit(s[i])) ++i;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && isDigit(s[i])) ++i;
  }
  if (i == 0 || (i == 1 && s[0] == '.')) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && isDigit(s[j])) {
      while (j < s.size() && isDigit(s[j])) ++j;
      i = j;
    }
  }
  auto r = std::from_chars(s.data(), s.data() + i, out);
  if (r.ec != std::errc() || r.ptr != s.data() + i || !std::isfinite(out)) return false;
  s.remove_prefix(i);
  return true;
}

}  // namespace ore::reader
