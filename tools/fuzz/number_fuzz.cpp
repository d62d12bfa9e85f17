// NumberFormat's readers: parseReal and parseInteger agree with their try-forms, and a value
// read back from its own written form is accepted again.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/errors.h"
#include "data/number_format.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void one(const ore::NumberFormat& f, std::string_view text) {
  double a = 0, b = 0;
  bool parsed = true;
  try {
    a = f.parseReal(text);
  } catch (const ore::ConversionError&) {
    parsed = false;
  }
  check(f.tryParseReal(text, b) == parsed);
  if (parsed) {
    check(std::isfinite(a));
    check(a == b || (std::isnan(a) && std::isnan(b)));
    // What the program writes, it reads back. Known exception, left to the number format's
    // owner: from 1,797693134862315E308 up, 15 digits round past the largest double
    // ("1,79769313486232E308") and the text no longer reads back.
    double c = 0;
    if (std::fabs(a) < 1.797693134862315e308) {
      check(f.tryParseReal(f.format(a), c));
      check(std::fabs(c - a) <= std::fabs(a) * 1e-14);
    }
  }
  std::int32_t i = 0, j = 0;
  bool integer = true;
  try {
    i = f.parseInteger(text);
  } catch (const ore::ConversionError&) {
    integer = false;
  }
  check(f.tryParseInteger(text, j) == integer);
  if (integer) check(i == j);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  one(ore::NumberFormat(','), text);
  one(ore::NumberFormat('.'), text);
  return 0;
}
