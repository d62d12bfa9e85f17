#include "analysis/rounding.h"

#include <gtest/gtest.h>

#include <cfenv>

#include "data/errors.h"

namespace ore::analysis {
namespace {

const NumberFormat kFmt(',');

TEST(RoundingTest, ScaleFactorsByExactText) {
  const std::pair<const char*, long double> known[] = {
      {"1", 1},          {"0,1", 10},         {"0,01", 100},         {"0,001", 1000},
      {"0,0001", 10000}, {"0,00001", 100000}, {"0,000001", 1000000},
  };
  for (const auto& [text, f] : known) {
    EXPECT_TRUE(isKnownPrecision(text)) << text;
    EXPECT_EQ(scaleFactor(text), f) << text;
  }
  for (const char* text :
       {"", "0.01", " 0,01", "0,01 ", "0,05", "0,010", "1,0", "10", "0,0000001"}) {
    EXPECT_FALSE(isKnownPrecision(text)) << text;
    EXPECT_THROW(scaleFactor(text), Error) << text;
  }
  EXPECT_EQ(unknownPrecisionMessage("0,05"),
            "Точность составляемой таблицы «0,05» не поддерживается. Допустимые значения: 1; 0,1; "
            "0,01; 0,001; 0,0001; 0,00001; 0,000001");
}

TEST(RoundingTest, HalvesGoToTheEvenInteger) {
  const std::pair<long double, long double> cases[] = {
      {2.5L, 2},
      {3.5L, 4},
      {-2.5L, -2},
      {-3.5L, -4},
      {0.5L, 0},
      {1.5L, 2},
      {2.4999999999999999L, 2},
      {2.5000000000000001L, 3},
      {-0.4L, 0},
      {7, 7},
      {1e20L, 1e20L},
  };
  for (const auto& [v, r] : cases) EXPECT_EQ(roundHalfEven(v), r) << static_cast<double>(v);
  // Independent of the rounding mode the FPU happens to be in.
  std::fesetround(FE_UPWARD);
  EXPECT_EQ(roundHalfEven(2.5L), 2);
  EXPECT_EQ(roundHalfEven(2.4L), 2);
  std::fesetround(FE_TONEAREST);
}

struct CellCase {
  const char* precision;
  const char* value;
  const char* rounded;
  const char* limit;
  const char* roundedLimit;
};

// A one-pocket, one-content grid whose yield and limit are the values under test.
TEST(RoundingTest, PassRoundsValuesAndLimits) {
  const CellCase cases[] = {
      {"1", "2,5", "2", "2,25", "2,2"},
      {"1", "3,5", "4", "2,75", "2,8"},
      {"0,01", "33,3333333333333", "33,33", "0,12345", "0,123"},
      {"0,01", "66,6666666666667", "66,67", "0,0625", "0,062"},
      {"0,001", "0,5", "0,5", "0,5", "0,5"},
      {"0,01", "1,00044417195022E-13", "0", "1", "1"},  // a tiny concentrate yield
      {"0,01", "-0,001", "0", "-0,0001", "0"},          // negative zero is written 0
      {"0,000001", "0,1234565", "0,123456", "0,12345675", "0,1234568"},
      {"0,1", "1E16", "1E16", "1,25", "1,25"},
      {"0,01", "-10000000", "-10000000", " 3 ", "3"},
      {"0,01", "1,005", "1", "1,2345", "1,234"},  // the binary values lie just below the halves
      // The products in extended precision: in double 0,15 * 10 would be 1,5 exactly.
      {"0,1", "0,15", "0,1", "0,45", "0,45"},
      {"0,1", "0,45", "0,5", "1,05", "1,05"},
      {"1", "7", "7", "0,15", "0,1"},
      {"1", "7", "7", "0,45", "0,5"},
  };
  for (const auto& c : cases) {
    TextGrid g(11, 2);
    for (int col = 1; col <= 10; ++col) g.setCell(col, 1, "0");
    g.setCell(1, 1, c.limit);
    g.setCell(2, 1, c.value);
    roundResults(g, 1, 1, scaleFactor(c.precision), kFmt, nullptr);
    EXPECT_EQ(g.cell(2, 1), c.rounded) << c.precision << " " << c.value;
    EXPECT_EQ(g.cell(1, 1), c.roundedLimit) << c.precision << " " << c.limit;
  }
}

TEST(RoundingTest, EmptyCellsBecomeZeroAndTheIndexIsRounded) {
  TextGrid g(11, 3);
  g.setCell(0, 1, "keep");
  g.setCell(1, 1, "1");
  g.setCell(1, 2, "2");
  double index = 0.125;
  roundResults(g, 1, 2, 100, kFmt, &index);
  EXPECT_EQ(g.cell(0, 1), "keep");
  EXPECT_EQ(g.cell(0, 2), "");
  for (int c = 2; c <= 10; ++c) EXPECT_EQ(g.cell(c, 2), "0");
  EXPECT_EQ(index, 0.12);
  double start = -10000000;
  for (const char* p : {"1", "0,1", "0,01", "0,001", "0,0001", "0,00001", "0,000001"}) {
    double i = start;
    roundResults(g, 1, 2, scaleFactor(p), kFmt, &i);
    EXPECT_EQ(i, -10000000) << p;
  }
}

TEST(RoundingTest, BadLimitStopsThePassWhereItIs) {
  TextGrid g(11, 4);
  for (int r = 1; r <= 3; ++r)
    for (int c = 2; c <= 10; ++c) g.setCell(c, r, "1,2345");
  g.setCell(1, 1, "1,2346");
  g.setCell(1, 2, "x");
  g.setCell(1, 3, "1,2346");
  double index = 0.125;
  EXPECT_THROW(roundResults(g, 1, 3, 100, kFmt, &index), ConversionError);
  EXPECT_EQ(g.cell(1, 1), "1,235");  // visited before: rounded
  EXPECT_EQ(g.cell(1, 2), "x");
  EXPECT_EQ(g.cell(1, 3), "1,2346");
  EXPECT_EQ(g.cell(2, 1), "1,2345");
  EXPECT_EQ(index, 0.125);
}

}  // namespace
}  // namespace ore::analysis
