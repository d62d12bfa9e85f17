#include <gtest/gtest.h>

#include <QAction>
#include <QSignalSpy>
#include <QTabBar>
#include <QTableView>

#include "platform/gui/report_window.h"
#include "tests/gui_harness.h"
#include "tests/platform/workbook/cells.h"
#include "tests/platform/workbook/xlsx/xlsx_writer_readback.h"

namespace ore::gui::test {
namespace {

using ore::test::cellXml;
using ore::test::sheetNames;
using ore::test::sheetXml;
using ore::test::TempDir;

using ore::test::number;
using ore::test::text;

// A report application's workbook as the export leaves it, and the window over it.
struct Report {
  Report() {
    wb.sheets.emplace_back("Отчет");
    wb.sheets.emplace_back("Лист2");
    window.setWorkbook(&wb, "Книга1");
    window.show();
  }
  void write(int sheet, int row, int col, Cell c) {
    wb.sheets[size_t(sheet)].set(row, col, std::move(c));
    window.cellWritten(sheet, row, col);
  }
  QString shown(int row, int col) {
    QAbstractItemModel* m = window.grid()->model();
    return m->data(m->index(row - 1, col - 1), Qt::DisplayRole).toString();
  }
  RecordingErrorBox errors;
  NumberFormat fmt{','};
  Workbook wb;
  ReportWindow window{errors, fmt};
};

TEST(ReportWindowTest, WrittenCellsAppearOnTheActiveSheet) {
  Report r;
  EXPECT_EQ(r.window.windowTitle(), "Книга1[*] — отчет orefrac");
  EXPECT_FALSE(r.window.isModified());
  ASSERT_EQ(r.window.sheetTabs()->count(), 2);
  EXPECT_EQ(r.window.sheetTabs()->tabText(0), "Отчет");

  r.write(0, 1, 1, text("Фракционный состав"));
  r.write(0, 5, 1, number(1, "=1"));
  r.write(0, 180, 40, number(12.5));  // beyond the rows and columns shown so far
  r.write(1, 2, 2, number(99));       // another sheet: no repaint of this one
  QTest::qWait(120);                  // the coalesced repaint
  EXPECT_EQ(r.shown(1, 1), "Фракционный состав");
  EXPECT_EQ(r.shown(5, 1), "1");
  EXPECT_GE(r.window.grid()->model()->rowCount(), 180);
  EXPECT_GE(r.window.grid()->model()->columnCount(), 40);
  EXPECT_EQ(r.shown(180, 40), "12,5");
  EXPECT_EQ(r.window.grid()->model()->headerData(39, Qt::Horizontal).toString(), "AN");
  EXPECT_TRUE(r.window.isModified());
  EXPECT_TRUE(r.window.isWindowModified());

  // The user picks the other sheet: the grid shows it and the application is told.
  QSignalSpy chosen(&r.window, &ReportWindow::activeSheetChosen);
  r.window.sheetTabs()->setCurrentIndex(1);
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toInt(), 1);
  EXPECT_EQ(r.shown(2, 2), "99");
  // The application switches back: no echo.
  r.window.setActiveSheet(0);
  EXPECT_EQ(chosen.count(), 1);
  EXPECT_EQ(r.shown(1, 1), "Фракционный состав");

