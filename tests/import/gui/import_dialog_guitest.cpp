#include <gtest/gtest.h>

#include <QAction>

#include "app/main_window.h"
#include "data/errors.h"
#include "import/gui/import_dialog.h"
#include "platform/workbook/workbook_reader.h"
#include "tests/gui_harness.h"
#include "tests/import/test_workbooks.h"

namespace ore::gui::test {
namespace {

using ore::test::numberSheet;
using ore::test::WorkbookLibrary;

struct Dialog {
  Dialog() {
    f = h.ctx.Form6;
    h.ctx.Form1->N2->trigger();
  }
  // Types into an edit as the user does: the old text selected, then replaced.
  void type(const char* name, const char* text) {
    auto* e = h.find<QLineEdit>("TForm6", name);
    e->selectAll();
    if (*text)
      QTest::keyClicks(e, text);
    else
      QTest::keyClick(e, Qt::Key_Delete);
  }

  Harness h;
  TForm6* f = nullptr;
};

TEST(ImportDialogTest, StartsWithTheDesignedControls) {
  Dialog d;
  EXPECT_TRUE(d.f->isVisible());
  EXPECT_EQ(d.f->windowTitle(), "Загрузка файла");
  EXPECT_EQ(d.h.ws.PocketBasis, PocketBasis::ByContent);
  EXPECT_EQ(d.f->Edit6->text(), "1");
  EXPECT_EQ(d.h.find<QWidget>("TForm6", "Button1")->geometry(), QRect(480, 280, 75, 25));
  EXPECT_FALSE(d.f->Edit3->isVisible());
  EXPECT_FALSE(d.f->Label3->isVisible());
  EXPECT_TRUE(d.f->RadioButton1->isChecked());
  auto* timer = d.f->findChild<QTimer*>("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 1000);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(d.f->StringGrid1->colCount(), 2);
}

TEST(ImportDialogTest, TypingACountGivesTheColumnGridRowsWithinASecond) {
  Dialog d;
  d.type("Edit6", "3");
  ASSERT_TRUE(QTest::qWaitFor([&] { return d.h.ws.ContentCount == 3; }, 1500));
  const TextGrid& g = d.f->StringGrid1->grid();
  ASSERT_EQ(g.rowCount(), 3);
  EXPECT_EQ(g.cell(0, 0), "");
  EXPECT_EQ(g.cell(0, 1), "2");
  EXPECT_EQ(g.cell(0, 2), "3");
  d.f->StringGrid1->grid().setCell(1, 1, "E");
  d.f->Timer1Timer();
  EXPECT_EQ(d.h.ws.ContentColumns[1], 5);
  EXPECT_EQ(d.h.ws.ContentColumns[2], 5);
}

TEST(ImportDialogTest, RadioButtonsShowAndHideTheParameterField) {
  Dialog d;
  d.f->RadioButton2->click();
  EXPECT_TRUE(d.f->Edit3->isVisible());
  EXPECT_TRUE(d.f->Label3->isVisible());
  EXPECT_FALSE(d.f->RadioButton1->isChecked());
  EXPECT_EQ(d.h.ws.PocketBasis, PocketBasis::ByParam);
  d.type("Edit3", "F");
  d.f->RadioButton1->click();
  EXPECT_FALSE(d.f->Edit3->isVisible());
  EXPECT_FALSE(d.f->Label3->isVisible());
  EXPECT_EQ(d.h.ws.PocketBasis, PocketBasis::ByContent);
  d.f->RadioButton2->click();
  EXPECT_EQ(d.f->Edit3->text(), "F");
}

TEST(ImportDialogTest, CancelHidesTheDialogAndKeepsItsTexts) {
  Dialog d;
  d.type("Edit1", "E");
  d.type("Edit5", "3");
  d.f->RadioButton2->click();
  d.f->Button2->click();
  EXPECT_FALSE(d.f->isVisible());
  d.h.ctx.Form1->N2->trigger();
  EXPECT_TRUE(d.f->isVisible());
  EXPECT_EQ(d.f->Edit1->text(), "E");
  EXPECT_EQ(d.f->Edit5->text(), "3");
  EXPECT_TRUE(d.f->RadioButton2->isChecked());
  EXPECT_EQ(d.h.ws.PocketBasis, PocketBasis::ByParam);
  EXPECT_TRUE(d.h.errors.messages.empty());
}

TEST(ImportDialogTest, ACountThatIsNotAnIntegerIsShownAtTheFieldOncePerText) {
  Dialog d;
  const std::vector<std::string>& shown = d.f->countFieldMark().shown();
  d.f->Timer1Timer();
  ASSERT_EQ(d.h.ws.ContentCount, 1);
  d.f->Edit6->setFocus();
  d.type("Edit6", "-");
  for (int i = 0; i < 3; ++i) d.f->Timer1Timer();
  EXPECT_EQ(shown, std::vector<std::string>{"'-' is not a valid integer value"});
  EXPECT_EQ(d.f->Edit6->toolTip(), "'-' is not a valid integer value");
  EXPECT_EQ(d.f->StatusLine->text(), "'-' is not a valid integer value");
  EXPECT_EQ(d.h.ws.ContentCount, 1);
  // The user goes on typing: nothing took the focus, the "3" lands in the field.
  QTest::keyClicks(d.f->Edit6, "3");
  EXPECT_EQ(d.f->Edit6->text(), "-3");
  d.type("Edit6", "x2");
  d.f->Timer1Timer();
  d.f->Timer1Timer();
  EXPECT_EQ(shown.size(), 2u);
  d.type("Edit6", "2");
  d.f->Timer1Timer();
  EXPECT_EQ(d.h.ws.ContentCount, 2);
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_TRUE(d.f->StatusLine->text().isEmpty());
  EXPECT_TRUE(d.f->Edit6->toolTip().isEmpty());
  d.type("Edit6", "x");
  d.f->Timer1Timer();
  EXPECT_EQ(shown.size(), 3u) << "shown again after it was corrected";
  d.type("Edit6", "");
  d.f->Timer1Timer();
  EXPECT_EQ(shown.size(), 3u) << "an empty field does nothing";
  EXPECT_TRUE(d.f->Edit6->isEnabled());
  EXPECT_TRUE(d.h.errors.messages.empty());
}

struct Import : Dialog {
  Import() {
    std::vector<Sheet> sheets;
    sheets.push_back(numberSheet(
        "Проба 1", 2, {{10.5, 1.5, 2.5, 7, 8}, {11.25, 2.25, 3.5, 9, 10}, {0, 3, 4, 5, 6}}));
    library.add("mem/three.xlsx", ore::test::bookOf(std::move(sheets)));
    h.ctx.createObject = library.objects();
    h.ctx.Form1->setOpenFileChooser([this] {
      ++chosen;
      return file;
    });
    f->Timer1Timer();
  }
  WorkbookLibrary library;
  std::string file = "mem/three.xlsx";
  int chosen = 0;
};

TEST(ImportDialogTest, OkReadsTheWorkbookIntoTheMainWindow) {
  Import d;
  d.type("Edit6", "3");
  d.f->StringGrid1->grid().setRowCount(3);
  d.f->StringGrid1->grid().setCell(1, 1, "E");
  d.f->StringGrid1->grid().setCell(1, 2, "F");
  d.f->Timer1Timer();
  d.f->RadioButton2->click();
  d.f->Button1->click();

  EXPECT_TRUE(d.h.errors.messages.empty()) << d.h.errors.messages[0];
  EXPECT_EQ(d.chosen, 1);
  EXPECT_FALSE(d.f->isVisible());
  EXPECT_EQ(d.f->caption(), "  количество точек");
  TForm1* main = d.h.ctx.Form1;
  EXPECT_TRUE(main->Button3->isVisibleTo(main));
  EXPECT_TRUE(main->GroupBox1->isVisibleTo(main));
  EXPECT_EQ(main->countText(), "3  количество точек");
  ASSERT_EQ(d.h.ws.LumpCount, 3);
  EXPECT_EQ(d.h.ws.Mass[3], 0);
  EXPECT_EQ(d.h.ws.ExtraContents[2][2], 10);
  const TextGrid& g = main->StringGrid1->grid();
  ASSERT_EQ(g.rowCount(), 4);
  ASSERT_EQ(g.colCount(), 6);
  EXPECT_EQ(g.cell(3, 0), "параметр  ");
  EXPECT_EQ(g.cell(1, 2), "11,25");
  EXPECT_EQ(g.cell(5, 2), "10");
}

TEST(ImportDialogTest, AColumnGridRowWithoutALetterFailsAtItsFirstRead) {
  Import d;
  d.type("Edit6", "2");
  d.f->Timer1Timer();
  ASSERT_EQ(d.h.ws.ContentColumns[1], 0);
  d.f->Button1->click();
  ASSERT_EQ(d.h.errors.messages.size(), 1u);
  EXPECT_EQ(d.h.errors.messages[0],
            "Лист «Проба 1» книги «three.xlsx», строка 2: номер столбца 0 недопустим, столбцы "
            "листа нумеруются от 1 (A) до 16384 (XFD)");
  EXPECT_EQ(d.h.ws.LumpCount, 3);
  EXPECT_EQ(d.h.ws.Mass[1], 10.5);
  EXPECT_FALSE(d.f->isVisible());
  EXPECT_TRUE(d.h.ctx.Form1->Button3->isVisibleTo(d.h.ctx.Form1));
  EXPECT_FALSE(d.h.ctx.Form1->GroupBox1->isVisibleTo(d.h.ctx.Form1));
}

TEST(ImportDialogTest, CancellingTheFileDialogShowsTheEmptyGroup) {
  Import d;
  d.file = "";
  d.f->Button1->click();
  EXPECT_TRUE(d.h.errors.messages.empty());
  EXPECT_FALSE(d.f->isVisible());
  EXPECT_TRUE(d.h.ctx.Form1->GroupBox1->isVisibleTo(d.h.ctx.Form1));
  EXPECT_FALSE(d.h.ctx.Form1->Button3->isVisibleTo(d.h.ctx.Form1));
  EXPECT_EQ(d.h.ws.LumpCount, 0);
}

TEST(ImportDialogTest, AStartRowThatIsNotANumberKeepsTheDialogOpen) {
  Import d;
  d.f->Edit4->setText("два");  // the test keyboard knows Latin keys only
  d.f->Button1->click();
  EXPECT_EQ(d.h.errors.messages, std::vector<std::string>{"'два' is not a valid integer value"});
  EXPECT_TRUE(d.f->isVisible());
  EXPECT_EQ(d.chosen, 0);
}

TEST(ImportDialogTest, ImportsTheBasicWorkbookFile) {
  const std::string path = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";
  try {
    readWorkbook(path);
  } catch (const Error& e) {
    if (std::string(e.what()).find("пока не реализовано") != std::string::npos)
      GTEST_SKIP() << e.what();
  }
  Dialog d;
  d.h.ctx.Form1->setOpenFileChooser([&] { return path; });
  d.type("Edit6", "3");
  d.f->StringGrid1->grid().setRowCount(3);
  d.f->StringGrid1->grid().setCell(1, 1, "E");
  d.f->StringGrid1->grid().setCell(1, 2, "F");
  d.f->Timer1Timer();
  d.f->Button1->click();

  ASSERT_TRUE(d.h.errors.messages.empty()) << d.h.errors.messages[0];
  const Workspace& ws = d.h.ws;
  ASSERT_EQ(ws.LumpCount, 120);
  const double first[] = {429.2, 8.764, 84.95, 3.3917, 0.6064};
  const double last[] = {396.62, 2.269, 71.25, 5.9674, 0.8386};
  const double* fields[] = {ws.Mass.data(), ws.Content.data(), ws.Param.data(),
                            ws.ExtraContents[1].data(), ws.ExtraContents[2].data()};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(fields[i][1], first[i]) << i;
    EXPECT_EQ(fields[i][120], last[i]) << i;
  }
  const TextGrid& g = d.h.ctx.Form1->StringGrid1->grid();
  ASSERT_EQ(g.rowCount(), 121);
  EXPECT_EQ(g.cell(1, 1), "429,2");
  EXPECT_EQ(g.cell(4, 120), "0,8386");
  EXPECT_EQ(d.h.ctx.Form1->countText(), "120  количество точек");
}

}  // namespace
}  // namespace ore::gui::test
