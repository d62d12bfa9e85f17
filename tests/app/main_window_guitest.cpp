#include <gtest/gtest.h>

#include <QAction>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "graph/gui/graph_window.h"
#include "import/gui/import_dialog.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

TEST(MainWindowTest, StartsWithOnlyTheMenuUsable) {
  Harness h;
  TForm1* f = h.ctx.Form1;
  EXPECT_EQ(f->windowTitle(), "Программа");
  EXPECT_FALSE(f->GroupBox1->isVisibleTo(f));
  EXPECT_FALSE(f->Button3->isVisibleTo(f));
  EXPECT_EQ(h.ws.LumpCount, 0);
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST(MainWindowTest, Button3ReadsTheEditedGridBackThenShowsTheDistributionDialog) {
  Harness h;
  h.ws.PocketBasis = PocketBasis::ByParam;
  h.ws.resizeLumps(2);
  h.ws.LumpCount = 2;
  TextGrid& g = h.ctx.Form1->StringGrid1->grid();
  g.resize(4, 3);
  const char* cells[2][3] = {{"1", "2,5", "7"}, {"3", "4", "1.5"}};
  for (int r = 1; r <= 2; ++r)
    for (int c = 1; c <= 3; ++c) g.setCell(c, r, cells[r - 1][c - 1]);
  h.ctx.Form1->Button3->click();
  // Row 2's parameter is written with a point: the read stops there, after its mass and content.
  ASSERT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.errors.messages[0], "'1.5' is not a valid floating point value");
  EXPECT_EQ(h.ws.Content[1], 2.5);
  EXPECT_EQ(h.ws.Mass[2], 3);
  EXPECT_EQ(h.ws.Content[2], 4);
  EXPECT_FALSE(h.ctx.Form7->isVisible());

  g.setCell(3, 2, "1,5");
  h.ctx.Form1->Button3->click();
  EXPECT_EQ(h.ws.Param[2], 1.5);
  EXPECT_TRUE(h.ctx.Form7->isVisible());
}

TEST(MainWindowTest, ModeTwoIgnoresTheParameterColumn) {
  Harness h;
  h.ws.PocketBasis = PocketBasis::ByContent;
  h.ws.resizeLumps(1);
  h.ws.LumpCount = 1;
  TextGrid& g = h.ctx.Form1->StringGrid1->grid();
  g.resize(4, 2);
  g.setCell(1, 1, "1");
  g.setCell(2, 1, "2");
  g.setCell(3, 1, "not a number");
  h.ctx.Form1->Button3->click();
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_EQ(h.ws.Param[1], 0);
}

}  // namespace
}  // namespace ore::gui::test

namespace ore::gui::test {
namespace {

// Every window exists from the start, hidden, with its caption; the creation steps of the later
// windows have stored their defaults into the shared record.
TEST(StartUpTest, CreatesAllEightWindowsWithCaptionsAndDefaults) {
  Harness h;
  const struct {
    QWidget* window;
    const char* name;
    const char* caption;
  } windows[] = {
      {h.ctx.Form1, "TForm1", "Программа"},
      {h.ctx.Form2, "TForm2", "Параметры расчета 1"},
      {h.ctx.Form3, "TForm3", "Параметры расчета 2"},
      {h.ctx.Form4, "TForm4", "Результат"},
      {h.ctx.Form5, "TForm5", "Гистограмма"},
      {h.ctx.Form6, "TForm6", "Загрузка файла"},
      {h.ctx.Form7, "TForm7", "Условие расчета 1"},
      {h.ctx.Form8, "TForm8", "График"},
  };
  for (const auto& w : windows) {
    ASSERT_NE(w.window, nullptr) << w.name;
    EXPECT_EQ(w.window->objectName().toStdString(), w.name);
    EXPECT_EQ(w.window->windowTitle().toStdString(), w.caption);
    EXPECT_FALSE(w.window->isVisible()) << w.name;
  }
  EXPECT_EQ(h.ws.PocketBasis, PocketBasis::ByContent);
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Content);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SeparateWorkbook);
  EXPECT_EQ(h.ws.ShowGraph4, ShowGraph4::Show);
  EXPECT_EQ(h.ws.LumpCount, 0);
}

TEST(StartUpTest, CountTextStaysAcrossRepaints) {
  Harness h;
  h.ctx.Form1->show();
  h.ctx.Form1->drawCountText("120  количество точек");
  h.ctx.Form1->repaint();
  QApplication::processEvents();
  EXPECT_EQ(h.ctx.Form1->countText().toStdString(), "120  количество точек");
}

}  // namespace
}  // namespace ore::gui::test
