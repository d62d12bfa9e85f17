// The sortability window over the 120-lump workbook: opened from the main menu, its best cut as
// orefrac-batch gives it, the minimum content's refusals, and the curve table saved as .csv.

#include <gtest/gtest.h>

#include <QAction>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QValueAxis>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/main_window.h"
#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "gui_harness.h"
#include "platform/gui/picture_export.h"
#include "results/gui/results_window.h"
#include "study/gui/sortability_window.h"

namespace ore::gui::test {
namespace {

const std::string kBasic = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";

// The program after an import of three contents and a run over five pockets.
struct Loaded : Harness {
  Loaded() {
    const batch::Options o = batch::parseOptions(
        {kBasic, "--contents", "3", "--extra", "E,F", "--decimal", ",", "--limits", "3;6;9;12;15"});
    batch::BatchState s(',');
    batch::importStage(o, s);
    batch::analysisStage(o, s);
    ws = s.ws;
    ctx.Form4->resultsGrid() = s.results;
    ctx.Form1->NSortability->trigger();
  }
  SortabilityWindow* window() {
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->objectName() == kWindow) return qobject_cast<SortabilityWindow*>(t);
    return nullptr;
  }
  std::string best(int row) { return find<StringGrid>(kWindow, "GridBest")->cell(1, row); }
  // The resamples run beside the window: their figures come through the event loop.
  bool waitForResamples() {
    return QTest::qWaitFor([&] { return !window()->bootstrapRunning(); }, 30000);
  }
  static constexpr const char* kWindow = "SortabilityWindow";
};

TEST(SortabilityWindowTest, TheMenuOpensTheCurvesWithTheBestCutAndThePocketCuts) {
  Loaded h;
  SortabilityWindow* w = h.window();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Кривые обогатимости");
  EXPECT_TRUE(h.errors.messages.empty());
  // The best cut at once, at the calculation's precision (0,01; the key one decimal more).
  EXPECT_EQ(h.best(1), "7,35");
  EXPECT_EQ(h.best(2), "24");
  EXPECT_EQ(h.best(6), "1000");
  EXPECT_EQ(h.best(8), "считается…");
  EXPECT_EQ(h.best(10), "считается…");
  ASSERT_TRUE(h.waitForResamples());
  EXPECT_EQ(h.best(8), "от 70,13 до 85,92");
  EXPECT_EQ(h.best(10), "89 % (890 из 1000)");
  EXPECT_FALSE(w->PanelBootstrap->isVisible());
  // Every label whole: its row as high as the label wrapped in the label column.
  const StringGrid* grid = w->GridBest;
  const QFontMetrics fm(grid->verticalHeader()->font());
  for (int r = 1; r < grid->rowCount(); ++r) {
    const QString label = QString::fromStdString(grid->cell(0, r));
    const QRect box =
        fm.boundingRect(QRect(0, 0, grid->columnWidth(0) - 8, 10000), Qt::TextWordWrap, label);
    EXPECT_LE(box.height(), grid->rowHeight(r)) << label.toStdString();
  }
  // The content axes end at the first round value above the largest content (of 12 to 15 %): 15,
  // not 20 as four steps of a round 5 would.
  for (QChartView* view : {w->ChartCurves, w->ChartGrade}) {
    const auto axes = view->chart()->axes(Qt::Vertical);
    EXPECT_EQ(qobject_cast<QValueAxis*>(axes.back())->max(), 15)
        << view->objectName().toStdString();
  }

  // Five pockets: tails yield and recovery at each limit; four concentrates.
  auto* pockets = w->ChartCurves->chart()->findChild<QScatterSeries*>("SeriesPocketCuts");
  ASSERT_NE(pockets, nullptr);
  EXPECT_EQ(pockets->count(), 10);
  EXPECT_EQ(w->ChartGrade->chart()->findChild<QScatterSeries*>("SeriesPocketGrade")->count(), 4);
  // 119 cuts, thinned to the plot's columns at most four points each.
  auto* tails = w->ChartCurves->chart()->findChild<QLineSeries*>("SeriesTailsYield");
  ASSERT_NE(tails, nullptr);
  EXPECT_GT(tails->count(), 1);
  EXPECT_LE(tails->count(), 119);
}

// After a new import the results grid still holds the earlier lumps' pockets: no points, until an
// analysis of the new lumps.
TEST(SortabilityWindowTest, PocketCutsOfTheLumpsLoadedBeforeAreNotMarked) {
  Loaded h;
  SortabilityWindow* w = h.window();
  ASSERT_NE(w, nullptr);
  auto count = [&] {
    return w->ChartCurves->chart()->findChild<QScatterSeries*>("SeriesPocketCuts")->count() +
           w->ChartGrade->chart()->findChild<QScatterSeries*>("SeriesPocketGrade")->count();
  };
  ASSERT_EQ(count(), 14);

  const batch::Options o =
      batch::parseOptions({kBasic, "--content", "E", "--decimal", ",", "--limits", "2;4;6"});
  batch::BatchState s(',');
  s.ws = h.ws;
  batch::importStage(o, s);
  h.ws = s.ws;
  h.ctx.Form1->NSortability->trigger();
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(w->LabelPockets->text(),
            "Границы карманов: последний расчет по карманам сделан по другим исходным данным");

  batch::analysisStage(o, s);
  h.ws = s.ws;
  h.ctx.Form4->resultsGrid() = s.results;
  h.ctx.Form1->NSortability->trigger();
  EXPECT_EQ(count(), 8);  // three pockets, two with a concentrate
  EXPECT_EQ(w->LabelPockets->text(), "Границы карманов последнего расчета отмечены точками: 3");
  EXPECT_TRUE(h.errors.messages.empty());
}

// Both charts keep their picture from the right-click menu: PNG as shown, PDF as printed.
TEST(SortabilityWindowTest, BothChartsAreSavedAsPngAndPdfFromTheirMenu) {
  Loaded h;
  SortabilityWindow* w = h.window();
  ASSERT_NE(w, nullptr);
  QTemporaryDir dir;
  QStringList asked;
  QString next;
  h.ctx.choosePictureFile = [&](QWidget*, const QStringList& types) {
    asked = types;
    return next;
  };

  for (QChartView* view : {w->ChartCurves, w->ChartGrade}) {
    for (const char* ending : {"png", "pdf"}) {
      SCOPED_TRACE(view->objectName().toStdString() + "." + ending);
      next = dir.filePath(view->objectName() + "." + ending);
      pickSaveAs();
      emit view->customContextMenuRequested(QPoint(50, 50));
      EXPECT_EQ(asked, (QStringList{"PNG (*.png)", "PDF (*.pdf)"}));
      QFile file(next);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      if (QString(ending) == "png")
        EXPECT_EQ(QImage(next).size(), view->size());
      else
        EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    }
  }
  EXPECT_TRUE(h.errors.messages.empty());
}

TEST(SortabilityWindowTest, ABadMinimumContentChangesNothingAndOneNoCutReachesClearsTheBestCut) {
  Loaded h;
  auto* edit = h.find<QLineEdit>(Loaded::kWindow, "EditMinGrade");
  auto* compute = h.find<QPushButton>(Loaded::kWindow, "ButtonCompute");
  ASSERT_NE(edit, nullptr);
  edit->setText("1.5");
  compute->click();
  ASSERT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.errors.messages[0], "Минимальное содержание: «1.5» — не число");
  EXPECT_EQ(h.best(1), "7,35");

