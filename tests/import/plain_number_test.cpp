#include "import/plain_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "data/number_format.h"

namespace ore {
namespace {

// Whatever the plain reading takes, the program's rule takes too, as the same double (the sign
// of zero included); what it leaves, the rule decides.
TEST(PlainNumberTest, AgreesWithTheProgramsNumberRuleOnEveryTextItTakes) {
  std::mt19937_64 rnd(7);
  const std::string alphabet = "0123456789012345678901234567890123456789,.,.+-eE x";
  const char* fixed[] = {"5,",
                         ",5",
                         "-0",
                         "-,0",
                         "+7",
                         "0,1",
                         "00012,500",
                         "1,7976931348623157E308",
                         "-",
                         "+",
                         ",",
                         "",
                         "1,2,3",
                         "1e5",
                         " 1",
                         "4,9406564584124654E-324",
                         "99999999999999999999999999999999999999999999999999999999999",
                         "0,000000000000000000000000000000000000000000000000000000001"};
  long taken = 0;
  for (char sep : {',', '.'}) {
    const NumberFormat fmt(sep);
    auto check = [&](const std::string& t) {
      double plain = 0, rule = 0;
      if (!parsePlainReal(t, sep, plain)) return;
      ++taken;
      ASSERT_TRUE(fmt.tryParseReal(t, rule)) << t;
      ASSERT_EQ(std::bit_cast<std::uint64_t>(plain), std::bit_cast<std::uint64_t>(rule)) << t;
    };
    for (const char* t : fixed) check(t);
    for (int i = 0; i < 300000; ++i) {
      std::string t;
      const std::size_t len = rnd() % 24;
      // Mostly number-like texts: digits around one separator, sometimes a sign or a stray.
      for (std::size_t k = 0; k < len; ++k)
        t += rnd() % 8 ? alphabet[rnd() % 20] : alphabet[rnd() % alphabet.size()];
      if (rnd() % 4 == 0) t.insert(t.begin(), "+-"[rnd() % 2]);
      check(t);
    }
  }
  EXPECT_GT(taken, 100000);
}

}  // namespace
}  // namespace ore
