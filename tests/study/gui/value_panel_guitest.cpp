// The value panel over the 120-lump workbook: its figures as orefrac-batch --value prints them,
// a row of fields per content loaded, a field that is no number refused by name with the figures
// kept, limits no cut meets, and the value curve saved as .csv.

#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "gui_harness.h"
#include "study/gui/study_window.h"
#include "study/gui/value_panel.h"

namespace ore::gui::test {
namespace {

const std::string kBasic = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";
const std::vector<std::string> kLoad = {kBasic, "--contents", "3", "--extra",
                                        "E,F",  "--decimal",  ","};

std::vector<std::string> batchLines(const std::vector<std::string>& extra) {
  std::vector<std::string> a = kLoad;
  a.insert(a.end(), extra.begin(), extra.end());
  std::ostringstream out;
  batch::run(batch::parseOptions(a), ',', out);
  std::vector<std::string> lines;
  std::istringstream is(out.str());
  for (std::string l; std::getline(is, l);) lines.push_back(l);
  return lines;
}

std::vector<std::string> tableLines(const StringGrid* grid) {
  std::vector<std::string> lines;
  for (int r = 1; r < grid->rowCount(); ++r)
    lines.push_back(grid->cell(0, r) + (grid->cell(1, r).empty() ? "" : ": " + grid->cell(1, r)));
  return lines;
}

bool waitComputed(ValuePanel* panel) {
  return QTest::qWaitFor([panel] { return !panel->computing(); }, 30000);
}

TEST(ValuePanelTest, FiguresAsTheBatchPrintsThemAndFieldsThatRefuseBadText) {
  batch::BatchState s(',');
  std::vector<std::string> load = kLoad;
  load.push_back("--curve");  // the import alone, with nothing analysed
  load.push_back("/dev/null");
  batch::importStage(batch::parseOptions(load), s);
  Workspace ws = s.ws;
  ws.DistributionKind = DistributionKind::Content;
  const NumberFormat fmt(',');
  RecordingErrorBox errors;
  const PictureFileChooser noPictures;
  ValuePanel panel(ws, fmt, errors, noPictures);
  panel.resize(1400, 900);
  panel.show();
  EXPECT_FALSE(panel.EditPrice[3]->isHidden());
  EXPECT_TRUE(panel.EditPrice[4]->isHidden());

  panel.EditPrice[1]->setText("100");
  panel.EditCostProcess->setText("5");
  panel.EditCostReject->setText(" 1 ");
  panel.EditCostSort->setText("0,5");
  QTest::mouseClick(panel.ButtonCompute, Qt::LeftButton);
  ASSERT_TRUE(waitComputed(&panel));
  ASSERT_TRUE(errors.messages.empty()) << errors.messages.front();
  std::vector<std::string> expected = batchLines({"--value", "--price", "1=100", "--cost-process",
                                                  "5", "--cost-reject", "1", "--cost-sort", "0,5"});
  expected.push_back("Лучшая граница по E: 7,35");
  const std::vector<std::string> shown = tableLines(panel.GridFigures);
  ASSERT_EQ(shown.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.end() - 1), expected);

  // The curve thinned to the plot, the two best cuts marked at their keys.
  QChart* chart = panel.ChartValue->chart();
  auto* curve = chart->findChild<QLineSeries*>("SeriesValue");
  ASSERT_NE(curve, nullptr);
  EXPECT_GT(curve->count(), 1);
  EXPECT_LE(curve->count(), 119);
  EXPECT_EQ(chart->findChild<QScatterSeries*>("SeriesBestValuePoint")->at(0).x(), 3.901);
  EXPECT_EQ(chart->findChild<QScatterSeries*>("SeriesBestEPoint")->at(0).x(), 7.35);

  // A field that is no number: named, focused, nothing computed, the figures kept.
  panel.EditPrice[2]->setText("abc");
  QTest::mouseClick(panel.ButtonCompute, Qt::LeftButton);
  EXPECT_EQ(errors.messages, std::vector<std::string>{"Цена элемента 2: «abc» — не число"});
  EXPECT_FALSE(panel.computing());
  EXPECT_TRUE(panel.EditPrice[2]->hasFocus());
  EXPECT_EQ(tableLines(panel.GridFigures), shown);
  errors.messages.clear();
  panel.EditPrice[2]->clear();

  // The value curve saved as the batch writes it, separated by ';'.
  QTemporaryDir dir;
  const std::string file = dir.filePath("стоимость.csv").toStdString();
  panel.setSaveFileChooser([file] { return file; });
  QTest::mouseClick(panel.ButtonSave, Qt::LeftButton);
  ASSERT_TRUE(errors.messages.empty()) << errors.messages.front();
  std::ifstream in(file, std::ios::binary);
  std::string header, first;
  std::getline(in, header);
  std::getline(in, first);
  EXPECT_EQ(header, "\xEF\xBB\xBFГраница;Стоимость тонны питания\r");
  const std::vector<std::string> grid =
      batchLines({"--value", "--price", "1=100", "--cost-process", "5", "--cost-reject", "1",
                  "--cost-sort", "0,5", "--value-curve", "-"});
  std::string tabbed = grid.at(1);
  std::replace(tabbed.begin(), tabbed.end(), '\t', ';');
  EXPECT_EQ(first, tabbed + "\r");

  // Limits no cut meets: the run fails with the message naming them.
  panel.EditMinGrade->setText("50");
  QTest::mouseClick(panel.ButtonCompute, Qt::LeftButton);
  ASSERT_TRUE(waitComputed(&panel));
  EXPECT_EQ(errors.messages,
            std::vector<std::string>{"Ни одна граница не дает содержания элемента 1 в концентрате "
                                     "не ниже 50: лучшая граница по стоимости не определена"});
}

// The panel is the study window's second tab, and what was typed into it outlives the window's
// closing: the program's run.
TEST(ValuePanelTest, ATabOfTheStudyWindowKeepingItsInputs) {
  Harness h;
  std::vector<std::string> load = kLoad;
  load.push_back("--curve");
  load.push_back("/dev/null");
  batch::BatchState s(',');
  batch::importStage(batch::parseOptions(load), s);
  h.ws = s.ws;
  h.ws.DistributionKind = DistributionKind::Content;
  h.ctx.Form1->NStudy->trigger();
  StudyWindow* window = nullptr;
  for (QWidget* t : QApplication::topLevelWidgets())
    if (t->objectName() == "StudyWindow") window = qobject_cast<StudyWindow*>(t);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(window->Tabs->count(), 2);
  EXPECT_EQ(window->Tabs->tabText(1), "Стоимость границы");
  auto* panel = qobject_cast<ValuePanel*>(window->Tabs->widget(1));
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->EditPrice[4]->isHidden());
  panel->EditPrice[3]->setText("7");
  window->close();
  h.ctx.Form1->NStudy->trigger();
  EXPECT_EQ(panel->EditPrice[3]->text(), "7");
  EXPECT_TRUE(h.errors.messages.empty());
}

}  // namespace
}  // namespace ore::gui::test
