#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "data/results_layout.h"
#include "results/gui/results_window.h"
#include "results/results_header.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

// Runs the event loop until done() holds or ms have passed; true when it held.
template <class F>
bool waitUntil(F done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

std::vector<std::string> headerRow(const TextGrid& g) {
  std::vector<std::string> out;
  for (int c = 0; c < g.colCount(); ++c) out.push_back(g.cell(c, 0));
  return out;
}

TEST(ResultsWindowTest, StartsWithItsDefaults) {
  Harness h;
  TForm4* f = h.ctx.Form4;
  EXPECT_EQ(h.ws.ShowGraph4, ShowGraph4::Show);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SeparateWorkbook);
  EXPECT_TRUE(f->RadioButton6->isChecked());
  EXPECT_TRUE(f->RadioButton3->isChecked());
  EXPECT_EQ(f->RadioButton3->text(), "Показывать график  №4");  // two blanks
  EXPECT_EQ(f->Edit1->text(), "2");
  EXPECT_FALSE(f->Label1->isVisibleTo(f));
  EXPECT_FALSE(f->LabelNotes->isVisibleTo(f));
  EXPECT_EQ(f->Timer1->interval(), 100);
  EXPECT_TRUE(f->Timer1->isActive());
}

// The texts themselves are checked against the header writer's own tests; here the timer must
// write them, by position, for the content count of the moment, while the window is hidden.
TEST(ResultsWindowTest, TimerWritesTheHeaderRowForTheContentCount) {
  for (int contents : {0, 1, 3}) {
    Harness h;
    h.ws.ContentCount = contents;
    TextGrid& g = h.ctx.Form4->resultsGrid();
    const int columns = ResultsLayout(contents).columnCount();
    g.resize(columns, 3);
    g.setCell(1, 1, "body");
    TextGrid expected(columns, 1);
    results::writeResultsHeader(expected, contents);
    ASSERT_TRUE(waitUntil([&] { return g.cell(0, 0) == "№ фр"; }, 1000)) << contents;
    EXPECT_EQ(headerRow(g), headerRow(expected)) << contents;
    EXPECT_EQ(g.cell(1, 1), "body");
    EXPECT_EQ(g.colCount(), columns);
    EXPECT_EQ(g.rowCount(), 3);
  }
}

TEST(ResultsWindowTest, AnEditedHeaderCellIsRestoredAndAnEditedBodyCellStays) {
  Harness h;
  h.ws.ContentCount = 1;
  TextGrid& g = h.ctx.Form4->resultsGrid();
  g.resize(11, 3);
  ASSERT_TRUE(waitUntil([&] { return g.cell(2, 0) == "Выход, %"; }, 1000));
  TextGridModel& model = h.ctx.Form4->StringGrid1->model();
  model.setData(model.index(0, 2), "мой заголовок", Qt::EditRole);
  model.setData(model.index(1, 2), "12,5", Qt::EditRole);
  ASSERT_EQ(g.cell(2, 0), "мой заголовок");
  QElapsedTimer t;
  t.start();
  ASSERT_TRUE(waitUntil([&] { return g.cell(2, 0) == "Выход, %"; }, 1000));
  // One tick; some slack for a busy machine.
  EXPECT_LE(t.elapsed(), 250);
  QTest::qWait(250);
  EXPECT_EQ(g.cell(2, 1), "12,5");
}

TEST(ResultsWindowTest, DraggedColumnTakesItsBodyAlongAndTheHeaderStaysByPosition) {
  Harness h;
  h.ws.ContentCount = 1;
  StringGrid* grid = h.ctx.Form4->StringGrid1;
  TextGrid& g = grid->grid();
  g.resize(11, 2);
  for (int c = 0; c < 11; ++c) g.setCell(c, 1, "v" + std::to_string(c));
  ASSERT_TRUE(waitUntil([&] { return g.cell(0, 0) == "№ фр"; }, 1000));
  const std::vector<std::string> header = headerRow(g);
  grid->setColWidth(2, 150);
  grid->horizontalHeader()->moveSection(2, 4);  // as a drag of the column's grip does
  EXPECT_EQ(g.cell(4, 1), "v2");
  EXPECT_EQ(g.cell(2, 1), "v3");
  // Its width goes along too, and stays when the next run re-sizes the grid.
  EXPECT_EQ(grid->columnWidth(4), 150);
  EXPECT_EQ(grid->columnWidth(2), grid->horizontalHeader()->defaultSectionSize());
  g.resize(11, 5);
  EXPECT_EQ(grid->columnWidth(4), 150);
  ASSERT_TRUE(waitUntil([&] { return headerRow(g) == header; }, 1000));
  EXPECT_EQ(g.cell(4, 1), "v2");
}

TEST(ResultsWindowTest, ContentCountChangeShowsInTheHeaderWhileHidden) {
  Harness h;
  h.ws.ContentCount = 1;
  TextGrid& g = h.ctx.Form4->resultsGrid();
  g.resize(17, 2);
  ASSERT_TRUE(waitUntil([&] { return g.cell(5, 0) == "Выход, %"; }, 1000));
  h.ws.ContentCount = 2;
  ASSERT_TRUE(waitUntil([&] { return g.cell(7, 0) == "Выход, %"; }, 1000));
  EXPECT_EQ(g.cell(4, 0), "Содержание, %  №= 2");
  EXPECT_FALSE(h.ctx.Form4->isVisible());
}

TEST(ResultsWindowTest, TheTwoRadioGroupsAreIndependent) {
  Harness h;
  auto radio = [&](const char* n) { return h.find<QRadioButton>("TForm4", n); };
  h.ctx.Form4->show();
  QTest::mouseClick(radio("RadioButton4"), Qt::LeftButton);
  EXPECT_EQ(h.ws.ShowGraph4, ShowGraph4::Hide);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SeparateWorkbook);
  EXPECT_TRUE(radio("RadioButton6")->isChecked());
  QTest::mouseClick(radio("RadioButton5"), Qt::LeftButton);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SameWorkbook);
  EXPECT_EQ(h.ws.ShowGraph4, ShowGraph4::Hide);
  EXPECT_TRUE(radio("RadioButton4")->isChecked());
  QTest::mouseClick(radio("RadioButton3"), Qt::LeftButton);
  QTest::mouseClick(radio("RadioButton6"), Qt::LeftButton);
  EXPECT_EQ(h.ws.ShowGraph4, ShowGraph4::Show);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SeparateWorkbook);
}

TEST(ResultsWindowTest, ButtonsExportShowTheGraphAndHide) {
  Harness h;
  TForm4* f = h.ctx.Form4;
  f->show();
  h.ws.ReportMode =
      ReportMode::SameWorkbook;  // no report yet: the export fails before it writes anything
  QTest::mouseClick(h.find<QPushButton>("TForm4", "Button4"), Qt::LeftButton);
  EXPECT_EQ(h.errors.messages, std::vector<std::string>{"Invalid variant operation"});
  QTest::mouseClick(h.find<QPushButton>("TForm4", "Button1"), Qt::LeftButton);
  bool graphShown = false;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "TForm8") graphShown = w->isVisible();
  EXPECT_TRUE(graphShown);
  EXPECT_TRUE(f->isVisible());
  f->resultsGrid().resize(3, 2);
  f->resultsGrid().setCell(1, 1, "kept");
  QTest::mouseClick(h.find<QPushButton>("TForm4", "Button2"), Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->resultsGrid().cell(1, 1), "kept");
}

}  // namespace
}  // namespace ore::gui::test
