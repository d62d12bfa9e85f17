// "Далее" of the pocket window: what the run is handed and what its calls do on the results and
// histogram windows.

#include <gtest/gtest.h>

#include <QPushButton>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "data/errors.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

using analysis::AnalysisOutcome;
using analysis::AnalysisView;

TEST(PocketWindowTest, NextHandsTheTablesToTheRunAndItsCallsReachTheWindows) {
  Harness h;
  TForm3* f = h.ctx.Form3;
  f->show();
  h.ws.LumpCount = 4;  // a sample is loaded: without lumps "Далее" refuses before the run
  h.ws.PocketCount = 2;
  f->StringGrid1->grid().resize(2, 3);
  f->StringGrid1->grid().setCell(1, 1, "0,5");
  f->StringGrid1->grid().setCell(1, 2, "1,0");
  std::vector<std::string> seen;
  f->setAnalysisRunner([&](Workspace& ws, const TextGrid& table, TextGrid& results,
                           const NumberFormat& fmt, AnalysisView& view, Progress*) {
    EXPECT_EQ(&ws, &h.ws);
    EXPECT_EQ(&table, &f->StringGrid1->grid());
    EXPECT_EQ(&results, &h.ctx.Form4->resultsGrid());
    EXPECT_EQ(fmt.decimalSeparator(), ',');
    view.showResultsWindows();
    seen.push_back(h.ctx.Form4->isVisible() && h.ctx.Form5->isVisible() ? "shown" : "hidden");
    results.resize(11, 3);
    results.setCell(1, 1, table.cell(1, 1));
    view.setHistogram({{1, 4, table.cell(1, 1), 0xFF0000}, {2, 0, table.cell(1, 2), 0xFF0000}});
    view.showLabel();
    seen.push_back(h.ctx.Form4->Label1->isVisible() ? "label" : "no label");
    view.setLabel("Число кусков  n=4       M=0,5");
    view.setPointsPerPage(2);
    return AnalysisOutcome{};
  });
  QTest::mouseClick(h.find<QPushButton>("TForm3", "Button1"), Qt::LeftButton);
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_EQ(seen, (std::vector<std::string>{"shown", "label"}));
  EXPECT_TRUE(f->isVisible());  // stays, behind the two
  EXPECT_EQ(h.ctx.Form4->resultsGrid().cell(1, 1), "0,5");
  EXPECT_EQ(h.ctx.Form4->Label1->text(), "Число кусков  n=4       M=0,5");
  BarChart* chart = h.ctx.Form5->Chart1;
  EXPECT_EQ(chart->pointsPerPage(), 2);
  EXPECT_EQ(chart->axisLabels(), (QStringList{"0,5", "1,0"}));
  ASSERT_EQ(chart->bars().size(), 2u);
  EXPECT_EQ(chart->bars()[0].y, 4);
  EXPECT_EQ(chart->barColor(1), QColor(255, 0, 0));
}

