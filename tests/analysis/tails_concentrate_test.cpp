#include "analysis/tails_concentrate.h"

#include <gtest/gtest.h>

#include "analysis/rounding.h"

namespace ore::analysis {
namespace {

const NumberFormat kFmt(',');

// A one-content grid whose pocket block holds the given yields and recoveries, the rest "0".
TextGrid pocketBlock(const std::vector<std::string>& yields,
                     const std::vector<std::string>& recoveries) {
  const int P = static_cast<int>(yields.size());
  TextGrid g(11, P + 1);
  for (int r = 1; r <= P; ++r) {
    for (int c = 1; c <= 10; ++c) g.setCell(c, r, "0");
    g.setCell(2, r, yields[r - 1]);
    g.setCell(4, r, recoveries[r - 1]);
  }
  return g;
}

std::vector<std::string> column(const TextGrid& g, int c) {
  std::vector<std::string> cells;
  for (int r = 1; r < g.rowCount(); ++r) cells.push_back(g.cell(c, r));
  return cells;
}

using Texts = std::vector<std::string>;
const std::array<double, 7> kAverage2{0, 2};

TEST(TailsConcentrateTest, WholeSampleInThePockets) {
  TextGrid g = pocketBlock({"20", "30", "50"}, {"10", "30", "60"});
  writeTailsAndConcentrate(g, 1, 1, 3, kAverage2, kFmt);
  EXPECT_EQ(column(g, 5), (Texts{"20", "50", "100"}));
  EXPECT_EQ(column(g, 7), (Texts{"10", "40", "100"}));
  EXPECT_EQ(column(g, 6), (Texts{"1", "1,6", "2"}));
  EXPECT_EQ(column(g, 8), (Texts{"80", "50", "0"}));
  EXPECT_EQ(column(g, 10), (Texts{"90", "60", "0"}));
  EXPECT_EQ(column(g, 9), (Texts{"2,25", "2,4", "0"}));
}

TEST(TailsConcentrateTest, RowOneIsCopiedAsText) {
  TextGrid g = pocketBlock({"0,50", "1"}, {"7,0", "1"});
  writeTailsAndConcentrate(g, 1, 1, 2, kAverage2, kFmt);
  EXPECT_EQ(g.cell(5, 1), "0,50");
  EXPECT_EQ(g.cell(7, 1), "7,0");
  EXPECT_EQ(g.cell(5, 2), "1,5");
}

TEST(TailsConcentrateTest, EmptyFirstPockets) {
  TextGrid g = pocketBlock({"0", "0", "100"}, {"0", "0", "100"});
  writeTailsAndConcentrate(g, 1, 1, 3, kAverage2, kFmt);
  EXPECT_EQ(column(g, 5), (Texts{"0", "0", "100"}));
  EXPECT_EQ(column(g, 6), (Texts{"0", "0", "2"}));
  EXPECT_EQ(column(g, 8), (Texts{"100", "100", "0"}));
  EXPECT_EQ(column(g, 9), (Texts{"2", "2", "0"}));
}

TEST(TailsConcentrateTest, SumOfTextsShortOf100LeavesATinyConcentrate) {
  TextGrid g = pocketBlock({"33,3333333333333", "33,3333333333333", "33,3333333333333", "0"},
                           {"20", "30", "49,9999999999999", "0"});
  writeTailsAndConcentrate(g, 1, 1, 4, kAverage2, kFmt);
  EXPECT_EQ(g.cell(5, 3), "99,9999999999999");
  const double tiny = kFmt.parseReal(g.cell(8, 3));
  EXPECT_GT(tiny, 0);
  EXPECT_LT(tiny, 1e-12);
  EXPECT_NE(g.cell(9, 3), "0");  // the zero test passed: a content was computed from it
  roundResults(g, 1, 4, 100, kFmt, nullptr);
  EXPECT_EQ(g.cell(8, 3), "0");
}

TEST(TailsConcentrateTest, ProductsAndQuotientsInExtendedPrecision) {
  // In double precision the quotient would be written 8,08951086776418.
  TextGrid g = pocketBlock({"62,6366661564725"}, {"51,1923789218562"});
  writeTailsAndConcentrate(g, 1, 1, 1, {0, 9.89795751369095}, kFmt);
  EXPECT_EQ(g.cell(6, 1), "8,08951086776417");
}

TEST(TailsConcentrateTest, OnePocketWritesNoConcentrate) {
  TextGrid g = pocketBlock({"80"}, {"90"});
  g.setCell(8, 1, "untouched");
  writeTailsAndConcentrate(g, 1, 1, 1, kAverage2, kFmt);
  EXPECT_EQ(g.cell(8, 1), "untouched");
  EXPECT_EQ(g.cell(6, 1), "2,25");
}

TEST(TailsConcentrateTest, MassOutsideThePockets) {
  TextGrid g = pocketBlock({"20", "20", "20", "20"}, {"10", "20", "30", "20"});
  writeTailsAndConcentrate(g, 1, 1, 4, kAverage2, kFmt);
  EXPECT_EQ(g.cell(5, 4), "80");
  EXPECT_EQ(g.cell(8, 3), "40");
  EXPECT_EQ(g.cell(10, 3), "40");
}

}  // namespace
}  // namespace ore::analysis
