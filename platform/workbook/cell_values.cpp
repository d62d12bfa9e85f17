#include "platform/workbook/cell_values.h"

#include <charconv>
#include <cmath>

namespace ore::reader {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

void trimBlanks(std::string_view& s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
}

// Reads exactly n digits.
bool takeDigits(std::string_view& s, std::size_t n, int& out) {
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

bool take(std::string_view& s, char c) {
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

int daysInMonth(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// A decimal number at the start of s (digits, optional fraction, optional exponent), consumed.
bool takeNumber(std::string_view& s, double& out) {
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

}  // namespace

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

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468 + 25569;
}

double dateSerial(int year, int month, int day) {
  std::int64_t s = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  // The spreadsheet counts a 29 February 1900 that never was: before March 1900 its serial
  // numbers are one less than the day count.
  if (s >= 2 && s <= 60) --s;
  return static_cast<double>(s);
}

bool isoDateToSerial(std::string_view s, double& out) {
  trimBlanks(s);
  int y, mo, d;
  if (!takeDigits(s, 4, y) || !take(s, '-') || !takeDigits(s, 2, mo) || !take(s, '-') ||
      !takeDigits(s, 2, d))
    return false;
  if (y < 1 || mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo)) return false;
  double frac = 0;
  if (take(s, 'T') || take(s, ' ')) {
    int h, mi, sec = 0;
    double secFrac = 0;
    if (!takeDigits(s, 2, h) || !take(s, ':') || !takeDigits(s, 2, mi)) return false;
    if (take(s, ':')) {
      if (!takeDigits(s, 2, sec)) return false;
      if (!s.empty() && (s.front() == '.' || s.front() == ',')) {
        std::string_view digits = s.substr(1);
        std::size_t n = 0;
        while (n < digits.size() && isDigit(digits[n])) ++n;
        if (n == 0) return false;
        double scale = 0.1;
        for (std::size_t i = 0; i < n && i < 15; ++i, scale /= 10)
          secFrac += (digits[i] - '0') * scale;
        s.remove_prefix(1 + n);
      }
    }
    if (h > 24 || mi > 59 || sec > 60 || (h == 24 && (mi || sec || secFrac))) return false;
    frac = ((h * 60.0 + mi) * 60.0 + sec + secFrac) / 86400.0;
  }
  if (take(s, 'Z')) {
  } else if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    s.remove_prefix(1);
    int zh, zm = 0;
    if (!takeDigits(s, 2, zh)) return false;
    if (take(s, ':') && !takeDigits(s, 2, zm)) return false;
    if (zh > 23 || zm > 59) return false;
  }
  if (!s.empty()) return false;
  out = dateSerial(y, mo, d) + frac;
  return true;
}

bool isoDurationToDays(std::string_view s, double& out) {
  trimBlanks(s);
  bool neg = take(s, '-');
  if (!take(s, 'P')) return false;
  double days = 0;
  bool any = false, time = false;
  while (!s.empty()) {
    if (!time && take(s, 'T')) {
      time = true;
      continue;
    }
    double v;
    if (!takeNumber(s, v) || s.empty()) return false;
    char unit = s.front();
    s.remove_prefix(1);
    if (!time && unit == 'D')
      days += v;
    else if (!time && unit == 'W')
      days += 7 * v;
    else if (time && unit == 'H')
      days += v / 24;
    else if (time && unit == 'M')
      days += v / 1440;
    else if (time && unit == 'S')
      days += v / 86400;
    else
      return false;  // years and months have no fixed length
    any = true;
  }
  if (!any || !std::isfinite(days)) return false;
  out = neg ? -days : days;
  return true;
}

bool isBuiltinDateFormat(std::uint64_t id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
         (id >= 50 && id <= 58);
}

bool isDateFormatCode(std::string_view code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    switch (c) {
      case '"': {
        auto e = code.find('"', i + 1);
        if (e == std::string_view::npos) return false;
        i = e;
        break;
      }
      case '[': {
        auto e = code.find(']', i + 1);
        if (e == std::string_view::npos) return false;
        // Elapsed-time fields ([h], [mm], [ss]) are times all the same.
        std::string_view in = code.substr(i + 1, e - i - 1);
        bool elapsed = !in.empty();
        for (char k : in)
          if (!(k == 'h' || k == 'H' || k == 'm' || k == 'M' || k == 's' || k == 'S'))
            elapsed = false;
        if (elapsed) return true;
        i = e;
        break;
      }
      case '\\':
      case '_':
      case '*':
        ++i;  // the next character is literal (or a padding / fill character)
        break;
      case 'y':
      case 'Y':
      case 'm':
      case 'M':
      case 'd':
      case 'D':
      case 'h':
      case 'H':
      case 's':
      case 'S':
        return true;
      default:
        break;
    }
  }
  return false;
}

