// The best of figures in key order, met upward or downward, and limits compared as written.

#include "study/figure_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace ore::study {
namespace {

// The choice as a walk from the top key down makes it.
std::optional<std::size_t> fromTheTop(const std::vector<long double>& v) {
  BestFromTheTop best;
  std::optional<std::size_t> chosen;
  for (std::size_t i = v.size(); i-- > 0;)
    if (best.offer(v[i])) chosen = i;
  return chosen;
}

TEST(FigureRulesTest, TheFirstOfThoseEqualToTheLargestWhicheverWayTheyAreMet) {
  const long double a = 50.0L / 3, u = a * 1e-12L;  // u: the tolerance at a
  struct Case {
    const char* name;
    std::vector<long double> figures;
    std::size_t best;
  } cases[] = {
      {"one unit in the last place apart", {a, a + a * 1e-18L, 1}, 0},
      {"strictly larger by more than the tolerance", {a, a + 2 * u, a}, 1},
      // Each within the tolerance of its neighbour, the first not of the largest.
      {"a chain", {a, a + 0.9L * u, a + 1.5L * u}, 1},
      {"the largest first", {a + 1.5L * u, a + 0.9L * u, a}, 0},
      {"negative figures", {-a - 0.5L * u, -a, -2 * a}, 0},
      {"zeros", {0, 0, -0.0L}, 0},
  };
  for (const Case& c : cases) {
    const auto up = bestInKeyOrder(
        c.figures.size(), [&](std::size_t i) { return std::optional<long double>(c.figures[i]); });
    EXPECT_EQ(up, c.best) << c.name;
    EXPECT_EQ(fromTheTop(c.figures), c.best) << c.name;
  }
  // Candidates left out take no part, and none at all is no choice.
  const std::vector<long double> v{9, 1, 1};
  EXPECT_EQ(
      bestInKeyOrder(
          3, [&](std::size_t i) { return i ? std::optional<long double>(v[i]) : std::nullopt; }),
      1u);
  EXPECT_EQ(bestInKeyOrder(3, [](std::size_t) { return std::optional<long double>(); }),
            std::nullopt);
}

TEST(FigureRulesTest, ALimitComparesTheFigureAsWritten) {
  // (0,2 + 5,2) / 2 in extended precision lies below the double 2,7 but is written "2,7".
  const long double shown = (0.2L + static_cast<long double>(5.2)) / 2;
  ASSERT_LT(shown, static_cast<long double>(2.7));
  struct Case {
    long double figure;
    double limit;
    bool atLeast, atMost;
  } cases[] = {
      {shown, 2.7, true, true},
      {2.7L - 1e-13L, 2.7, false, true},  // written 2,6999999999999
      {2.7L + 1e-13L, 2.7, true, false},
      {1e-320L, 0, true, false},  // written 1E-320: above 0
      {0, 0, true, true},
      {-0.0L, 0, true, true},
      {1e400L, 1e308, true, false},  // beyond the doubles: written INF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(atLeastAsWritten(c.figure, c.limit), c.atLeast) << static_cast<double>(c.figure);
    EXPECT_EQ(atMostAsWritten(c.figure, c.limit), c.atMost) << static_cast<double>(c.figure);
  }
}

}  // namespace
}  // namespace ore::study
