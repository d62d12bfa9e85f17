#include "analysis/sample_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "tests/analysis/analysis_fixture.h"

namespace ore::analysis {
namespace {

// The ordering as a selection procedure: the smallest remaining key, the first of equal ones,
// taken lumps marked with 1000000; then reversed. Defined for keys below 1000000 only.
std::vector<std::int32_t> selectionOrder(const std::vector<double>& key) {
  const std::int32_t n = static_cast<std::int32_t>(key.size()) - 1;
  std::vector<double> left = key;
  std::vector<std::int32_t> order;
  for (std::int32_t s = 1; s <= n; ++s) {
    double least = 1e11;
    std::int32_t at = 0;
    for (std::int32_t i = 1; i <= n; ++i)
      if (left[i] < least) {
        least = left[i];
        at = i;
      }
    order.push_back(at);
    left[at] = 1000000;
  }
  return {order.rbegin(), order.rend()};
}

std::vector<std::int32_t> ranked(const std::vector<double>& key, size_t slice = kRankSlice) {
  return rankLumps(key.data(), static_cast<std::int32_t>(key.size()) - 1, slice);
}

TEST(SampleIndexTest, RankingMatchesTheSelectionProcedure) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    const int n = std::uniform_int_distribution<int>(0, 120)(rng);
    const int distinct = std::uniform_int_distribution<int>(1, 10)(rng);  // many ties
    std::vector<double> key(n + 1, 0);
    for (int i = 1; i <= n; ++i) {
      int v = std::uniform_int_distribution<int>(-distinct, distinct)(rng);
      key[i] = seed % 3 == 0 ? v * 0.25 : v * 12345.678;
      if (v == 0 && i % 2) key[i] = -0.0;  // -0 and 0 are equal keys
    }
    EXPECT_EQ(ranked(key), selectionOrder(key)) << "seed " << seed;
    EXPECT_EQ(ranked(key, 3), selectionOrder(key)) << "seed " << seed << ", slices of 3";
  }
}

TEST(SampleIndexTest, RankingOfEqualKeysPutsTheLaterLumpFirst) {
  EXPECT_EQ(ranked({0, 2, 1, 2, 1}), (std::vector<std::int32_t>{3, 1, 4, 2}));
  // Keys of a million and more, and far beyond 1e11, rank as every other key.
  EXPECT_EQ(ranked({0, 5e6, 1e12, 3, 1e12}), (std::vector<std::int32_t>{4, 2, 1, 3}));
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(ranked({0, -inf, inf, -1e300}), (std::vector<std::int32_t>{2, 3, 1}));
  // NaN keys must not break the sort; they go to an end.
  std::vector<double> withNan{0, 1, std::nan(""), 2, 3};
  std::vector<std::int32_t> r = ranked(withNan);
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0], 2);
  EXPECT_EQ((std::vector<std::int32_t>{r[1], r[2], r[3]}), (std::vector<std::int32_t>{4, 3, 1}));
}

// The stable ascending order reversed, for samples too large for the selection procedure.
std::vector<std::int32_t> stableReversed(const std::vector<double>& key) {
  std::vector<std::int32_t> lumps;
  for (std::int32_t i = 1; i < static_cast<std::int32_t>(key.size()); ++i) lumps.push_back(i);
  std::stable_sort(lumps.begin(), lumps.end(),
                   [&](std::int32_t a, std::int32_t b) { return key[a] < key[b]; });
  return {lumps.rbegin(), lumps.rend()};
}

