// The sortability curve and its best cut: hand-computed samples, agreement with the pocket
// analysis at the pocket limits, a sample whose optimum is known, and the bootstrap's independence
// of the thread count.

#include "study/sortability_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <random>

#include "analysis/fraction_analysis.h"
#include "data/errors.h"
#include "data/results_layout.h"
#include "platform/workbook/workbook_reader.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/curve_table.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::study {
namespace {

using analysis::runFractionAnalysis;
using analysis::testing::Lump;
using analysis::testing::makeWorkspace;
using analysis::testing::pocketTable;
using analysis::testing::RecordingView;

const NumberFormat kFmt(',');

// Never asked to stop: the tests' progress.
Progress& quiet() {
  static Progress p;
  return p;
}

SortabilityCurve curve(const Workspace& ws) {
  return SortabilityCurve(ws, quiet());
}

// A cut as texts: key; tails yield, contents, recoveries; concentrate yield, contents, recoveries.
std::vector<std::string> row(const SortabilityCurve& cv, std::size_t cut) {
  const CutFigures f = cv.figures(cut);
  std::vector<std::string> r{kFmt.format(f.key), kFmt.format(f.tailsYield)};
  for (int k = 1; k <= cv.contentCount(); ++k) r.push_back(kFmt.format(f.tailsContent[k]));
  for (int k = 1; k <= cv.contentCount(); ++k) r.push_back(kFmt.format(f.tailsRecovery[k]));
  r.push_back(kFmt.format(f.concentrateYield));
  for (int k = 1; k <= cv.contentCount(); ++k) r.push_back(kFmt.format(f.concentrateContent[k]));
  for (int k = 1; k <= cv.contentCount(); ++k) r.push_back(kFmt.format(f.concentrateRecovery[k]));
  return r;
}

using Rows = std::vector<std::vector<std::string>>;

TEST(SortabilityTest, HandComputedCurvesAndBestCuts) {
  // Keyed on the parameter (DistributionKind::Param); content 2 is 0 throughout, so T_2 = 0.
  auto lump = [](double key, double mass, double c1) { return Lump{mass, c1, key, {0}}; };
  struct Case {
    const char* name;
    std::vector<Lump> lumps;
    Rows rows;
    std::string best;
  } cases[] = {
      // Keys -1, 0 (twice, once written -0) and 2 (twice): three cuts. M = 10, T_1 = 16.
      {"ties, a key of 0 and below",
       {lump(2, 1, 4), lump(-1, 2, 1), lump(0, 1, 2), lump(2, 4, 0.5), lump(-0.0, 2, 3)},
       {{"-1", "20", "1", "0", "12,5", "0", "80", "1,75", "0", "87,5", "0"},
        {"0", "50", "2", "0", "62,5", "0", "50", "1,2", "0", "37,5", "0"},
        {"2", "100", "1,6", "0", "100", "0", "0", "0", "0", "0", "0"}},
       "-1"},
      {"one lump",
       {lump(5, 2, 3)},
       {{"5", "100", "3", "0", "100", "0", "0", "0", "0", "0", "0"}},
       "5"},
      {"all keys equal",
       {lump(1, 1, 2), lump(1, 3, 6)},
       {{"1", "100", "5", "0", "100", "0", "0", "0", "0", "0", "0"}},
       "1"},
      // E is 12,5 at keys 1 and 3 (0 at 2 and 4): the smaller key wins.
      {"a tie in efficiency",
       {lump(1, 1, 1), lump(2, 1, 3), lump(3, 1, 1), lump(4, 1, 3)},
       {{"1", "25", "1", "0", "12,5", "0", "75", "2,33333333333333", "0", "87,5", "0"},
        {"2", "50", "2", "0", "50", "0", "50", "2", "0", "50", "0"},
        {"3", "75", "1,66666666666667", "0", "62,5", "0", "25", "3", "0", "37,5", "0"},
        {"4", "100", "2", "0", "100", "0", "0", "0", "0", "0", "0"}},
       "1"},
  };
  for (const Case& c : cases) {
    const Workspace ws =
        makeWorkspace(c.lumps, 2, "0,01", PocketBasis::ByContent, DistributionKind::Param);
    const SortabilityCurve cv = curve(ws);
    Rows rows;
    for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) rows.push_back(row(cv, cut));
    EXPECT_EQ(rows, c.rows) << c.name;
    EXPECT_EQ(kFmt.format(bestCut(cv, std::nullopt, kFmt).figures.key), c.best) << c.name;
  }

