#include "analysis/fraction_analysis.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/results_layout.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::analysis {
namespace {

using testing::Lump;
using testing::makeWorkspace;
using testing::pocketTable;
using testing::RecordingView;
using testing::row;
using Row = std::vector<std::string>;

const NumberFormat kFmt(',');

struct RunResult {
  TextGrid results;
  RecordingView view;
  AnalysisOutcome outcome;
};

RunResult run(Workspace& ws, const std::vector<std::string>& limits) {
  RunResult r;
  ws.PocketCount = static_cast<int>(limits.size());
  r.outcome = runFractionAnalysis(ws, pocketTable(limits), r.results, kFmt, r.view);
  return r;
}

// Lumps of mass 1 whose content (and key) is given.
std::vector<Lump> keys(std::initializer_list<double> ks) {
  std::vector<Lump> lumps;
  for (double k : ks) lumps.push_back({1, k, 0, {}});
  return lumps;
}

TEST(FractionAnalysisTest, PutsLumpsIntoPocketsByTheirLimits) {
  Workspace ws = makeWorkspace(keys({0.5, 1, 1.5, 3, 3.5}));
  RunResult r = run(ws, {"1", "2", "3"});
  ASSERT_EQ(r.results.rowCount(), 4);
  ASSERT_EQ(r.results.colCount(), 11);
  // No., limit, yield, content, recovery | tails yield, content, recovery | concentrate.
  EXPECT_EQ(row(r.results, 1),
            (Row{"1", "1", "40", "0,75", "15,79", "40", "0,75", "15,79", "60", "2,67", "84,21"}));
  EXPECT_EQ(row(r.results, 2),
            (Row{"2", "2", "20", "1,5", "15,79", "60", "1", "31,58", "40", "3,25", "68,42"}));
  EXPECT_EQ(row(r.results, 3),
            (Row{"3", "3", "20", "3", "31,58", "80", "1,5", "63,16", "0", "0", "0"}));
  ASSERT_EQ(r.view.points.size(), 3u);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(r.view.points[j].x, j + 1);
    EXPECT_EQ(r.view.points[j].rgb, 0xFF0000u);
  }
  EXPECT_EQ(r.view.points[0].y, 2);
  EXPECT_EQ(r.view.points[1].y, 1);
  EXPECT_EQ(r.view.points[2].y, 1);
  EXPECT_EQ(r.view.pointsPerPage, 3);
  EXPECT_EQ(r.outcome.pointsPerPage, 3);
  EXPECT_EQ(r.view.calls, (std::vector<std::string>{"show", "histogram", "showLabel", "setLabel",
                                                    "notes", "pointsPerPage"}));
}

// The notes under the label: lumps in no pocket with their mass share in whole per cent (its
// ends kept apart from none and all), and limits that fall; equal limits only empty a pocket.
TEST(FractionAnalysisTest, NotesSayWhatFellOutsideThePocketsAndWhenLimitsFall) {
  const std::string falling =
      "Границы карманов не возрастают: кусок может попасть в несколько карманов";
  auto heavy = [](double mass, double content) { return Lump{mass, content, 0, {}}; };
  struct Case {
    const char* name;
    std::vector<Lump> lumps;
    std::vector<std::string> limits;
    std::vector<std::string> notes;
  } cases[] = {
      {"all in rising pockets", keys({1, 2, 3}), {"1", "2", "3"}, {}},
      {"above the last limit and at 0",
       {heavy(1, 0), heavy(1, 1), heavy(10, 5)},
       {"2", "4"},
       {"Вне карманов: 2 из 3 кусков, 92 % массы"}},
      {"a share below a half per cent",
       {heavy(999, 1), heavy(1, 5)},
       {"2"},
       {"Вне карманов: 1 из 2 кусков, менее 1 % массы"}},
      {"a share above 99,5 per cent",
       {heavy(1, 1), heavy(999, 5)},
       {"2"},
       {"Вне карманов: 1 из 2 кусков, более 99 % массы"}},
      {"a falling limit", keys({1, 2, 3}), {"2", "1", "3"}, {falling}},
      {"equal limits", keys({1, 2}), {"2", "2", "3"}, {}},
      {"both",
       keys({1, 2, 9}),
       {"3", "1", "2"},
       {"Вне карманов: 1 из 3 кусков, 33 % массы", falling}},
  };
  for (const Case& c : cases) {
    Workspace ws = makeWorkspace(c.lumps);
    RunResult r = run(ws, c.limits);
    EXPECT_EQ(r.outcome.notes, c.notes) << c.name;
    EXPECT_EQ(r.view.notes, c.notes) << c.name;
  }
}

