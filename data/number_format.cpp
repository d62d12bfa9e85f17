#include "data/number_format.h"

#include <locale.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/errors.h"

namespace ore {

namespace msg {
std::string notValidInteger(const std::string& text) {
  return "'" + text + "' is not a valid integer value";
}
std::string notValidFloat(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}
std::string variantConvert(const std::string& fromType, const std::string& toType) {
  return "Could not convert variant of type (" + fromType + ") into type (" + toType + ")";
}
}  // namespace msg

namespace {

// The "C" locale for strtold_l, created once; it is immutable, so sharing it is safe.
locale_t cLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlank(char c) {
  return c == ' ';
}

}  // namespace

std::string NumberFormat::format(double v) const {
  return format(static_cast<long double>(v));
}

std::string NumberFormat::format(long double v) const {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  // glibc rounds correctly from the exact binary value: 15 significant digits of v itself.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14Le", v);
  std::string s(buf);
  bool neg = s[0] == '-';
  if (neg) s.erase(0, 1);
  auto ePos = s.find('e');
  std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);  // 15 digits
  int exp10 = std::atoi(s.c_str() + ePos + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = neg ? "-" : "";
  if (exp10 >= -4 && exp10 < 15) {
    if (exp10 < 0) {
      out += '0';
      out += sep_;
      out.append(static_cast<size_t>(-exp10 - 1), '0');
      out += digits;
    } else {
      size_t intDigits = static_cast<size_t>(exp10) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
      } else {
        out += digits.substr(0, intDigits);
        out += sep_;
        out += digits.substr(intDigits);
      }
    }
  } else {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep_;
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exp10);
  }
  return out;
}

bool NumberFormat::tryParseReal(std::string_view text, double& out) const {
  size_t i = 0, n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  std::string c;  // the number rewritten for the C locale
  if (i < n && (text[i] == '+' || text[i] == '-')) c += text[i++];
  size_t mantDigits = 0;
  bool sepSeen = false;
  while (i < n) {
    char ch = text[i];
    if (isDigit(ch)) {
      c += ch;
      ++mantDigits;
    } else if (ch == sep_ && !sepSeen) {
      sepSeen = true;
      c += '.';
    } else {
      break;
    }
    ++i;
  }
  if (mantDigits == 0) return false;
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    c += 'e';
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) c += text[i++];
    size_t expDigits = 0;
    while (i < n && isDigit(text[i])) {
      c += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  while (i < n && isBlank(text[i])) ++i;
  if (i != n) return false;
  errno = 0;
  char* end = nullptr;
  double v = strtod_l(c.c_str(), &end, cLocale());
  if (errno == ERANGE && std::isinf(v)) return false;  // beyond the double range
  out = v;                                             // underflow gives the nearest (0 or tiny)
  return true;
}

double NumberFormat::parseReal(std::string_view text) const {
  double v = 0;
  if (!tryParseReal(text, v)) throw ConversionError(msg::notValidFloat(std::string(text)));
  return v;
}

bool NumberFormat::tryParseInteger(std::string_view text, std::int32_t& out) const {
  size_t i = 0, n = text.size();
  bool neg = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
  if (i == n) return false;
  long long v = 0;
  for (; i < n; ++i) {
    if (!isDigit(text[i])) return false;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (neg) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  out = static_cast<std::int32_t>(v);
  return true;
}

std::int32_t NumberFormat::parseInteger(std::string_view text) const {
  std::int32_t v = 0;
  if (!tryParseInteger(text, v)) throw ConversionError(msg::notValidInteger(std::string(text)));
  return v;
}

}  // namespace ore