  edit->setText("50");
  compute->click();
  ASSERT_EQ(h.errors.messages.size(), 2u);
  EXPECT_EQ(h.errors.messages[1],
            "Ни одна граница не дает содержания элемента 1 в концентрате не ниже 50: лучшая "
            "граница не определена");
  EXPECT_EQ(h.find<StringGrid>(Loaded::kWindow, "GridBest")->rowCount(), 1);

  // The curve stays and saves: a header and a row per cut, as --curve writes them, by ';'.
  QTemporaryDir dir;
  const std::string path = QDir(dir.path()).filePath("кривая.csv").toStdString();
  h.window()->setSaveFileChooser([&] { return path; });
  h.find<QPushButton>(Loaded::kWindow, "ButtonSave")->click();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !h.window()->saveRunning(); }, 30000));
  EXPECT_EQ(h.errors.messages.size(), 2u);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string csv = text.str();
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFГраница;Выход хвостов, %;Содержание в хвостах, %  №= 1;", 0),
            0u);
  EXPECT_NE(csv.find("\r\n0;0,775515753627746;0;4,3103;2,4229;0;"), std::string::npos);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 120);
}

// The resamples beside the window: "Отмена" stops them, "Рассчитать" starts them again, closing
// the window stops them, and what was finished is shown again at once.
TEST(SortabilityWindowTest, TheResamplesStopAndStartAgainAndTheirFiguresAreKept) {
  Loaded h;
  SortabilityWindow* w = h.window();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->bootstrapRunning());
  EXPECT_TRUE(w->PanelBootstrap->isVisible());
  w->ButtonCancelBootstrap->click();
  EXPECT_FALSE(w->bootstrapRunning());
  EXPECT_FALSE(w->PanelBootstrap->isVisible());
  EXPECT_EQ(h.best(8), "остановлено");
  QTest::qWait(50);  // the stopped run's figures never arrive
  EXPECT_EQ(h.best(8), "остановлено");

  w->ButtonCompute->click();
  EXPECT_EQ(h.best(8), "считается…");
  w->ButtonCompute->click();  // again: the first run is dropped, one run goes on
  EXPECT_TRUE(w->bootstrapRunning());
  w->hide();
  EXPECT_FALSE(w->bootstrapRunning());

  h.ctx.Form1->NSortability->trigger();
  ASSERT_TRUE(h.waitForResamples());
  EXPECT_EQ(h.best(8), "от 70,13 до 85,92");
  w->hide();
  h.ctx.Form1->NSortability->trigger();  // the same lumps, key and minimum: nothing to run
  EXPECT_FALSE(w->bootstrapRunning());
  EXPECT_EQ(h.best(8), "от 70,13 до 85,92");
  EXPECT_TRUE(h.errors.messages.empty());
}

}  // namespace
}  // namespace ore::gui::test
