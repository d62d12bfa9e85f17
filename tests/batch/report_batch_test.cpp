// orefrac-batch --report: the block of a first export saved as a one-sheet workbook "Отчет".

#include <gtest/gtest.h>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "data/results_layout.h"
#include "tests/platform/workbook/xlsx/xlsx_writer_readback.h"

namespace ore::test {
namespace {

batch::BatchState resultsOf(int contents, int pockets) {
  batch::BatchState s(',');
  s.ws.ContentCount = contents;
  s.ws.PocketCount = pockets;
  s.ws.PocketBasis = PocketBasis::ByParam;
  s.ws.LumpCount = 12;
  s.ws.SampleIndex = 1.5;
  s.results.resize(ResultsLayout(contents).columnCount(), pockets + 1);
  for (int r = 1; r <= pockets; ++r)
    for (int g = 0; g < s.results.colCount(); ++g)
      s.results.setCell(g, r, s.fmt.format(r + g * 0.5));
  return s;
}

TEST(ReportBatchTest, SavesTheFirstBlockAsOneSheetReport) {
  TempDir dir;
  batch::Options o;
  o.reportFile = dir.file("r.xlsx");
  batch::BatchState s = resultsOf(1, 2);
  batch::reportStage(o, s);
  EXPECT_EQ(sheetNames(*o.reportFile), std::vector<std::string>{"Отчет"});
  const std::string xml = sheetXml(*o.reportFile, 1);
  EXPECT_NE(cellXml(xml, "A1").find("Фракционный состав выборки( n=12 ) и технологические "
                                    "показатели П=1,5" +
                                    std::string(18, ' ') + "</t>"),
            std::string::npos)
      << cellXml(xml, "A1");
  EXPECT_NE(cellXml(xml, "F3").find(">Хвосты" + std::string(37, ' ') + "</t>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "K4").find(">Извл.%</t>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "A6").find("<f>2</f><v>2</v>"), std::string::npos) << cellXml(xml, "A6");
  EXPECT_NE(cellXml(xml, "K6").find("<v>7</v>"), std::string::npos);  // grid (10, 2): 2 + 5
  EXPECT_EQ(cellXml(xml, "A7"), "");
}

TEST(ReportBatchTest, ABadGridTextWritesNoFile) {
  TempDir dir;
  batch::Options o;
  o.reportFile = dir.file("r.xlsx");
  batch::BatchState s = resultsOf(1, 2);
  s.results.setCell(5, 2, "x");
  try {
    batch::reportStage(o, s);
    ADD_FAILURE();
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
  }
  EXPECT_FALSE(std::filesystem::exists(*o.reportFile));
}

}  // namespace
}  // namespace ore::test
