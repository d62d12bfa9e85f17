#include "analysis/pocket_distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "data/errors.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::analysis {
namespace {

using testing::Lump;
using testing::makeWorkspace;

// Keys a few doubles either side of each tolerance sum, compared with the extended sums directly.
TEST(PocketDistributionTest, ToleranceComparisonsAreThoseOfTheExtendedSums) {
  const std::pair<double, double> pockets[] = {
      {0.1, 0.3}, {1, 2}, {2.675, 2.68}, {1e6, 1e6 + 1}, {123456.789, 223456.789}, {1e-12, 3e-11}};
  for (const auto& [low, high] : pockets) {
    std::vector<Lump> lumps;
    for (long double t :
         {static_cast<long double>(low) + 1e-11L, static_cast<long double>(high) + 1e-12L}) {
      double d = static_cast<double>(t);
      for (int s = 0; s < 4; ++s) d = std::nextafter(d, -HUGE_VAL);
      for (int s = 0; s < 9; ++s, d = std::nextafter(d, HUGE_VAL)) lumps.push_back({1, d, 0, {}});
    }
    Workspace ws = makeWorkspace(lumps);
    const double limits[] = {0, low, high};
    PocketSums s = distributeLumps(ws, ws.Content.data(), 1, 2, ws.LumpCount,
                                   [&](int j) { return limits[j]; });
    double expected = 0;
    for (int i = 1; i <= ws.LumpCount; ++i) {
      long double d = ws.Content[i];
      if (d > static_cast<long double>(low) + 1e-11L &&
          d <= static_cast<long double>(high) + 1e-12L)
        ++expected;
    }
    EXPECT_EQ(s.N[2], expected) << low << " " << high;
    EXPECT_GT(expected, 0);
    EXPECT_LT(expected, ws.LumpCount);
  }
}

TEST(PocketDistributionTest, SumsAreThoseOfAPassPerPocketInLumpOrder) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-1, 11);
  std::vector<Lump> lumps;
  for (int i = 0; i < 3000; ++i) lumps.push_back({u(rng) * 3, u(rng), 0, {u(rng), u(rng)}});
  Workspace ws = makeWorkspace(lumps, 3);
  // Falling and overlapping limits included.
  const double limits[] = {0, 2, 1.5, 6, 9, 4, 10.5};
  const int P = 6;
  PocketSums s = distributeLumps(ws, ws.Content.data(), 3, P, 1, [&](int j) { return limits[j]; });
  for (int j = 1; j <= P; ++j) {
    double N = 0, W = 0, Q[4] = {};
    for (int i = 1; i <= ws.LumpCount; ++i) {
      long double d = ws.Content[i];
      bool in = j == 1 ? d > 0 && d <= limits[1] + 1e-12L
                       : d > limits[j - 1] + 1e-11L && d <= limits[j] + 1e-12L;
      if (!in) continue;
      N += 1;
      W += ws.Mass[i];
      Q[1] += ws.Mass[i] * ws.Content[i];
      Q[2] += ws.Mass[i] * ws.ExtraContents[1][i];
      Q[3] += ws.Mass[i] * ws.ExtraContents[2][i];
    }
    EXPECT_EQ(s.N[j], N) << j;
    EXPECT_EQ(s.W[j], W) << j;  // exact: the same additions in the same order
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(s.Q[j][k], Q[k]) << j << " " << k;
    EXPECT_EQ(s.Y[j], W / 1 * 100);
  }
}

TEST(PocketDistributionTest, LimitsAreConvertedWhenALumpFirstNeedsThem) {
  // Limits 1, 2, 3. Pocket j > 1 needs L_(j-1) at its first lump, and L_j only once a lump lies
  // above L_(j-1); pocket 1 needs L_1 only for a key above 0.
  struct Case {
    std::vector<double> keys;
    std::vector<int> asked;
  };
  const Case cases[] = {
      {{0.5, 1.5, 2.5}, {1, 1, 2, 2, 3}},
      {{0, -1}, {1, 2}},
      {{0.5}, {1, 1, 2}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    std::vector<Lump> lumps;
    for (double k : c.keys) lumps.push_back({1, k, 0, {}});
    Workspace ws = makeWorkspace(lumps);
    std::vector<int> asked;
    distributeLumps(ws, ws.Content.data(), 1, 3, 1, [&](int j) {
      asked.push_back(j);
      return double(j);
    });
    EXPECT_EQ(asked, c.asked) << c.keys.size() << " lumps";
  }
}

// Lumps in no pocket, with limits rising, falling, repeated and overlapping, against a test of
// every lump at every pocket with the same tolerance sums.
TEST(PocketDistributionTest, LumpsInNoPocketAreCountedWithTheirMass) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> tenth(0, 120);
  for (int round = 0; round < 200; ++round) {
    std::vector<Lump> lumps;
    for (int i = 0; i < 40; ++i) lumps.push_back({1.0 + i, tenth(rng) / 10.0, 0, {}});
    Workspace ws = makeWorkspace(lumps);
    const int P = 1 + round % 6;
    std::vector<double> limits(P + 1, 0);
    for (int j = 1; j <= P; ++j) limits[j] = tenth(rng) / 10.0;
    double M = 0;
    for (int i = 1; i <= ws.LumpCount; ++i) M += ws.Mass[i];
    PocketSums s =
        distributeLumps(ws, ws.Content.data(), 1, P, M, [&](int j) { return limits[j]; });
    double n = 0, w = 0;
    for (int i = 1; i <= ws.LumpCount; ++i) {
      const long double d = ws.Content[i];
      bool in = false;
      for (int j = 1; j <= P; ++j) {
        const long double lower = j == 1 ? 0.0L : limits[j - 1] + 1e-11L;
        in = in || (d > lower && d <= limits[j] + 1e-12L);
      }
      if (!in) {
        ++n;
        w += ws.Mass[i];
      }
    }
    EXPECT_EQ(s.outsideN, n) << round;
    EXPECT_EQ(s.outsideW, w) << round;
  }
}

}  // namespace
}  // namespace ore::analysis
