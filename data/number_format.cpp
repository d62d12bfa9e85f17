#include "data/number_format.h"

#include <locale.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

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
std::string fieldNotNumber(const std::string& field, const std::string& text) {
  return field + ": «" + text + "» — не число";
}
}  // namespace msg

namespace {

// The "C" locale for strtold_l, created once; it is immutable, so sharing it is safe.
locale_t cLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlank(char c) {
  return c == ' ';
}

}  // namespace

namespace {

// 15 significant digits of v (correctly rounded from its exact binary value) as a digit string
// without trailing zeros, and the decimal exponent of the first digit. v is finite and not 0.
template <class T>
void fifteenDigits(T v, char* digits, int& count, int& exp10, bool& neg) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
  const char* p = buf;
  neg = *p == '-';
  if (neg) ++p;
  count = 0;
  digits[count++] = *p++;
  if (*p == '.') ++p;
  while (*p != 'e') digits[count++] = *p++;
  ++p;  // 'e'
  bool expNeg = *p == '-';
  ++p;  // sign
  int e = 0;
  for (; p < res.ptr; ++p) e = e * 10 + (*p - '0');
  exp10 = expNeg ? -e : e;
  while (count > 1 && digits[count - 1] == '0') --count;
}

template <class T>
std::string formatValue(T v, char sep) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  if (v == 0) return "0";
  char digits[32];
  int count = 0, exp10 = 0;
  bool neg = false;
  fifteenDigits(v, digits, count, exp10, neg);

  char out[48];
  int n = 0;
  if (neg) out[n++] = '-';
  if (exp10 >= -4 && exp10 < 15) {
    if (exp10 < 0) {
      out[n++] = '0';
      out[n++] = sep;
      for (int i = 0; i < -exp10 - 1; ++i) out[n++] = '0';
      for (int i = 0; i < count; ++i) out[n++] = digits[i];
    } else {
      int intDigits = exp10 + 1;
      for (int i = 0; i < intDigits; ++i) out[n++] = i < count ? digits[i] : '0';
      if (count > intDigits) {
        out[n++] = sep;
        for (int i = intDigits; i < count; ++i) out[n++] = digits[i];
      }
    }
  } else {
    out[n++] = digits[0];
    if (count > 1) {
      out[n++] = sep;
      for (int i = 1; i < count; ++i) out[n++] = digits[i];
    }
    out[n++] = 'E';
    auto r = std::to_chars(out + n, out + sizeof out, exp10);
    n = static_cast<int>(r.ptr - out);
  }
  return std::string(out, static_cast<size_t>(n));
}

}  // namespace

// A double is formatted from its own digits (to_chars is exact and much faster than printf);
// widening it to long double first would give the same text.
std::string NumberFormat::format(double v) const {
  return formatValue(v, sep_);
}

// The digits of a long double are slow to find; those of the double nearest it are quick, and the
// same unless v lies near the middle between two 15-digit numbers: the 16th and 17th digits of
// the double tell how near, against the bound on the gap between v and the double.
std::string NumberFormat::format(long double v) const {
  const double d = static_cast<double>(v);
  if (std::isfinite(d) && std::fabs(d) > 1e-300 && std::fabs(d) < 1e300) {
    const long double gap = v - static_cast<long double>(d);  // exact: the two are so close
    if (gap == 0) return formatValue(d, sep_);
    char buf[40];
    std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific, 16);
    const char* p = buf + (buf[0] == '-');  // d.dddddddddddddddde...: 17 digits
    const long double tail = ((p[16] - '0') * 10 + (p[17] - '0')) / 100.0L;
    // The gap in units of the 15th digit (each at least |v| / 1e15), and the 17 digits' rounding.
    const long double slack = fabsl(gap) / fabsl(v) * 1e15L + 0.006L;
    if (fabsl(tail - 0.5L) > slack) return formatValue(d, sep_);
  }
  return formatValue(v, sep_);
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
  if (errno == ERANGE && std::isinf(v)) {
    // The largest doubles are written rounded up to 15 digits (1,79769313486232E308); such a
    // text still means that double. Anything further out is beyond the range.
    long double wide = strtold_l(c.c_str(), &end, cLocale());
    if (fabsl(wide) > 1.79769313486232e308L) return false;
    v = wide < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  out = v;  // underflow gives the nearest (0 or tiny)
  return true;
}

double NumberFormat::parseReal(std::string_view text) const {
  double v = 0;
  if (!tryParseReal(text, v)) throw ConversionError(msg::notValidFloat(std::string(text)));
  return v;
}

double parseRealField(const NumberFormat& fmt, std::string_view field, std::string_view text) {
  double v = 0;
  if (!fmt.tryParseReal(text, v))
    throw ConversionError(msg::fieldNotNumber(std::string(field), std::string(text)));
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