struct YieldCase {
  const char* name;
  std::vector<Lump> lumps;
  std::vector<std::string> limits;
  std::vector<std::string> yields;  // column 2, rows 1..P
  std::vector<double> counts;       // the histogram
};

TEST(FractionAnalysisTest, PocketRuleEdgeCases) {
  const YieldCase cases[] = {
      {"key 0 is in no pocket", keys({0, 2}), {"5"}, {"50"}, {1}},
      {"negative key is in no pocket", keys({-1, 2}), {"5"}, {"50"}, {1}},
      {"key equal to a limit stays below it",
       keys({2, 2, 3}),
       {"2", "3"},
       {"66,67", "33,33"},
       {2, 1}},
      {"falling limits leave pocket 2 empty",
       keys({3, 7, 12}),
       {"10", "5"},
       {"66,67", "0"},
       {2, 0}},
      {"overlapping pockets take a lump twice",
       keys({3, 7}),
       {"10", "1", "20"},
       {"100", "0", "100"},
       {2, 0, 2}},
      {"within the upper tolerance", keys({1 + 1e-13}), {"1"}, {"100"}, {1}},
      {"beyond the upper tolerance", keys({1 + 1e-9}), {"1"}, {"0"}, {0}},
      // Above L_1 by more than 1e-12 but not more than 1e-11: in neither pocket.
      {"between the tolerances", keys({1 + 5e-12}), {"1", "2"}, {"0", "0"}, {0, 0}},
      {"above the lower tolerance", keys({1 + 2e-11}), {"1", "2"}, {"0", "100"}, {0, 1}},
      {"key above the last limit", keys({1, 9}), {"2", "4"}, {"50", "0"}, {1, 0}},
  };
  for (const auto& c : cases) {
    Workspace ws = makeWorkspace(c.lumps);
    RunResult r = run(ws, c.limits);
    for (size_t j = 0; j < c.yields.size(); ++j) {
      EXPECT_EQ(r.results.cell(2, static_cast<int>(j) + 1), c.yields[j])
          << c.name << " pocket " << j + 1;
      EXPECT_EQ(r.outcome.histogram[j].y, c.counts[j]) << c.name << " pocket " << j + 1;
      EXPECT_EQ(r.outcome.histogram[j].label, c.limits[j]) << c.name;
    }
  }
}

TEST(FractionAnalysisTest, DistributesOverTheParameterWhenAsked) {
  Workspace ws = makeWorkspace({{1, 10, 0.5, {}}, {1, 20, 1.5, {}}, {2, 30, 5, {}}}, 1, "0,01",
                               PocketBasis::ByContent, DistributionKind::Param);
  RunResult r = run(ws, {"1", "2"});
  EXPECT_EQ(r.results.cell(2, 1), "25");
  EXPECT_EQ(r.results.cell(3, 1), "10");
  EXPECT_EQ(r.results.cell(2, 2), "25");
  EXPECT_EQ(r.results.cell(3, 2), "20");
}

TEST(FractionAnalysisTest, EmptyPocketShowsZerosAndAnEmptyBar) {
  Workspace ws = makeWorkspace(keys({0.5, 3}));
  RunResult r = run(ws, {"1", "2", "3"});
  EXPECT_EQ(row(r.results, 2),
            (Row{"2", "2", "0", "0", "0", "50", "0,5", "14,29", "50", "3", "85,71"}));
  EXPECT_EQ(r.outcome.histogram[1].y, 0);
  EXPECT_EQ(r.outcome.histogram[1].label, "2");
}

