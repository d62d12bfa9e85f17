// The study window over the 120-lump workbook: opened from the main menu, its sensor tab fills with
// the figures orefrac-batch --sensor prints and with the charts; a cut-off grade that is no number
// is refused and changes nothing; the figures are saved as .csv.

#include <gtest/gtest.h>

#include <QAction>
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
#include "study/gui/sensor_panel.h"
#include "study/gui/study_window.h"

namespace ore::gui::test {
namespace {

const std::string kBasic = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";

std::vector<std::string> batchLines(const std::vector<std::string>& extra) {
  std::vector<std::string> a = {kBasic, "--decimal", ",", "--sensor"};
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
    lines.push_back(grid->cell(0, r) + ": " + grid->cell(1, r));
  return lines;
}

bool waitComputed(SensorPanel* panel) {
  return QTest::qWaitFor([panel] { return !panel->computing(); }, 30000);
}

TEST(StudyWindowTest, TheSensorTabFillsAsTheBatchPrintsAndRefusesABadCutoffGrade) {
  Harness h;
  // No lumps: refused before the window shows.
  h.ctx.Form1->NStudy->trigger();
  ASSERT_EQ(h.errors.messages,
            std::vector<std::string>{
                "Нет исходных данных: откройте их через «Файл» > «Открыть исходные данные»"});
  h.errors.messages.clear();

  const batch::Options o = batch::parseOptions({kBasic, "--decimal", ",", "--sensor"});
  batch::BatchState s(',');
  batch::importStage(o, s);
  h.ws = s.ws;
  h.ctx.Form1->NStudy->trigger();
  StudyWindow* window = nullptr;
  for (QWidget* t : QApplication::topLevelWidgets())
    if (t->objectName() == "StudyWindow") window = qobject_cast<StudyWindow*>(t);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "Исследование сортировки");
  EXPECT_EQ(window->Tabs->tabText(0), "Датчик и анализ");
  auto* panel = window->findChild<SensorPanel*>("SensorPanel");
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(waitComputed(panel));
  EXPECT_EQ(tableLines(panel->GridFigures), batchLines({}));

  panel->ComboSide->setCurrentIndex(1);
  panel->EditCutoff->setText("10");
  QTest::mouseClick(panel->ButtonCompute, Qt::LeftButton);
  ASSERT_TRUE(waitComputed(panel));
  EXPECT_TRUE(h.errors.messages.empty());
  const std::vector<std::string> below =
      batchLines({"--concentrate-side", "below", "--cutoff-grade", "10"});
  EXPECT_EQ(tableLines(panel->GridFigures), below);

  // Every curve drawn, thinned; both areas in the legend; Youden's point at its place.
  for (auto [view, name] : {std::pair{panel->ChartGrade, "SeriesSensorGrade"},
                            {panel->ChartGrade, "SeriesIdealGrade"},
                            {panel->ChartYield, "SeriesSensorYield"},
                            {panel->ChartYield, "SeriesIdealYield"},
                            {panel->ChartRoc, "SeriesRocCount"},
                            {panel->ChartRoc, "SeriesRocMass"}}) {
    auto* series = view->chart()->findChild<QLineSeries*>(name);
    ASSERT_NE(series, nullptr) << name;
    EXPECT_GT(series->count(), 1) << name;
    EXPECT_LE(series->count(), 121) << name;
  }
  auto* roc = panel->ChartRoc->chart();
  EXPECT_EQ(roc->findChild<QLineSeries*>("SeriesRocCount")->name(),
            "По кускам, площадь 0,544612534732942");
  EXPECT_EQ(roc->findChild<QLineSeries*>("SeriesRocMass")->name(),
            "По массе, площадь 0,549605368335928");
  auto* youden = roc->findChild<QScatterSeries*>("SeriesYouden");
  ASSERT_EQ(youden->count(), 1);
  EXPECT_EQ(youden->name(), "Граница по Юдену 67,55");

  // A bad cut-off grade: the message names the field, the figures stay.
  panel->EditCutoff->setText("abc");
  QTest::mouseClick(panel->ButtonCompute, Qt::LeftButton);
  EXPECT_EQ(h.errors.messages, std::vector<std::string>{"Граничное содержание: «abc» — не число"});
  EXPECT_FALSE(panel->computing());
  EXPECT_EQ(tableLines(panel->GridFigures), below);

  QTemporaryDir dir;
  const std::string file = dir.filePath("датчик.csv").toStdString();
  panel->setSaveFileChooser([file] { return file; });
  QTest::mouseClick(panel->ButtonSave, Qt::LeftButton);
  std::ifstream in(file, std::ios::binary);
  std::string header, first;
  std::getline(in, header);
  std::getline(in, first);
  EXPECT_EQ(header, "\xEF\xBB\xBFПоказатель;Значение\r");
  EXPECT_EQ(first, "Лучшая граница по параметру;67,55\r");
}

}  // namespace
}  // namespace ore::gui::test