namespace {

// Recursive descent over the spreadsheet's operator precedence: negation, then %, ^ (left to
// right), * /, + -. The depth bound keeps hostile nesting off the stack.
class FormulaEval {
 public:
  explicit FormulaEval(std::string_view s) : s_(s) {}

  FormulaResult run(double& out) {
    skip();
    if (take(s_, '=')) skip();
    double v;
    if (!expr(v, 0)) return FormulaResult::NotConstant;
    skip();
    if (!s_.empty()) return FormulaResult::NotConstant;
    if (divZero_) return FormulaResult::DivisionByZero;
    if (!std::isfinite(v)) return FormulaResult::NotConstant;
    out = v == 0 ? 0.0 : v;
    return FormulaResult::Value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void skip() {
    while (!s_.empty() && s_.front() == ' ') s_.remove_prefix(1);
  }
  bool op(char c) {
    skip();
    return take(s_, c);
  }
  bool expr(double& v, int depth) {
    if (!term(v, depth)) return false;
    for (;;) {
      double r;
      if (op('+')) {
        if (!term(r, depth)) return false;
        v += r;
      } else if (op('-')) {
        if (!term(r, depth)) return false;
        v -= r;
      } else {
        return true;
      }
    }
  }
  bool term(double& v, int depth) {
    if (!power(v, depth)) return false;
    for (;;) {
      double r;
      if (op('*')) {
        if (!power(r, depth)) return false;
        v *= r;
      } else if (op('/')) {
        if (!power(r, depth)) return false;
        if (r == 0) {
          divZero_ = true;
          v = 0;
        } else {
          v /= r;
        }
      } else {
        return true;
      }
    }
  }
  bool power(double& v, int depth) {
    if (!unary(v, depth)) return false;
    while (op('^')) {
      double r;
      if (!unary(r, depth)) return false;
      v = std::pow(v, r);
    }
    return true;
  }
  bool unary(double& v, int depth) {
    if (depth > kMaxDepth) return false;
    if (op('-')) {
      if (!unary(v, depth + 1)) return false;
      v = -v;
      return true;
    }
    if (op('+')) return unary(v, depth + 1);
    if (!primary(v, depth)) return false;
    while (op('%')) v /= 100;
    return true;
  }
  bool primary(double& v, int depth) {
    skip();
    if (take(s_, '(')) {
      if (depth > kMaxDepth || !expr(v, depth + 1)) return false;
      return op(')');
    }
    return takeNumber(s_, v);
  }

  std::string_view s_;
  bool divZero_ = false;
};

}  // namespace

FormulaResult evalConstantFormula(std::string_view formula, double& out) {
  return FormulaEval(formula).run(out);
}

bool isValidUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* e = p + s.size();
  while (p < e) {
    unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    int n;
    char32_t cp, min;
    if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07, min = 0x10000;
    } else {
      return false;
    }
    if (e - p <= n) return false;
    for (int i = 1; i <= n; ++i) {
      if ((p[i] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    p += n + 1;
  }
  return true;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void appendCp1251(std::string& out, std::string_view bytes) {
  static const char16_t kHigh[128] = {
      0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
      0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
      0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
      0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
      0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411,
      0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
      0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
      0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432,
      0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D,
      0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448,
      0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
  };
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    if (b < 0x80)
      out += ch;
    else
      appendUtf8(out, kHigh[b - 0x80]);
  }
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  auto unit = [&](std::size_t i) -> char16_t {
    auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  };
  std::size_t n = bytes.size() / 2 * 2;
  for (std::size_t i = 0; i < n; i += 2) {
    char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < n) {
      char16_t l = unit(i + 2);
      if (l >= 0xDC00 && l <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (l - 0xDC00));
        i += 2;
        continue;
      }
    }
    appendUtf8(out, u);  // a lone surrogate turns into U+FFFD there
  }
  if (bytes.size() % 2) appendUtf8(out, 0xFFFD);
  return out;
}

void decodeOoxmlEscapes(std::string& s) {
  if (s.find("_x") == std::string::npos) return;
  std::string out;
  out.reserve(s.size());
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
      int v = 0;
      bool ok = true;
      for (int k = 2; k < 6; ++k) {
        int h = hex(s[i + k]);
        if (h < 0) ok = false;
        v = v * 16 + h;
      }
      if (ok) {
        appendUtf8(out, static_cast<char32_t>(v));
        i += 6;
        continue;
      }
    }
    out += s[i];
  }
  s = std::move(out);
}

}  // namespace ore::reader
