#pragma once
// The general number format: how every real is written into grids, labels and report cells, and
// how number texts are read back. The decimal separator is passed in; there is no global state.

#include <cstdint>
#include <string>
#include <string_view>

namespace ore {

class NumberFormat {
 public:
  explicit NumberFormat(char decimalSeparator = ',') : sep_(decimalSeparator) {}

  char decimalSeparator() const { return sep_; }

  // At most 15 significant digits, rounded; no trailing zeros; fixed notation for magnitudes from
  // 0.0001 with at most 15 integer digits, otherwise mantissa + "E" + exponent (1E-6, 2,5E20).
  // Negative zero is written "0"; non-finite values are written "NAN", "INF", "-INF".
  std::string format(double v) const;
  // The same rules applied to the extended value itself (not to a double rounded from it).
  std::string format(long double v) const;
  std::string format(int v) const { return format(static_cast<double>(v)); }
  std::string format(std::int64_t v) const { return format(static_cast<double>(v)); }

  // Optional blanks, optional sign, digits with at most one decimal separator, optional exponent
  // (E or e, optional sign, digits), optional blanks. The result is the nearest double.
  // Throws ConversionError "'%s' is not a valid floating point value" otherwise (empty included,
  // and for values beyond the double range).
  double parseReal(std::string_view text) const;
  // Like parseReal but reports failure by returning false instead of throwing.
  bool tryParseReal(std::string_view text, double& out) const;

  // An optional sign and decimal digits, in the 32-bit range. Throws ConversionError
  // "'%s' is not a valid integer value" otherwise (empty included).
  std::int32_t parseInteger(std::string_view text) const;
  bool tryParseInteger(std::string_view text, std::int32_t& out) const;

 private:
  char sep_;
};

// A number typed into a field of the program's own, read as parseReal reads it; a text that is not
// one is refused by ConversionError naming the field (msg::fieldNotNumber).
double parseRealField(const NumberFormat& fmt, std::string_view field, std::string_view text);

}  // namespace ore
