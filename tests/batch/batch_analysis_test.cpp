#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::batch {
namespace {

using analysis::testing::Lump;
using analysis::testing::makeWorkspace;

// The state as the import stage leaves it: the lump data set and the import dialog's settings.
BatchState imported(const std::vector<Lump>& lumps, int contentCount = 1) {
  BatchState state(',');
  state.ws = makeWorkspace(lumps, contentCount);
  return state;
}

Options withLimits(const std::string& limits) {
  Options o;
  o.workbook = "x.xlsx";
  o.limits = limits;
  return o;
}

TEST(BatchAnalysisTest, FillsThePocketTableRunsAndLabels) {
  BatchState state =
      imported({{1, 0.5, 0, {}}, {1, 1, 0, {}}, {1, 1.5, 0, {}}, {1, 3, 0, {}}, {1, 3.5, 0, {}}});
  analysisStage(withLimits("1;2;3"), state);
  const TextGrid& t = state.pocketTable;
  ASSERT_EQ(t.colCount(), 2);
  ASSERT_EQ(t.rowCount(), 4);
  EXPECT_EQ(t.cell(0, 0), "");
  EXPECT_EQ(t.cell(1, 0), "Карман");
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(t.cell(0, r), std::to_string(r));
    EXPECT_EQ(t.cell(1, r), std::to_string(r));
  }
  EXPECT_EQ(state.ws.PocketCount, 3);
  EXPECT_EQ(state.ws.PrecisionText, "0,01");
  EXPECT_EQ(state.label, "Число кусков  n=5       M=0,93");

  std::ostringstream tsv;
  writeGridTsv(state.results, "-", tsv);
  EXPECT_EQ(tsv.str(),
            "№ фр\tВерхней предел, h\tВыход, %\tСодержание, %  №= 1\tИзвлечение, %  №= 1\t"
            "Выход, %\tСодержание, %  №= 1\tИзвлечение, %  №= 1\t"
            "Выход, %\tСодержание, %  №= 1\tИзвлечение, %  №= 1\n"
            "1\t1\t40\t0,75\t15,79\t40\t0,75\t15,79\t60\t2,67\t84,21\n"
            "2\t2\t20\t1,5\t15,79\t60\t1\t31,58\t40\t3,25\t68,42\n"
            "3\t3\t20\t3\t31,58\t80\t1,5\t63,16\t0\t0\t0\n");
}

TEST(BatchAnalysisTest, OptionsReachTheRun) {
  BatchState state = imported({{1, 10, 0.5, {}}, {1, 20, 1.5, {}}, {2, 30, 5, {}}});
  Options o = withLimits("1;2");
  o.distributionKind = DistributionKind::Param;
  o.pocketBasis = PocketBasis::ByParam;
  o.precision = "1";
  analysisStage(o, state);
  EXPECT_EQ(state.results.cell(2, 1), "25");
  EXPECT_EQ(state.results.cell(3, 2), "20");
  EXPECT_EQ(state.label, "Число кусков  n=3       П=-10000000");
}

TEST(BatchAnalysisTest, LimitTextsAreTakenAsTyped) {
  BatchState state = imported({{1, 0.5, 0, {}}, {1, 1.5, 0, {}}});
  try {
    analysisStage(withLimits("1;;3"), state);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
  }
  try {
    analysisStage(withLimits(""), state);
    FAIL() << "no error";
  } catch (const Error& e) {
    // In the words of the calculation dialog, which refuses the same count.
    EXPECT_STREQ(e.what(),
                 "Количество карманов должно быть целым числом от 1 до 10000 (введено 0)");
  }
  Options o = withLimits("1");
  o.precision = "0.01";
  EXPECT_THROW(analysisStage(o, state), Error);
}

}  // namespace
}  // namespace ore::batch