TEST(SampleIndexTest, RankingOfLargeSamples) {
  struct Case {
    const char* name;
    double (*key)(std::mt19937_64&, int);
  };
  const Case cases[] = {
      {"contents of three decimals",
       [](std::mt19937_64& r, int) {
         return std::round(std::uniform_real_distribution<double>(0, 10)(r) * 1000) / 1000;
       }},
      {"all equal", [](std::mt19937_64&, int) { return 2.5; }},
      {"few values, signs and zeros",
       [](std::mt19937_64& r, int i) {
         int v = std::uniform_int_distribution<int>(-3, 3)(r);
         return v == 0 ? (i % 2 ? -0.0 : 0.0) : v * 0.5;
       }},
      {"wide exponents",
       [](std::mt19937_64& r, int) {
         return std::ldexp(std::uniform_real_distribution<double>(-1, 1)(r),
                           std::uniform_int_distribution<int>(-300, 300)(r));
       }},
      {"rising", [](std::mt19937_64&, int i) { return i * 0.001; }},
      {"falling", [](std::mt19937_64&, int i) { return -i * 1e7; }},
  };
  for (const auto& c : cases) {
    std::mt19937_64 rng(11);
    std::vector<double> key(60001, 0);
    for (int i = 1; i < static_cast<int>(key.size()); ++i) key[i] = c.key(rng, i);
    const std::vector<std::int32_t> expected = stableReversed(key);
    // Slices smaller than the sample, and than its runs of equal keys, rank it the same.
    for (size_t slice : {kRankSlice, size_t{7000}, size_t{300}})
      EXPECT_EQ(ranked(key, slice), expected) << c.name << ", slices of " << slice;
  }
}

using testing::Lump;
using testing::makeWorkspace;

TEST(SampleIndexTest, AdmittedRangeByBasis) {
  // Terms in ranking order (largest key first) for contents 9, 1, 1, ... with G = 1.
  std::vector<Lump> lumps;
  for (int i = 0; i < 8; ++i) lumps.push_back({1, i == 0 ? 9.0 : 1.0, double(100 - i), {}});
  Workspace ws = makeWorkspace(lumps, 1, "0,01", PocketBasis::ByContent);
  // The first term is (9 - 1) * 1/8 * 2 = 2, every other 0: the prefix sums are all 2.
  EXPECT_EQ(computeSampleIndex(ws, 8, 1).value, 2);
  ws.PocketBasis = PocketBasis::ByParam;
  EXPECT_EQ(computeSampleIndex(ws, 8, 1).value, 2);  // places 4 and 5 hold the sum 2 as well
  lumps.resize(6);
  ws = makeWorkspace(lumps, 1, "0,01", PocketBasis::ByParam);
  EXPECT_EQ(computeSampleIndex(ws, 6, 1).value, kIndexStart);
  ws.PocketBasis = PocketBasis::ByContent;
  EXPECT_EQ(computeSampleIndex(ws, 6, 1).value, 8.0 / 6 * 2);
}

TEST(SampleIndexTest, RankingByParameterIgnoresTheContentOrder) {
  std::vector<Lump> seven;
  for (int i = 0; i < 7; ++i) seven.push_back({1, i < 3 ? 3.0 : 1.0, double(i), {}});
  Workspace ws = makeWorkspace(seven, 1, "0,01", PocketBasis::ByParam);
  // From the largest parameter the contents run 1, 1, 1, 1, 3, 3, 3; only place 4 is admitted.
  const double G = 15.0 / 7;
  const double t = (1 / G - 1) * (1.0 / 7) * 2;
  EXPECT_EQ(computeSampleIndex(ws, 7, G).value, t + t + t + t);
  ws.PocketBasis = PocketBasis::ByContent;  // by content the rich lumps come first
  const double rich = (3 / G - 1) * (1.0 / 7) * 2;
  EXPECT_EQ(computeSampleIndex(ws, 7, G).value, rich + rich + rich);
}

TEST(SampleIndexTest, UndefinedWithoutAnAverage) {
  Workspace ws = makeWorkspace({{1, 1, 0, {}}});
  EXPECT_FALSE(computeSampleIndex(ws, 1, 0).defined);
  Workspace empty = makeWorkspace({});
  EXPECT_TRUE(computeSampleIndex(empty, 0, 0).defined);
  EXPECT_EQ(computeSampleIndex(empty, 0, 0).value, kIndexStart);
  Workspace huge = makeWorkspace({{1, 1e308, 0, {}}, {1, 1e308, 0, {}}});
  EXPECT_FALSE(computeSampleIndex(huge, 2, 1e-300).defined);
}

}  // namespace
}  // namespace ore::analysis