  // A renamed and an added sheet show after workbookChanged.
  r.wb.sheets[1].setName("Итоги");
  r.wb.sheets.emplace_back("Лист3");
  r.window.workbookChanged();
  ASSERT_EQ(r.window.sheetTabs()->count(), 3);
  EXPECT_EQ(r.window.sheetTabs()->tabText(1), "Итоги");
  EXPECT_EQ(r.window.activeSheet(), 0);
}

TEST(ReportWindowTest, EditedCellsTakeNumbersWithTheDecimalComma) {
  Report r;
  QAbstractItemModel* m = r.window.grid()->model();
  ASSERT_TRUE(m->flags(m->index(2, 1)) & Qt::ItemIsEditable);
  m->setData(m->index(2, 1), "3,25", Qt::EditRole);
  m->setData(m->index(2, 2), "3.25", Qt::EditRole);
  m->setData(m->index(2, 3), "=4", Qt::EditRole);
  const Cell& a = r.wb.sheets[0].cell(3, 2);
  EXPECT_EQ(a.type, Cell::Type::Number);
  EXPECT_EQ(a.number, 3.25);
  EXPECT_EQ(r.wb.sheets[0].cell(3, 3).type, Cell::Type::Text);
  EXPECT_EQ(r.wb.sheets[0].cell(3, 4).formula, "=4");
  EXPECT_EQ(m->data(m->index(2, 3), Qt::EditRole).toString(), "=4");
  EXPECT_EQ(r.shown(3, 4), "4");
  EXPECT_TRUE(r.window.isModified());
}

TEST(ReportWindowTest, SaveAsWritesAFileThatReadsBack) {
  Report r;
  TempDir dir;
  r.write(0, 1, 1, text("Хвосты   "));
  r.write(0, 5, 1, number(1, "=1"));
  r.write(0, 5, 2, number(0.25));
  QString suggested;
  r.window.setSaveFileChooser([&](const QString& s) {
    suggested = s;
    return QString::fromStdString(dir.file("отчет"));  // typed without an extension
  });
  EXPECT_EQ(r.window.saveAsAction()->text(), "Сохранить как…");
  EXPECT_EQ(r.window.saveAsAction()->shortcut(), QKeySequence("Ctrl+S"));
  r.window.saveAsAction()->trigger();
  EXPECT_TRUE(r.errors.messages.empty()) << r.errors.messages.front();
  EXPECT_TRUE(suggested.endsWith("Книга1.xlsx"));

  const std::string file = dir.file("отчет.xlsx");
  EXPECT_EQ(sheetNames(file), (std::vector<std::string>{"Отчет", "Лист2"}));
  const std::string xml = sheetXml(file, 1);
  EXPECT_NE(cellXml(xml, "A1").find(">Хвосты   </t>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "A5").find("<f>1</f><v>1</v>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "B5").find("<v>0.25</v>"), std::string::npos);
  EXPECT_FALSE(r.window.isModified());
  EXPECT_EQ(r.window.windowTitle(), "отчет[*] — отчет orefrac");

  // A failed save says why and leaves the workbook unsaved.
  r.write(0, 6, 1, number(2, "=2"));
  r.window.setSaveFileChooser(
      [&](const QString&) { return QString::fromStdString(dir.file("нет/отчет.xlsx")); });
  r.window.saveAsAction()->trigger();
  ASSERT_EQ(r.errors.messages.size(), 1u);
  EXPECT_NE(r.errors.messages[0].find(dir.file("нет/отчет.xlsx")), std::string::npos);
  EXPECT_TRUE(r.window.isModified());
}

TEST(ReportWindowTest, ClosingAnUnsavedReportAsksFirst) {
  Report r;
  TempDir dir;
  QSignalSpy closed(&r.window, &ReportWindow::closed);
  std::vector<QString> questions;
  ReportWindow::CloseAnswer answer = ReportWindow::CloseAnswer::Cancel;
  r.window.setClosePrompt([&](const QString& q) {
    questions.push_back(q);
    return answer;
  });

  r.write(0, 1, 1, number(1));
  EXPECT_FALSE(r.window.close());  // Отмена keeps it open
  EXPECT_TRUE(r.window.isVisible());
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0], "Сохранить изменения в книге «Книга1»?");
  EXPECT_EQ(closed.count(), 0);

  // Сохранить, but the save fails: still open.
  answer = ReportWindow::CloseAnswer::Save;
  r.window.setSaveFileChooser(
      [&](const QString&) { return QString::fromStdString(dir.file("нет/a.xlsx")); });
  EXPECT_FALSE(r.window.close());
  EXPECT_TRUE(r.window.isVisible());
  EXPECT_EQ(r.errors.messages.size(), 1u);
  // Сохранить, the user cancels the file dialog: still open.
  r.window.setSaveFileChooser([](const QString&) { return QString(); });
  EXPECT_FALSE(r.window.close());
  // Сохранить for real: saved, then closed.
  r.window.setSaveFileChooser(
      [&](const QString&) { return QString::fromStdString(dir.file("a.xlsx")); });
  EXPECT_TRUE(r.window.close());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(sheetNames(dir.file("a.xlsx")).size(), 2u);

  // Saved and shown again: closing asks nothing.
  r.window.show();
  questions.clear();
  EXPECT_TRUE(r.window.close());
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(closed.count(), 2);

  // Не сохранять closes without a file.
  r.window.show();
  r.write(0, 2, 1, number(2));
  answer = ReportWindow::CloseAnswer::Discard;
  EXPECT_TRUE(r.window.close());
  EXPECT_EQ(questions.size(), 1u);
}

TEST(ReportWindowTest, TheProgramAsksEveryUnsavedReportBeforeItCloses) {
  Report saved, unsaved, empty;
  unsaved.write(0, 1, 1, number(1));
  empty.window.setWorkbook(nullptr, {});
  int asked = 0;
  ReportWindow::CloseAnswer answer = ReportWindow::CloseAnswer::Cancel;
  for (Report* r : {&saved, &unsaved, &empty})
    r->window.setClosePrompt([&](const QString&) {
      ++asked;
      return answer;
    });
  const std::vector<ReportWindow*> all{&saved.window, &unsaved.window, &empty.window};
  EXPECT_FALSE(ReportWindow::confirmCloseAll(all));
  EXPECT_EQ(asked, 1);
  answer = ReportWindow::CloseAnswer::Discard;
  EXPECT_TRUE(ReportWindow::confirmCloseAll(all));
  EXPECT_EQ(asked, 2);
  // Once the program's close is agreed, the windows close without asking again.
  EXPECT_TRUE(unsaved.window.close());
  EXPECT_EQ(asked, 2);
}

}  // namespace
}  // namespace ore::gui::test