  // The minimum concentrate content leaves out the cuts below it, or all of them.
  const Workspace ws = makeWorkspace({lump(1, 1, 1), lump(2, 1, 3), lump(3, 1, 1), lump(4, 1, 3)},
                                     2, "0,01", PocketBasis::ByContent, DistributionKind::Param);
  const SortabilityCurve cv = curve(ws);
  EXPECT_EQ(bestCut(cv, 2.5, kFmt).figures.key, 3);
  EXPECT_EQ(bestCut(cv, 2, kFmt).figures.key, 1);
  try {
    bestCut(cv, 3.5, kFmt);
    ADD_FAILURE() << "no cut reaches 3,5";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Ни одна граница не дает содержания элемента 1 в концентрате не ниже 3,5: "
                 "лучшая граница не определена");
  }
  // A massless sample is refused in the analysis's words.
  try {
    curve(makeWorkspace({lump(1, 0, 1), lump(2, 0, 3)}, 2, "0,01", PocketBasis::ByContent,
                        DistributionKind::Param));
    ADD_FAILURE() << "M = 0";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Суммарная масса кусков равна 0: выходы не определены");
  }
}

TEST(SortabilityTest, EqualEfficienciesGoToTheSmallerKeyAndAShownMinimumAdmitsItsCut) {
  // Keyed on the content: E is 50/3 at cuts 1 and 2, one unit in the last place apart.
  const Workspace tie = makeWorkspace({{1, 1, 0, {}}, {1, 2, 0, {}}, {1, 3, 0, {}}}, 1, "0,01",
                                      PocketBasis::ByContent, DistributionKind::Content);
  EXPECT_EQ(bestCut(curve(tie), std::nullopt, kFmt).figures.key, 1);

  // Keyed on the parameter: the concentrate of cut 1 is written "2,7" and lies below the double
  // 2,7; the other cuts are below it.
  auto lump = [](double key, double mass, double c1) { return Lump{mass, c1, key, {0}}; };
  const Workspace ws = makeWorkspace({lump(1, 1, 0.1), lump(2, 1, 5.2), lump(3, 1, 0.2)}, 2, "0,01",
                                     PocketBasis::ByContent, DistributionKind::Param);
  const SortabilityCurve cv = curve(ws);
  ASSERT_EQ(kFmt.format(cv.figures(0).concentrateContent[1]), "2,7");
  EXPECT_EQ(bestCut(cv, 2.7, kFmt).figures.key, 1);
}

TEST(SortabilityTest, TotalsBeyondTheRangeOfNumbersAreRefused) {
  const char* kMessage = "Суммарная масса или металл кусков вне диапазона чисел: расчет невозможен";
  auto refuses = [&](auto&& f) {
    try {
      f();
    } catch (const Error& e) {
      return std::string(e.what()) == kMessage;
    }
    return false;
  };
  // Finite in extended precision, not as doubles.
  const Workspace beyond = makeWorkspace({{1e308, 1, 0, {}}, {1e308, 2, 0, {}}, {1, 3, 0, {}}}, 1,
                                         "0,01", PocketBasis::ByContent, DistributionKind::Content);
  EXPECT_TRUE(refuses([&] { curve(beyond); }));
  // Totals in range, but a resample drawing the heavy lump twice would not be.
  const Workspace heavy = makeWorkspace({{1e308, 1, 0, {}}, {1, 2, 0, {}}, {1, 3, 0, {}}}, 1,
                                        "0,01", PocketBasis::ByContent, DistributionKind::Content);
  const SortabilityCurve cv = curve(heavy);
  const BestCut best = bestCut(cv, std::nullopt, kFmt);
  EXPECT_TRUE(refuses([&] { bootstrapBestCut(cv, best, {10, 1, 1, std::nullopt}, quiet()); }));
}

