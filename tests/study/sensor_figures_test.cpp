// The sensor's figures on samples small enough to count by hand.

#include "study/sensor_figures.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace ore::study {
namespace {

struct Sample {
  std::vector<double> p{0}, m{0}, c{0};  // element 0 unused, as in the lump arrays
  Sample(std::initializer_list<std::array<double, 3>> lumps) {
    for (const auto& l : lumps) {
      p.push_back(l[0]);
      m.push_back(l[1]);
      c.push_back(l[2]);
    }
  }
  std::int32_t n() const { return static_cast<std::int32_t>(p.size()) - 1; }
  OreWaste roc(ConcentrateSide side, double grade) const {
    Progress quiet;
    return oreWaste(p.data(), m.data(), c.data(), n(), side, grade, quiet);
  }
};

TEST(SensorFiguresTest, ReceiverOperatingCurves) {
  using S = ConcentrateSide;
  struct Case {
    const char* name;
    Sample s;
    S side;
    double grade;
    bool defined;
    long double aucCount, aucMass, youden, sensitivity, specificity;
  } cases[] = {
      // Ore (content >= 5) exactly the lumps above 2: the cut at 2 accepts all ore, no waste.
      {"perfect sensor",
       {{1, 1, 0}, {2, 3, 1}, {3, 2, 9}, {4, 2, 7}},
       S::Above,
       5,
       true,
       1,
       1,
       2,
       100,
       100},
      // The same lumps read the other way round: the ore has the low readings.
      {"inverse sensor, side above",
       {{4, 1, 0}, {3, 3, 1}, {2, 2, 9}, {1, 2, 7}},
       S::Above,
       5,
       true,
       0,
       0,
       4,
       0,
       100},
      {"inverse sensor, side below",
       {{4, 1, 0}, {3, 3, 1}, {2, 2, 9}, {1, 2, 7}},
       S::Below,
       5,
       true,
       1,
       1,
       3,
       100,
       100},
      // Reading 2 is one ore and one waste lump: the cut below it accepts both, counted half.
      // Points (1,1), cut 1: (1/2, 1), cut 2: (0, 1/2), cut 3: (0, 0).
      {"a tie across ore and waste",
       {{1, 1, 0}, {2, 1, 0}, {2, 1, 6}, {3, 3, 6}},
       S::Above,
       5,
       true,
       0.875L,
       (1.0L / 2 * (1 + 1) + 1.0L / 2 * (1 + 0.75L)) / 2,
       1,
       100,
       50},
      {"all ore", {{1, 1, 6}, {2, 1, 7}}, S::Above, 5, false, 0, 0, 0, 0, 0},
      {"no ore", {{1, 1, 1}, {2, 1, 2}}, S::Above, 5, false, 0, 0, 0, 0, 0},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    const OreWaste r = t.s.roc(t.side, t.grade);
    EXPECT_EQ(r.defined, t.defined);
    EXPECT_EQ(r.aucCount, t.aucCount);
    EXPECT_NEAR(static_cast<double>(r.aucMass), static_cast<double>(t.aucMass), 1e-15);
    EXPECT_EQ(r.youdenCut, t.youden);
    EXPECT_EQ(r.sensitivity, t.sensitivity);
    EXPECT_EQ(r.specificity, t.specificity);
    // The curve ends at the top cut, which accepts nothing.
    const RocPoint top = r.roc.point(r.roc.size() - 1);
    EXPECT_EQ(top.orePassed + top.wastePassed, 0);
  }
}

TEST(SensorFiguresTest, CalibrationLineAndRanks) {
  struct Case {
    const char* name;
    std::vector<double> x, y;
    bool line, r2, spearman;
    long double slope, intercept, r2Value, rho;
  } cases[] = {
      {"an exact line", {0, 1, 2, 3}, {0, 3, 5, 7}, true, true, true, 2, 1, 1, 1},
      // x = 1,2,3,4 and y = 1,3,2,5: Sxx 5, Sxy 5.5, Syy 8.75; ranks of y 1,3,2,4.
      {"scattered",
       {0, 1, 2, 3, 4},
       {0, 1, 3, 2, 5},
       true,
       true,
       true,
       1.1L,
       0,
       5.5L * 5.5L / (5 * 8.75L),
       0.8L},
      // Ties share their average rank: x ranks 1, 2.5, 2.5, 4; y ranks 1, 2, 3, 4.
      {"tied readings",
       {0, 1, 2, 2, 3},
       {0, 1, 2, 3, 4},
       true,
       true,
       true,
       1.5L,
       -0.5L,
       0.9L,
       4.5L / std::sqrt(4.5L * 5)},
      {"one reading only", {0, 2, 2, 2}, {0, 1, 2, 3}, false, false, false, 0, 0, 0, 0},
      {"one content only", {0, 1, 2, 3}, {0, 0.1, 0.1, 0.1}, true, false, false, 0, 0.1L, 0, 0},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    Progress quiet;
    const Calibration c =
        calibrate(t.x.data(), t.y.data(), static_cast<std::int32_t>(t.x.size()) - 1, quiet);
    EXPECT_EQ(c.lineDefined, t.line);
    EXPECT_EQ(c.r2Defined, t.r2);
    EXPECT_EQ(c.spearmanDefined, t.spearman);
    EXPECT_NEAR(static_cast<double>(c.slope), static_cast<double>(t.slope), 1e-15);
    EXPECT_NEAR(static_cast<double>(c.intercept), static_cast<double>(t.intercept), 1e-15);
    EXPECT_NEAR(static_cast<double>(c.r2), static_cast<double>(t.r2Value), 1e-15);
    EXPECT_NEAR(static_cast<double>(c.spearman), static_cast<double>(t.rho), 1e-15);
  }
}

}  // namespace
}  // namespace ore::study