TEST(FractionAnalysisTest, ContentsAboveSixStayZeroInEveryBlock) {
  std::vector<Lump> lumps;
  for (int i = 1; i <= 4; ++i) lumps.push_back({1, double(i), 0, {1, 2, 3, 4, 5, 6, 7}});
  Workspace ws = makeWorkspace(lumps, 8);
  RunResult r = run(ws, {"2", "4"});
  ASSERT_EQ(r.results.colCount(), 53);
  const ResultsLayout L(8);
  for (int j = 1; j <= 2; ++j) {
    for (int k = 7; k <= 8; ++k) {
      for (int col : {L.pocketContent(k), L.pocketRecovery(k), L.tailsContent(k),
                      L.tailsRecovery(k), L.concentrateContent(k), L.concentrateRecovery(k)})
        EXPECT_EQ(r.results.cell(col, j), "0") << "column " << col << " row " << j;
    }
    // Content 6 (further content 5, value 5 in every lump) is computed.
    EXPECT_EQ(r.results.cell(L.pocketContent(6), j), "5");
    EXPECT_EQ(r.results.cell(L.pocketRecovery(6), j), "50");
  }
}

TEST(FractionAnalysisTest, NoElementMeansNoRecoveries) {
  Workspace ws = makeWorkspace({{1, 0, 0, {4}}, {3, 0, 0, {8}}}, 2);
  ws.DistributionKind = DistributionKind::Param;
  ws.Param[1] = 1;
  ws.Param[2] = 2;
  RunResult r = run(ws, {"1", "2"});
  // Columns 5, 6: recoveries of contents 1 and 2 in the pocket block stay "0" although T_2 > 0.
  EXPECT_EQ(row(r.results, 1)[5], "0");
  EXPECT_EQ(row(r.results, 1)[6], "0");
  EXPECT_EQ(row(r.results, 1)[4], "4");
  // G is 0: the index is not defined, the grid is complete.
  EXPECT_FALSE(r.outcome.indexDefined);
  EXPECT_EQ(r.outcome.label, "Число кусков  n=2       M= не определен");
  EXPECT_EQ(ws.SampleIndex, 0);
}

TEST(FractionAnalysisTest, ContentWithoutMetalGetsZeroRecovery) {
  Workspace ws = makeWorkspace({{1, 2, 0, {0}}, {1, 4, 0, {0}}}, 2);
  RunResult r = run(ws, {"3", "5"});
  // Pocket and tails recoveries of content 2 are 0; its concentrate recovery is 100 minus 0.
  EXPECT_EQ(row(r.results, 1), (Row{"1", "3", "50", "2", "0", "33,33", "0", "50", "2", "0", "33,33",
                                    "0", "50", "4", "0", "66,67", "100"}));
  EXPECT_EQ(r.results.cell(6, 2), "0");
}

TEST(FractionAnalysisTest, IndexAndLabel) {
  Workspace ws = makeWorkspace(keys({1, 3}));
  RunResult r = run(ws, {"5"});
  EXPECT_EQ(r.view.label, "Число кусков  n=2       M=0,5");
  EXPECT_EQ(r.outcome.label, r.view.label);
  EXPECT_EQ(ws.SampleIndex, 0.5);
  EXPECT_EQ(r.outcome.sampleIndex, 0.5);
  EXPECT_TRUE(r.outcome.indexDefined);
}

TEST(FractionAnalysisTest, IndexByParameterSkipsThreeAtEachEnd) {
  std::vector<Lump> six;
  for (int i = 1; i <= 6; ++i) six.push_back({1, double(i), double(i), {}});
  Workspace ws = makeWorkspace(six, 1, "0,01", PocketBasis::ByParam);
  RunResult r = run(ws, {"10"});
  EXPECT_EQ(r.outcome.label, "Число кусков  n=6       П=-10000000");
  EXPECT_EQ(ws.SampleIndex, -10000000);
  for (const char* precision : {"1", "0,1", "0,001", "0,000001"}) {
    ws.PrecisionText = precision;
    EXPECT_EQ(run(ws, {"10"}).outcome.sampleIndex, -10000000) << precision;
  }

  std::vector<Lump> seven;
  for (int i = 1; i <= 7; ++i) seven.push_back({1, 2, double(8 - i), {}});
  ws = makeWorkspace(seven, 1, "0,01", PocketBasis::ByParam);
  EXPECT_EQ(run(ws, {"10"}).outcome.label, "Число кусков  n=7       П=0");
}