// Long work reports up to its whole amount, and a stop asked for ends it.
TEST(SortabilityTest, CurveBootstrapAndTableReportToTheEndAndStopWhenAsked) {
  std::vector<Lump> lumps;
  for (int i = 0; i < 40000; ++i) lumps.push_back({1.0 + i % 7, (i * 37 % 40000) / 1000.0, 0, {}});
  const Workspace ws =
      makeWorkspace(lumps, 1, "0,01", PocketBasis::ByContent, DistributionKind::Content);
  const SortabilityCurve cv = curve(ws);
  const BestCut best = bestCut(cv, std::nullopt, kFmt);
  struct Counting : Progress {
    int reports = 0;
    void reported() override { ++reports; }
  };
  const std::function<void(Progress&)> works[] = {
      [&](Progress& p) { SortabilityCurve(ws, p); },
      [&](Progress& p) {
        bootstrapBestCut(cv, best, {40, 1, 2, std::nullopt}, p);
      },
      [&](Progress& p) { sortabilityCurveCsv(cv, kFmt, p); },
  };
  for (const auto& work : works) {
    Counting p;
    work(p);
    EXPECT_GT(p.reports, 1);
    EXPECT_EQ(p.done(), p.total());
    Counting stopped;
    stopped.requestStop();
    EXPECT_THROW(work(stopped), WorkStopped);
  }
}

TEST(SortabilityTest, AgreesWithThePocketsAtTheirLimitsWhenEveryLumpIsInAPocket) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    auto integer = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    const int n = integer(1, 300), C = integer(1, 4), P = integer(1, 8);
    std::vector<Lump> lumps;
    for (int i = 0; i < n; ++i) {
      Lump l{integer(10, 50000) / 1000.0, integer(1, 12000) / 1000.0, 0, {}};
      for (int k = 1; k < C; ++k) l.extra.push_back(integer(0, 6000) / 100.0);
      lumps.push_back(l);
    }
    // Limits half-way between thousandths, the last above every key: each lump in one pocket.
    std::vector<int> cuts;
    for (int j = 0; j < P; ++j) cuts.push_back(integer(1, 11000));
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    cuts.back() = 12000;
    std::vector<std::string> limits;
    for (int cut : cuts) limits.push_back(kFmt.format(cut / 1000.0 + 0.0005));

    Workspace ws =
        makeWorkspace(lumps, C, "0,000001", PocketBasis::ByContent, DistributionKind::Content);
    ws.PocketCount = static_cast<int>(limits.size());
    TextGrid g;
    RecordingView view;
    runFractionAnalysis(ws, pocketTable(limits), g, kFmt, view);
    const SortabilityCurve cv = curve(ws);

    for (int j = 1; j <= ws.PocketCount; ++j) {
      const double limit = kFmt.parseReal(limits[j - 1]);
      std::size_t cut = 0;
      while (cut < cv.cutCount() && cv.key(cut) <= limit) ++cut;
      if (cut == 0) continue;  // no lump at or below the limit: no cut there
      const CutFigures f = cv.figures(cut - 1);
      // The grid holds 15 digits rounded to the table's millionths.
      auto expectNear = [&](int col, long double v, const char* what) {
        EXPECT_NEAR(kFmt.parseReal(g.cell(col, j)), static_cast<double>(v), 0.5e-6 + 1e-9)
            << "seed " << seed << " pocket " << j << " " << what;
      };
      const ResultsLayout L(C);
      expectNear(L.tailsYield(), f.tailsYield, "tails yield");
      for (int k = 1; k <= C; ++k) {
        expectNear(L.tailsContent(k), f.tailsContent[k], "tails content");
        expectNear(L.tailsRecovery(k), f.tailsRecovery[k], "tails recovery");
      }
      if (j == ws.PocketCount) continue;  // the last row has no concentrate
      expectNear(L.concentrateYield(), f.concentrateYield, "concentrate yield");
      for (int k = 1; k <= C; ++k) {
        expectNear(L.concentrateContent(k), f.concentrateContent[k], "concentrate content");
        expectNear(L.concentrateRecovery(k), f.concentrateRecovery[k], "concentrate recovery");
      }
    }
  }
}

