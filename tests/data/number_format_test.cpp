#include "data/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "data/errors.h"

namespace ore {
namespace {

struct WriteCase {
  long double value;
  const char* text;
};

TEST(NumberFormatTest, WritesUnderTheRussianLocale) {
  NumberFormat f(',');
  const WriteCase cases[] = {
      {12.5L, "12,5"},
      {3, "3"},
      {-3, "-3"},
      {0.000012L, "1,2E-5"},
      {0.00005L, "5E-5"},
      {0.0001L, "0,0001"},
      {0.00012L, "0,00012"},
      {123456789012345.0L, "123456789012345"},
      {1e15L, "1E15"},
      {1e16L, "1E16"},
      {2.5e20L, "2,5E20"},
      {1e-6L, "1E-6"},
      {-0.0L, "0"},
      {0, "0"},
      {120, "120"},
      {1.0L / 3.0L, "0,333333333333333"},
      {2.0L / 3.0L, "0,666666666666667"},
      {33.33333333333333L, "33,3333333333333"},
      {99999.99999999999999L, "100000"},  // rounding to 15 digits carries into a new digit
      {0.1L + 0.2L, "0,3"},
      {-1.5e-7L, "-1,5E-7"},
      {999999999999999.4L, "999999999999999"},
      {9999999999999999.0L, "1E16"},
      {-10000000, "-10000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(f.format(c.value), c.text) << static_cast<double>(c.value);
}

TEST(NumberFormatTest, WritesDoublesAndSeparator) {
  EXPECT_EQ(NumberFormat(',').format(0.30000000000000004), "0,3");
  EXPECT_EQ(NumberFormat('.').format(12.5), "12.5");
  EXPECT_EQ(NumberFormat(',').format(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(NumberFormat(',').format(std::nan("")), "NAN");
}

TEST(NumberFormatTest, ExtendedValueIsWrittenFromItsOwnDigits) {
  // 0.1L differs from the double 0.1 beyond the 17th digit only; both show 0,1, but a value
  // whose 16th digit decides the rounding must be rounded from the extended digits.
  long double v = 0.1234567890123455L;  // a double would round this differently
  EXPECT_EQ(NumberFormat(',').format(v), "0,123456789012346");
}

struct ParseCase {
  const char* text;
  bool ok;
  double value;
};

TEST(NumberFormatTest, ParsesReals) {
  NumberFormat f(',');
  const ParseCase cases[] = {
      {" 12,5 ", true, 12.5},   {"12,5", true, 12.5},   {"-3", true, -3},      {"+3", true, 3},
      {"1,5E-3", true, 0.0015}, {"1e3", true, 1000},    {"2,5e+2", true, 250}, {",5", true, 0.5},
      {"5,", true, 5},          {" 7,25 ", true, 7.25}, {"0,1", true, 0.1},    {"12.5", false, 0},
      {"", false, 0},           {" ", false, 0},        {",", false, 0},       {"1,2,3", false, 0},
      {"1E", false, 0},         {"1x", false, 0},       {"- 1", false, 0},     {"1e999", false, 0},
      {"abc", false, 0},        {"1 000", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    bool ok = f.tryParseReal(c.text, v);
    EXPECT_EQ(ok, c.ok) << "'" << c.text << "'";
    if (ok && c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
  }
}

TEST(NumberFormatTest, ParseFailuresCarryTheText) {
  NumberFormat f(',');
  try {
    f.parseReal("12.5");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'12.5' is not a valid floating point value");
  }
  try {
    f.parseInteger("2,5");
    FAIL();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2,5' is not a valid integer value");
  }
  EXPECT_THROW(f.parseInteger(""), ConversionError);
}

TEST(NumberFormatTest, ParsesIntegers) {
  NumberFormat f(',');
  const struct {
    const char* text;
    bool ok;
    int value;
  } cases[] = {
      {"5", true, 5},
      {"-12", true, -12},
      {"+7", true, 7},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"1e3", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t v = -1;
    bool ok = f.tryParseInteger(c.text, v);
    EXPECT_EQ(ok, c.ok) << "'" << c.text << "'";
    if (ok && c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}

TEST(NumberFormatTest, WriteThenReadIsExactForFifteenDigitTexts) {
  NumberFormat f(',');
  // The largest double is written rounded up; its text must still read back as that double.
  const double big = std::numeric_limits<double>::max();
  EXPECT_EQ(f.format(big), "1,79769313486232E308");
  EXPECT_EQ(f.parseReal(f.format(big)), big);
  EXPECT_EQ(f.parseReal(f.format(-big)), -big);
  EXPECT_THROW(f.parseReal("1,79769313486233E308"), ConversionError);
  for (double v : {0.5, 1.25, 33.33, 1e-5, 123456.789, -42.0, 7e20}) {
    EXPECT_EQ(f.parseReal(f.format(v)), v);
  }
}

}  // namespace
}  // namespace ore

namespace ore {
namespace {

// The writer must give the digits printf gives for the exact binary value, for doubles and for
// extended values alike.
TEST(NumberFormatTest, AgreesWithPrintfDigitsOverRandomValues) {
  NumberFormat f('.');
  unsigned long long state = 88172645463325252ULL;
  auto next = [&] {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  };
  for (int i = 0; i < 20000; ++i) {
    double d;
    unsigned long long bits = next();
    std::memcpy(&d, &bits, sizeof d);
    if (!std::isfinite(d) || d == 0) continue;
    long double ld =
        static_cast<long double>(d) * (1.0L + static_cast<long double>(next() % 1000) / 1e7L);
    for (long double v : {static_cast<long double>(d), ld}) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.14Le", v);
      // Rebuild the expected mantissa digits and exponent from printf's text.
      std::string s(buf);
      std::string digits = s.substr(s[0] == '-' ? 1 : 0, 1);
      size_t dot = s.find('.'), e = s.find('e');
      digits += s.substr(dot + 1, e - dot - 1);
      while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
      std::string got = v == static_cast<long double>(d) ? f.format(d) : f.format(v);
      std::string gotDigits;
      for (char c : got.substr(0, got.find('E')))
        if (c >= '0' && c <= '9') gotDigits += c;
      gotDigits.erase(0, gotDigits.find_first_not_of('0'));
      while (gotDigits.size() > 1 && gotDigits.back() == '0') gotDigits.pop_back();
      ASSERT_EQ(gotDigits, digits) << buf << " -> " << got;
    }
  }
}

// Extended values next to the middle between two 15-digit numbers, where the nearest double may
// round the other way: written as printf writes the extended value.
TEST(NumberFormatTest, ExtendedValuesNearARoundingMiddleKeepTheirOwnDigits) {
  NumberFormat f('.');
  for (long long n = 100000000000000LL; n < 100000000000000LL + 3000; n += 7)
    for (int scale : {-20, -3, 0, 5}) {
      long double v = (static_cast<long double>(n) + 0.5L) * powl(10.0L, scale - 14);
      for (int step = -3; step <= 3; ++step) {
        long double w = v;
        for (int k = 0; k < std::abs(step); ++k) w = nextafterl(w, step < 0 ? 0.0L : 1e300L);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14Le", w);
        ASSERT_EQ(f.parseReal(f.format(w)), std::strtod(buf, nullptr)) << buf;
      }
    }
}

}  // namespace
}  // namespace ore