TEST(FractionAnalysisTest, EqualContentsGiveIndexZero) {
  Workspace ws = makeWorkspace(keys({2, 2, 2}));
  EXPECT_EQ(run(ws, {"5"}).outcome.label, "Число кусков  n=3       M=0");
}

TEST(FractionAnalysisTest, LumpsLeftOutChangeTheIndex) {
  Workspace ws = makeWorkspace(keys({1, 3, 5}));
  RunResult all = run(ws, {"10"});
  RunResult some = run(ws, {"4"});
  EXPECT_EQ(all.outcome.label, "Число кусков  n=3       M=0,44");
  // G is now 2 (the lumps in pockets): terms (5/2-1)*2/3, (3/2-1)*2/3, (1/2-1)*2/3.
  EXPECT_EQ(some.outcome.label, "Число кусков  n=3       M=1,33");
}

TEST(FractionAnalysisTest, NoPocketHoldsALumpSoTheIndexIsUndefined) {
  Workspace ws = makeWorkspace(keys({7, 8}));
  ws.SampleIndex = 3;
  RunResult r = run(ws, {"1", "2"});
  EXPECT_FALSE(r.outcome.indexDefined);
  EXPECT_EQ(r.view.label, "Число кусков  n=2       M= не определен");
  EXPECT_EQ(ws.SampleIndex, 0);
  EXPECT_EQ(row(r.results, 1), (Row{"1", "1", "0", "0", "0", "0", "0", "0", "100", "7,5", "100"}));
  ws.PocketBasis = PocketBasis::ByParam;
  EXPECT_EQ(run(ws, {"1", "2"}).view.label, "Число кусков  n=2       П= не определен");
}