TEST(PocketWindowTest, ARunThatFailsShowsItsMessageOnceAndLeavesWhatItDid) {
  Harness h;
  h.ctx.Form3->show();
  h.ws.LumpCount = 1;
  h.ctx.Form3->setAnalysisRunner([](Workspace&, const TextGrid&, TextGrid&, const NumberFormat&,
                                    AnalysisView& view, Progress*) -> AnalysisOutcome {
    view.showResultsWindows();
    throw ConversionError("'' is not a valid floating point value");
  });
  QTest::mouseClick(h.find<QPushButton>("TForm3", "Button1"), Qt::LeftButton);
  EXPECT_EQ(h.errors.messages, std::vector<std::string>{"'' is not a valid floating point value"});
  EXPECT_TRUE(h.ctx.Form3->isVisible());
  EXPECT_TRUE(h.ctx.Form4->isVisible());
  EXPECT_TRUE(h.ctx.Form5->isVisible());
  EXPECT_FALSE(h.ctx.Form4->Label1->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the busy cursor is gone again
}

// A run past the dialog's threshold (here at once) shows the progress dialog; its "Отмена" stops
// the run at its next check, without a message, and the busy cursor goes.
TEST(PocketWindowTest, OtmenaOnTheProgressDialogStopsTheRunQuietly) {
  Harness h;
  h.ws.LumpCount = 1;
  TForm3* f = h.ctx.Form3;
  f->show();
  std::chrono::steady_clock::time_point t{};
  f->setProgressTiming({std::chrono::milliseconds(0), std::chrono::milliseconds(50),
                        [&t] { return t += std::chrono::milliseconds(100); }});
  int reports = 0;
  f->setAnalysisRunner([&](Workspace&, const TextGrid&, TextGrid&, const NumberFormat&,
                           AnalysisView& view, Progress* progress) -> AnalysisOutcome {
    view.showResultsWindows();
    for (reports = 1; reports <= 1000; ++reports) {
      progress->report(reports, 1000);
      progress->checkStop();
    }
    view.setLabel("done");
    return {};
  });
  bool clicked = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "ProgressDialog" && w->isVisible())
        if (auto* cancel = w->findChild<QPushButton*>()) {
          EXPECT_EQ(cancel->text(), QString("Отмена"));
          cancel->click();
          clicked = true;
        }
  });
  QTest::mouseClick(h.find<QPushButton>("TForm3", "Button1"), Qt::LeftButton);
  EXPECT_TRUE(clicked);
  EXPECT_LT(reports, 1000);
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_NE(h.ctx.Form4->Label1->text(), "done");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->objectName() == "ProgressDialog" && w->isVisible());
}

TEST(PocketWindowTest, TheRealRunReportsItsOutcomeInTheErrorBoxAtMostOnce) {
  Harness h;
  h.ctx.Form1->N7->trigger();
  QTest::mouseClick(h.find<QPushButton>("TForm7", "Button1"), Qt::LeftButton);
  QTest::mouseClick(h.find<QPushButton>("TForm2", "Button1"), Qt::LeftButton);
  ASSERT_TRUE(h.ctx.Form3->isVisible());
  // No limits typed: the run stops on a message (which one depends on how far it gets).
  QTest::mouseClick(h.find<QPushButton>("TForm3", "Button1"), Qt::LeftButton);
  EXPECT_LE(h.errors.messages.size(), 1u);
  for (const std::string& m : h.errors.messages) EXPECT_FALSE(m.empty());
  EXPECT_TRUE(h.ctx.Form3->isVisible());
}

TEST(PocketWindowTest, TheCurrentCellStaysOnTheLimitsAndFixedCellsAreLabels) {
  Harness h;
  StringGrid* g = h.ctx.Form3->StringGrid1;
  g->grid().resize(2, 4);
  h.ctx.Form3->show();
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, QPoint(10, 10));  // on cell (0, 0)
  EXPECT_EQ(g->currentIndex(), g->model().index(1, 1));
  g->setCurrentIndex(g->model().index(3, 1));
  QTest::keyClick(g, Qt::Key_Left);
  EXPECT_EQ(g->currentIndex(), g->model().index(3, 1));
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c) {
      const bool fixed = r == 0 || c == 0;
      const Qt::ItemFlags f = g->model().flags(g->model().index(r, c));
      EXPECT_EQ(bool(f & Qt::ItemIsEditable), !fixed) << r << c;
      EXPECT_EQ(bool(f & Qt::ItemIsSelectable), !fixed) << r << c;
    }
  EXPECT_FALSE(g->tabKeyNavigation());
}

TEST(PocketWindowTest, CancelGoesBackToTheParametersDialog) {
  Harness h;
  h.ctx.Form3->show();
  QTest::mouseClick(h.find<QPushButton>("TForm3", "Button2"), Qt::LeftButton);
  EXPECT_FALSE(h.ctx.Form3->isVisible());
  EXPECT_TRUE(h.ctx.Form2->isVisible());
  EXPECT_TRUE(h.errors.messages.empty());
}

}  // namespace
}  // namespace ore::gui::test