// Keyed on its own content, a sample's efficiency sum_(c > v) m (c - a) is largest when the
// concentrate holds exactly the lumps above the average a: the best key is the largest below a.
TEST(SortabilityTest, TheBestCutIsTheLargestKeyBelowTheAverageWhenKeyedOnTheContent) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    auto integer = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); };
    std::vector<Lump> lumps;
    const int n = integer(2, 500);
    double M = 0, T = 0;
    for (int i = 0; i < n; ++i) {
      lumps.push_back({integer(1, 9999) / 100.0, integer(0, 20000) / 1000.0, 0, {}});
      M += lumps.back().mass;
      T += lumps.back().mass * lumps.back().content;
    }
    const double a = T / M;
    double expected = -1;
    bool exact = false;
    for (const Lump& l : lumps) {
      if (l.content < a) expected = std::max(expected, l.content);
      exact = exact || std::fabs(l.content - a) < 1e-9;
    }
    if (exact || expected < 0) continue;  // an average met by a key would tie two cuts

    const Workspace ws =
        makeWorkspace(lumps, 1, "0,01", PocketBasis::ByContent, DistributionKind::Content);
    const SortabilityCurve cv = curve(ws);
    const BestCut best = bestCut(cv, std::nullopt, kFmt);
    EXPECT_EQ(best.figures.key, expected) << "seed " << seed;

    // One thread or three, the same resamples give the same result.
    BootstrapSettings one{200, seed, 1, std::nullopt}, three{200, seed, 3, std::nullopt};
    const BootstrapResult r1 = bootstrapBestCut(cv, best, one, quiet());
    const BootstrapResult r3 = bootstrapBestCut(cv, best, three, quiet());
    EXPECT_EQ(r1.recoveryLow, r3.recoveryLow);
    EXPECT_EQ(r1.recoveryHigh, r3.recoveryHigh);
    EXPECT_EQ(r1.yieldLow, r3.yieldLow);
    EXPECT_EQ(r1.yieldHigh, r3.yieldHigh);
    EXPECT_EQ(r1.within, r3.within);
    EXPECT_LE(r1.recoveryLow, r1.recoveryHigh);
    EXPECT_LE(r1.yieldLow, r1.yieldHigh);
  }
}

}  // namespace
}  // namespace ore::study

namespace ore::study {
namespace {

// Saving the table: a stop leaves the old file as it was; a finished save holds every cut, the
// workbook's numbers exactly the curve's.
TEST(SortabilityTest, SavedTablesAreWholeOrNotWrittenAtAll) {
  std::vector<analysis::testing::Lump> lumps;
  for (int i = 0; i < 5000; ++i) lumps.push_back({1.0 + i % 7, (i * 37 % 5000) / 1000.0, 0, {}});
  const Workspace ws = analysis::testing::makeWorkspace(lumps, 1, "0,01", PocketBasis::ByContent,
                                                        DistributionKind::Content);
  Progress silent;
  const SortabilityCurve cv(ws, silent);
  const NumberFormat fmt(',');
  const std::string dir = ::testing::TempDir();
  for (const char* ending : {".csv", ".xlsx"}) {
    SCOPED_TRACE(ending);
    const std::string path = dir + "/curve-table" + ending;
    { std::ofstream(path, std::ios::binary) << "old"; }
    Progress stopped;
    stopped.requestStop();
    EXPECT_THROW(saveSortabilityCurve(cv, fmt, path, stopped), WorkStopped);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");

    saveSortabilityCurve(cv, fmt, path, silent);
    if (std::string(ending) == ".xlsx") {
      const Workbook wb = readWorkbook(path);
      ASSERT_EQ(wb.sheets.size(), 1u);
      const Sheet& s = wb.sheets[0];
      EXPECT_EQ(s.name(), "Кривые обогатимости");
      EXPECT_EQ(s.lastRow(), static_cast<std::int64_t>(cv.cutCount()) + 1);
      EXPECT_EQ(s.lastCol(), 7);
      EXPECT_EQ(s.cell(1, 1).text, "Граница");
      for (std::size_t cut : {std::size_t{0}, cv.cutCount() / 3, cv.cutCount() - 1}) {
        const CutFigures f = cv.figures(cut);
        const auto r = static_cast<std::int64_t>(cut) + 2;
        EXPECT_EQ(s.cell(r, 1).number, f.key);
        EXPECT_EQ(s.cell(r, 2).number, static_cast<double>(f.tailsYield));
        EXPECT_EQ(s.cell(r, 7).number, static_cast<double>(f.concentrateRecovery[1]));
      }
    }
  }
}

}  // namespace
}  // namespace ore::study