TEST(FractionAnalysisTest, EmptyDataSetGivesZerosAndTheStartIndex) {
  Workspace ws = makeWorkspace({});
  RunResult r = run(ws, {"1", "2"});
  EXPECT_EQ(row(r.results, 2), (Row{"2", "2", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(r.outcome.label, "Число кусков  n=0       M=-10000000");
}

TEST(FractionAnalysisTest, RerunWithFewerPocketsRewritesEveryBodyCell) {
  Workspace ws = makeWorkspace(keys({0.5, 1.5, 2.5, 3.5, 4.5}));
  TextGrid results;
  RecordingView view;
  ws.PocketCount = 5;
  runFractionAnalysis(ws, pocketTable({"1", "2", "3", "4", "5"}), results, kFmt, view);
  results.setCell(3, 2, "edited");
  ws.PocketCount = 3;
  runFractionAnalysis(ws, pocketTable({"2", "4", "6"}), results, kFmt, view);
  Workspace fresh = makeWorkspace(keys({0.5, 1.5, 2.5, 3.5, 4.5}));
  RunResult expected = run(fresh, {"2", "4", "6"});
  ASSERT_EQ(results.rowCount(), 4);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(row(results, j), row(expected.results, j)) << j;
}

TEST(FractionAnalysisTest, HeaderRowIsNeverWritten) {
  Workspace ws = makeWorkspace(keys({1, 2}));
  ws.PocketCount = 2;
  TextGrid results(4, 1);
  for (int c = 0; c < 4; ++c) results.setCell(c, 0, "h" + std::to_string(c));
  RecordingView view;
  runFractionAnalysis(ws, pocketTable({"1", "2"}), results, kFmt, view);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(results.cell(c, 0), "h" + std::to_string(c));
  for (int c = 4; c < 11; ++c) EXPECT_EQ(results.cell(c, 0), "");
}

TEST(FractionAnalysisTest, LimitsAreRoundedOneDecimalFinerButBarsKeepTheTypedText) {
  Workspace ws = makeWorkspace(keys({0.05, 0.1, 2.3}), 1, "0,01");
  RunResult r = run(ws, {"0,0625", "0,12345", "2,50"});
  EXPECT_EQ(r.results.cell(1, 1), "0,062");
  EXPECT_EQ(r.results.cell(1, 2), "0,123");
  EXPECT_EQ(r.results.cell(1, 3), "2,5");
  EXPECT_EQ(r.outcome.histogram[2].label, "2,50");
}

TEST(FractionAnalysisTest, BadLimitInTheDistributionStopsBeforeThePocketBlock) {
  Workspace ws = makeWorkspace(keys({0.5, 1.5, 2.5}));
  ws.SampleIndex = 7;
  TextGrid results;
  RecordingView view;
  view.label = "previous";
  ws.PocketCount = 3;
  try {
    runFractionAnalysis(ws, pocketTable({"1,55", "2x", "3"}), results, kFmt, view);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2x' is not a valid floating point value");
  }
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show"}));
  EXPECT_EQ(view.label, "previous");
  EXPECT_EQ(ws.SampleIndex, 7);
  ASSERT_EQ(results.rowCount(), 4);
  ASSERT_EQ(results.colCount(), 11);
  EXPECT_EQ(row(results, 1), (Row{"1", "1,55", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
  EXPECT_EQ(row(results, 2), (Row{"2", "2x", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(FractionAnalysisTest, EmptyLimitNoLumpNeedsFailsInTheRoundingPass) {
  // No lump lies above the second limit, so the empty third one is first converted when the
  // limits are rounded: the grid is computed, rows 1 and 2 of column 1 are rounded already.
  Workspace ws = makeWorkspace(keys({0.5, 1, 1.5}));
  ws.SampleIndex = 7;
  TextGrid results;
  RecordingView view;
  ws.PocketCount = 3;
  try {
    runFractionAnalysis(ws, pocketTable({"1,04", "2,06", ""}), results, kFmt, view);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
  }
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "histogram", "showLabel"}));
  EXPECT_EQ(view.points.size(), 3u);
  EXPECT_EQ(view.points[2].label, "");
  EXPECT_EQ(ws.SampleIndex, 7);
  EXPECT_EQ(results.cell(1, 1), "1,04");
  EXPECT_EQ(results.cell(1, 2), "2,06");
  EXPECT_EQ(results.cell(1, 3), "");
  EXPECT_EQ(results.cell(2, 1), "66,6666666666667");  // the other columns are not rounded yet
}

TEST(FractionAnalysisTest, LimitNeededOnlyByALumpAboveThePreviousOne) {
  // Every key is 0 or below: pocket 1 never needs its limit, pocket 2 needs L_1 at once.
  Workspace ws = makeWorkspace(keys({0, -1}));
  TextGrid results;
  RecordingView view;
  ws.PocketCount = 2;
  try {
    runFractionAnalysis(ws, pocketTable({"abc", "1"}), results, kFmt, view);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show"}));
}

struct RefusalCase {
  const char* name;
  void (*change)(Workspace&);
  std::string message;
};

TEST(FractionAnalysisTest, RefusesUnusableSettingsBeforeWritingAnything) {
  const RefusalCase cases[] = {
      {"no pocket", [](Workspace& ws) { ws.PocketCount = 0; },
       "Количество карманов должно быть не меньше 1 (задано 0)"},
      {"no content", [](Workspace& ws) { ws.ContentCount = 0; },
       "Количество содержаний должно быть от 1 до 10 (задано 0)"},
      {"eleven contents", [](Workspace& ws) { ws.ContentCount = 11; },
       "Количество содержаний должно быть от 1 до 10 (задано 11)"},
      {"precision with a point", [](Workspace& ws) { ws.PrecisionText = "0.01"; },
       "Точность составляемой таблицы «0.01» не поддерживается. Допустимые значения: 1; 0,1; 0,01; "
       "0,001; 0,0001; 0,00001; 0,000001"},
      {"precision with a blank", [](Workspace& ws) { ws.PrecisionText = "0,01 "; },
       "Точность составляемой таблицы «0,01 » не поддерживается. Допустимые значения: 1; 0,1; "
       "0,01; "
       "0,001; 0,0001; 0,00001; 0,000001"},
      {"no pocket basis", [](Workspace& ws) { ws.PocketBasis = PocketBasis::None; },
       "Не выбран расчет карманов: по концентрации или по параметру"},
      {"no distribution kind", [](Workspace& ws) { ws.DistributionKind = DistributionKind::None; },
       "Не выбрано условие распределения: содержания или параметра"},
      {"zero total mass", [](Workspace& ws) { ws.Mass[1] = ws.Mass[2] = 0; },
       "Суммарная масса кусков равна 0: выходы не определены"},
      {"masses cancelling out", [](Workspace& ws) { ws.Mass[2] = -1; },
       "Суммарная масса кусков равна 0: выходы не определены"},
      {"mass beyond range", [](Workspace& ws) { ws.Mass[1] = ws.Mass[2] = 1e308; },
       "Суммарная масса или металл кусков вне диапазона чисел: расчет невозможен"},
      {"short arrays", [](Workspace& ws) { ws.Param.resize(2); },
       "Данные кусков неполны: загружено меньше 2 значений. Загрузите исходные данные заново"},
  };
  for (const auto& c : cases) {
    Workspace ws = makeWorkspace(keys({1, 2}));
    ws.PocketCount = 2;
    ws.SampleIndex = 5;
    c.change(ws);
    TextGrid results(3, 2);
    results.setCell(2, 1, "old");
    RecordingView view;
    try {
      runFractionAnalysis(ws, pocketTable({"1", "2"}), results, kFmt, view);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), c.message) << c.name;
    }
    EXPECT_TRUE(view.calls.empty()) << c.name;
    EXPECT_EQ(results.colCount(), 3) << c.name;
    EXPECT_EQ(results.cell(2, 1), "old") << c.name;
    EXPECT_EQ(ws.SampleIndex, 5) << c.name;
  }
}

TEST(FractionAnalysisTest, ResultBeyondTheRangeOfNumbersIsAnErrorNotInfText) {
  // The masses cancel to 1 while one pocket holds 1e308: its yield overflows.
  Workspace ws = makeWorkspace({{1e308, 1, 1, {}}, {-1e308, 1, 5, {}}, {1, 1, 5, {}}}, 1, "0,01",
                               PocketBasis::ByContent, DistributionKind::Param);
  TextGrid results;
  RecordingView view;
  ws.PocketCount = 1;
  try {
    runFractionAnalysis(ws, pocketTable({"2"}), results, kFmt, view);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Результат расчета вне диапазона чисел (столбец 2, строка 1 таблицы результатов)");
  }
  for (int c = 0; c < results.colCount(); ++c) {
    EXPECT_EQ(results.cell(c, 1).find("INF"), std::string::npos);
    EXPECT_EQ(results.cell(c, 1).find("NAN"), std::string::npos);
  }
}

TEST(FractionAnalysisTest, SummaryLabelTexts) {
  EXPECT_EQ(summaryLabel(PocketBasis::ByContent, 120, 12.25, true, kFmt),
            "Число кусков  n=120       M=12,25");
  EXPECT_EQ(summaryLabel(PocketBasis::ByParam, 7, -0.5, true, kFmt),
            "Число кусков  n=7       П=-0,5");
  EXPECT_EQ(summaryLabel(PocketBasis::ByParam, 7, 0, false, kFmt),
            "Число кусков  n=7       П= не определен");
  EXPECT_EQ(summaryLabel(PocketBasis::ByContent, 2, 0.5, true, NumberFormat('.')),
            "Число кусков  n=2       M=0.5");
}

}  // namespace
}  // namespace ore::analysis
