#include <gtest/gtest.h>

#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <algorithm>

#include "platform/gui/string_grid.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

QString headerText(StringGrid* g, int section, Qt::Orientation o) {
  return g->model().headerData(section, o, Qt::DisplayRole).toString();
}

// Every grid of the program, scrolled to its far corner, still shows its header row and its
// label column where they were, as header cells of a readable height, with the texts of the
// last row and column; unwrapped header texts fit their columns.
TEST(StringGridTest, FixedRowAndColumnStayInPlaceAtTheFarCorner) {
  Harness h;
  struct Case {
    const char* form;
    int cols, rows;
  };
  for (const Case& c : {Case{"TForm1", 30, 300}, Case{"TForm6", 2, 300}, Case{"TForm3", 2, 300},
                        Case{"TForm4", 11, 300}}) {
    SCOPED_TRACE(c.form);
    auto* g = h.find<StringGrid>(c.form, "StringGrid1");
    ASSERT_TRUE(g);
    g->window()->show();
    for (QWidget* w = g; w != g->window(); w = w->parentWidget()) w->show();
    if (std::string(c.form) == "TForm6") {
      // The column grid follows the count field at the dialog's next tick.
      h.find<QLineEdit>("TForm6", "Edit6")->setText("300");
      QTest::qWait(1100);
    } else {
      g->grid().resize(c.cols, c.rows);
      for (int r = 0; r < c.rows; ++r)
        for (int k = 0; k < c.cols; ++k)
          g->setCell(k, r,
                     r == 0 ? (k == 3 ? "параметр  " : "h" + std::to_string(k))
                            : std::to_string(k) + ":" + std::to_string(r));
      QTest::qWait(150);  // the results window's header tick
    }
    ASSERT_EQ(g->rowCount(), c.rows);
    const QRect top = g->horizontalHeader()->geometry();
    const QRect left = g->verticalHeader()->geometry();
    EXPECT_GE(top.height(), g->fontMetrics().height());
    EXPECT_GE(left.width(), g->fontMetrics().height());
    g->verticalScrollBar()->setValue(g->verticalScrollBar()->maximum());
    g->horizontalScrollBar()->setValue(g->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_GT(g->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(g->horizontalHeader()->isVisible());
    EXPECT_TRUE(g->verticalHeader()->isVisible());
    EXPECT_EQ(g->horizontalHeader()->geometry(), top);
    EXPECT_EQ(g->verticalHeader()->geometry(), left);
    const int lastRow = g->verticalHeader()->logicalIndexAt(g->viewport()->height() - 1);
    // The grid may end before the view's right edge.
    const int right = std::min(g->viewport()->width(),
                               g->horizontalHeader()->length() - g->horizontalHeader()->offset());
    const int lastCol = g->horizontalHeader()->logicalIndexAt(right - 1);
    EXPECT_EQ(lastRow, c.rows - 1);
    EXPECT_EQ(lastCol, c.cols - 1);
    EXPECT_EQ(headerText(g, lastRow, Qt::Vertical).toStdString(), g->cell(0, lastRow));
    EXPECT_EQ(headerText(g, lastCol, Qt::Horizontal).toStdString(), g->cell(lastCol, 0));
    if (!(g->horizontalHeader()->defaultAlignment() & Qt::TextWordWrap)) {
      for (int k = 1; k < c.cols; ++k) {
        const QString text = QString::fromStdString(g->cell(k, 0));
        EXPECT_GT(g->columnWidth(k), g->fontMetrics().horizontalAdvance(text)) << k;
      }
    }
    g->window()->hide();
  }
}

TEST(StringGridTest, CopyTablePutsEveryCellTextHeaderIncluded) {
  Harness h;
  auto* g = h.find<StringGrid>("TForm3", "StringGrid1");
  ASSERT_TRUE(g);
  g->grid().resize(2, 3);
  g->setCell(1, 0, "Карман");
  g->setCell(0, 1, "1");
  g->setCell(1, 1, "0,50");
  g->setCell(1, 2, "a<b");
  g->window()->show();
  g->window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(g->window()));
  g->setFocus();
  QTest::keyClick(g, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QMimeData* m = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->text(), QString("\tКарман\n1\t0,50\n\ta<b\n"));
  EXPECT_TRUE(m->html().contains("<td>0,50</td>"));
  EXPECT_TRUE(m->html().contains("<td>a&lt;b</td>"));
}

}  // namespace
}  // namespace ore::gui::test
