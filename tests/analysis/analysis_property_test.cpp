// Properties of whole runs over random samples (fixed seeds), read back from the rounded grid.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "analysis/fraction_analysis.h"
#include "data/results_layout.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::analysis {
namespace {

using testing::Lump;
using testing::makeWorkspace;
using testing::pocketTable;
using testing::RecordingView;

const NumberFormat kFmt(',');

struct Sample {
  Workspace ws;
  std::vector<std::string> limits;
  std::vector<double> limitValues;
};

// Keys on a grid of thousandths, limits half-way between: no key sits within a tolerance of a
// limit, so a lump is outside every pocket exactly when its key is <= 0 or above the last limit.
Sample randomSample(unsigned seed, bool allInPockets) {
  std::mt19937 rng(seed);
  auto uniform = [&](double a, double b) {
    return std::uniform_real_distribution<double>(a, b)(rng);
  };
  const int n = std::uniform_int_distribution<int>(1, 400)(rng);
  const int C = std::uniform_int_distribution<int>(1, 4)(rng);
  const int P = std::uniform_int_distribution<int>(1, 9)(rng);
  std::vector<Lump> lumps;
  for (int i = 0; i < n; ++i) {
    Lump l;
    l.mass = std::round(uniform(0.01, 50) * 1000) / 1000;
    l.content = std::round(uniform(allInPockets ? 0.001 : -2, 12) * 1000) / 1000;
    if (allInPockets) l.content = std::max(l.content, 0.001);
    if (!allInPockets && i % 7 == 0) l.content = 0;
    for (int k = 1; k < C; ++k) l.extra.push_back(std::round(uniform(0, 60) * 100) / 100);
    lumps.push_back(l);
  }
  Sample s{makeWorkspace(lumps, C, "0,000001", PocketBasis::ByContent, DistributionKind::Content),
           {},
           {}};
  std::vector<int> cuts;
  for (int j = 0; j < P; ++j) cuts.push_back(std::uniform_int_distribution<int>(1, 11000)(rng));
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  if (allInPockets) cuts.back() = 12000;
  for (int cut : cuts) {
    double v = cut / 1000.0 + 0.0005;
    s.limitValues.push_back(v);
    s.limits.push_back(kFmt.format(v));
  }
  s.ws.PocketCount = static_cast<int>(s.limits.size());
  return s;
}

double x(const TextGrid& g, int c, int r) {
  return kFmt.parseReal(g.cell(c, r));
}

TEST(AnalysisPropertyTest, YieldsTailsAndConcentrateAddUp) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    Sample s = randomSample(seed, false);
    const Workspace& ws = s.ws;
    const int C = ws.ContentCount, P = ws.PocketCount;
    TextGrid g;
    RecordingView view;
    runFractionAnalysis(s.ws, pocketTable(s.limits), g, kFmt, view);
    const double step = 1e-6;  // the table precision

    double M = 0, outside = 0;
    for (int i = 1; i <= ws.LumpCount; ++i) {
      M += ws.Mass[i];
      if (ws.Content[i] <= 0 || ws.Content[i] > s.limitValues.back()) outside += ws.Mass[i];
    }
    double yields = 0;
    const ResultsLayout L(C);
    for (int j = 1; j <= P; ++j) yields += x(g, L.pocketYield(), j);
    EXPECT_NEAR(yields + outside / M * 100, 100, P * step / 2 + 1e-9) << "seed " << seed;
    EXPECT_NEAR(x(g, L.tailsYield(), P), 100 - outside / M * 100, step + 1e-9) << "seed " << seed;
    for (int r = 1; r < P; ++r) {
      EXPECT_NEAR(x(g, L.tailsYield(), r) + x(g, L.concentrateYield(), r), 100, step + 1e-9)
          << "seed " << seed;
      for (int k = 1; k <= C; ++k)
        EXPECT_NEAR(x(g, L.tailsRecovery(k), r) + x(g, L.concentrateRecovery(k), r), 100,
                    step + 1e-9)
            << "seed " << seed << " k " << k;
    }
    for (int c = L.concentrateYield(); c <= L.lastColumn(); ++c)
      EXPECT_EQ(g.cell(c, P), "0") << "seed " << seed;
    for (int r = 1; r <= P; ++r)
      for (int c = 0; c <= L.lastColumn(); ++c) {
        double v = 0;
        EXPECT_TRUE(kFmt.tryParseReal(g.cell(c, r), v)) << g.cell(c, r);
      }
  }
}

TEST(AnalysisPropertyTest, IndexIsTheMeanRelativeDeviationWhenEveryLumpIsInAPocket) {
  for (unsigned seed = 100; seed <= 160; ++seed) {
    Sample s = randomSample(seed, true);
    const Workspace& ws = s.ws;
    TextGrid g;
    RecordingView view;
    AnalysisOutcome out = runFractionAnalysis(s.ws, pocketTable(s.limits), g, kFmt, view);
    double M = 0, T = 0;
    for (int i = 1; i <= ws.LumpCount; ++i) {
      M += ws.Mass[i];
      T += ws.Mass[i] * ws.Content[i];
    }
    const double G = T / M;
    double expected = 0;
    for (int i = 1; i <= ws.LumpCount; ++i)
      expected += ws.Mass[i] / M * std::fabs(ws.Content[i] - G) / G;
    ASSERT_TRUE(out.indexDefined);
    EXPECT_NEAR(out.sampleIndex, expected, 0.5e-6 + 1e-9) << "seed " << seed;
    EXPECT_EQ(ws.SampleIndex, out.sampleIndex);
  }
}

}  // namespace
}  // namespace ore::analysis
