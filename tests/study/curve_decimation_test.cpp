// Thinning a curve to a screen's columns keeps, per column, its first, lowest, highest and last
// point, and never more than it has.

#include "study/curve_decimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ore::study {
namespace {

using Indices = std::vector<std::size_t>;

TEST(CurveDecimationTest, KeepsTheEndsAndExtremesOfEachColumn) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    std::vector<double> x, y;
    double x0, x1;
    int columns;
    Indices keep;
  } cases[] = {
      {"one column: first, low, high, last",
       {0, 1, 2, 3, 4, 5},
       {5, 1, 9, 4, 2, 3},
       0,
       6,
       1,
       {0, 1, 2, 5}},
      {"two columns", {0, 1, 2, 3, 4, 5}, {5, 1, 9, 4, 2, 3}, 0, 6, 2, {0, 1, 2, 3, 4, 5}},
      {"outside the range: the edge columns",
       {-5, -4, 10, 11, 12},
       {1, 2, 3, 1, 2},
       0,
       1,
       2,
       {0, 1, 2, 3, 4}},
      {"a gap breaks the run",
       {0, 0.1, 0.2, 0.3, 0.4},
       {1, 2, nan, 3, 4},
       0,
       1,
       1,
       {0, 1, 2, 3, 4}},
      {"fewer points than columns", {0, 1}, {1, 2}, 0, 1, 1000, {0, 1}},
      {"an empty range", {2, 2, 2}, {1, 3, 2}, 2, 2, 10, {0, 1, 2}},
      {"nothing", {}, {}, 0, 1, 10, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(decimateCurve(c.x.data(), c.y.data(), c.x.size(), c.x0, c.x1, c.columns), c.keep)
        << c.name;

  // A million points over 800 columns: at most four a column.
  std::vector<double> x(1000000), y(1000000);
  for (std::size_t i = 0; i < x.size(); ++i) {
    x[i] = static_cast<double>(i);
    y[i] = std::sin(i * 0.001);
  }
  EXPECT_LE(decimateCurve(x.data(), y.data(), x.size(), 0, 1e6, 800).size(), 3200u);
}

}  // namespace
}  // namespace ore::study
