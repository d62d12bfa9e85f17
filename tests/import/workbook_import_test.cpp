#include "import/workbook_import.h"

#include <gtest/gtest.h>

#include <functional>

#include "data/errors.h"
#include "import/content_columns.h"
#include "tests/import/recording_object.h"
#include "tests/import/test_workbooks.h"

namespace ore::test {
namespace {

// The windows as the import sees them: every step recorded in order.
class FakeView : public ImportView {
 public:
  void drawDialogCaption(const std::string& text) override { events.push_back("caption:" + text); }
  std::string chooseFile() override {
    events.push_back("choose");
    return file;
  }
  void showButton3() override { events.push_back("button3"); }
  void hideDialog() override { events.push_back("hide"); }
  void drawCountText(const std::string& text) override { events.push_back("count:" + text); }
  TextGrid& sourceGrid() override { return grid; }
  void showGroup() override { events.push_back("group"); }
  void setBusy(bool on) override { events.push_back(on ? "busy" : "idle"); }

  bool saw(const std::string& e) const {
    return std::find(events.begin(), events.end(), e) != events.end();
  }

  std::string file = "mem/book.xlsx";
  std::vector<std::string> events;
  TextGrid grid;
};

// 120 lumps in rows 2 to 121: mass B, content C, parameter D, further contents E to M.
std::vector<std::vector<double>> lumpRows(int n) {
  std::vector<std::vector<double>> rows;
  for (int i = 1; i <= n; ++i) {
    std::vector<double> r = {100.0 + i, i / 4.0, 50.0 - i};
    for (int k = 1; k <= 9; ++k) r.push_back(k * 1000 + i);
    rows.push_back(r);
  }
  return rows;
}

struct ImportFixture : ::testing::Test {
  ImportFixture() : fmt(',') {
    ws.PocketBasis = PocketBasis::ByContent;
    setCount("1");
  }

  // The dialog's timer with the count field and the column grid as given.
  void setCount(const std::string& count, const std::vector<std::string>& letters = {}) {
    TextGrid g(2, static_cast<int>(letters.size()) + 1);
    for (size_t i = 0; i < letters.size(); ++i) g.setCell(1, static_cast<int>(i) + 1, letters[i]);
    updateContentColumns(count, g, ws, fmt);
  }

  void addBook(Sheet s, const std::string& path = "mem/book.xlsx") {
    s.setName("Проба 1");
    std::vector<Sheet> sheets;
    sheets.push_back(std::move(s));
    library.add(path, bookOf(std::move(sheets)));
  }

  void run() { importWorkbook(texts, ws, fmt, view, progress, library.objects()); }

  // The message of a failing import.
  std::string failure() {
    try {
      run();
    } catch (const Error& e) {
      return e.what();
    }
    return "(no failure)";
  }

  WorkbookLibrary library;
  Workspace ws;
  NumberFormat fmt;
  ImportTexts texts;
  FakeView view;
  Progress progress;
};

TEST_F(ImportFixture, DefaultLayoutReadsOneHundredTwentyLumpsAndNeverColumnA) {
  Sheet s = numberSheet("", 2, lumpRows(120));
  for (int r = 1; r <= 200; ++r) s.set(r, 1, text("lump"));  // A is filled, but never read
  addBook(std::move(s));
  std::vector<MemberCall> calls;
  ObjectFactory recording = [&](std::string_view id) -> std::shared_ptr<automation::Object> {
    return std::make_shared<RecordingObject>(library.objects()(id), calls);
  };

  importWorkbook(texts, ws, fmt, view, progress, recording);

  EXPECT_EQ(ws.StartRow, 2);
  ASSERT_EQ(ws.LumpCount, 120);
  EXPECT_EQ(ws.Mass[1], 101);
  EXPECT_EQ(ws.Content[1], 0.25);
  EXPECT_EQ(ws.Param[120], -70);
  EXPECT_EQ(ws.Mass[0], 0);
  EXPECT_EQ(ws.ExtraContents[1][1], 0) << "one content: no further content is read";

  // 3 (n + 1) calls for the count, 3 (C + 2) n for the reading, and workbooks/open, .../close.
  ASSERT_EQ(calls.size(), 3u * 121 + 9u * 120 + 4);
  EXPECT_EQ(calls[0].member, "workbooks");
  EXPECT_EQ(calls[1].member, "open");
  EXPECT_EQ(calls[calls.size() - 2].member, "workbooks");
  EXPECT_EQ(calls.back().member, "close");
  int cells = 0;
  for (size_t i = 2; i + 2 < calls.size(); i += 3) {
    ASSERT_EQ(calls[i].member, "sheets");
    ASSERT_EQ(calls[i + 1].member, "cells");
    ASSERT_EQ(calls[i + 2].member, "value");
    EXPECT_EQ(calls[i].args, std::vector<double>{1});
    ASSERT_EQ(calls[i + 1].args.size(), 2u);
    EXPECT_NE(calls[i + 1].args[1], 1) << "column A read at call " << i;
    ++cells;
  }
  EXPECT_EQ(cells, 121 + 360);
  // The count reads B2..B122 in order; B122 ends it.
  EXPECT_EQ(calls[3].args, (std::vector<double>{2, 2}));
  EXPECT_EQ(calls[3 + 3 * 120].args, (std::vector<double>{122, 2}));

  EXPECT_EQ(view.events, (std::vector<std::string>{"caption:  количество точек", "choose", "busy",
                                                   "button3", "hide", "count:120  количество точек",
                                                   "idle", "group", "hide"}));
  ASSERT_EQ(view.grid.rowCount(), 121);
  ASSERT_EQ(view.grid.colCount(), 3);
  EXPECT_EQ(view.grid.cell(0, 0), "№");
  EXPECT_EQ(view.grid.cell(1, 0), "Масса");
  EXPECT_EQ(view.grid.cell(2, 0), "%");
  EXPECT_EQ(view.grid.cell(0, 120), "120");
  EXPECT_EQ(view.grid.cell(1, 1), "101");
  EXPECT_EQ(view.grid.cell(2, 2), "0,5");
}

TEST_F(ImportFixture, EmptyStartRowMassGivesNoLumps) {
  Sheet s("");
  s.set(2, 3, number(5));  // a content without a mass
  s.set(3, 2, number(7));
  addBook(std::move(s));
  run();
  EXPECT_EQ(ws.LumpCount, 0);
  EXPECT_EQ(ws.Mass.size(), 1u);
  EXPECT_EQ(ws.Content.size(), 1u);
  EXPECT_EQ(ws.Param.size(), 1u);
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(ws.ExtraContents[k].size(), 1u);
  EXPECT_EQ(view.grid.rowCount(), 1);
  EXPECT_EQ(view.grid.cell(1, 0), "Масса");
  EXPECT_TRUE(view.saw("count:0  количество точек"));
  EXPECT_TRUE(view.saw("group"));
}

// What one mass cell does to the count and the reading.
TEST_F(ImportFixture, MassCellsEndTheDataOnlyWhenTheirTextIsEmpty) {
  struct Case {
    const char* what;
    Cell mass;
    bool ends;
    double value;
  };
  const Case cases[] = {
      {"number", number(2.5), false, 2.5},
      {"zero", number(0), false, 0},
      {"negative", number(-4), false, -4},
      {"number text", text(" 7,25 "), false, 7.25},
      {"exponent text", text("1,5E-3"), false, 0.0015},
      {"true", logical(true), false, -1},
      {"false", logical(false), false, 0},
      {"date", date(43831), false, 43831},
      {"empty text", text(""), true, 0},
      {"empty cell", Cell{}, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Workspace fresh;
    ws = fresh;
    ws.PocketBasis = PocketBasis::ByContent;
    setCount("1");
    Sheet s("");
    s.set(2, 2, number(1));
    s.set(3, 2, c.mass);
    s.set(4, 2, number(3));
    addBook(std::move(s));
    run();
    ASSERT_EQ(ws.LumpCount, c.ends ? 1 : 3);
    if (!c.ends) {
      EXPECT_EQ(ws.Mass[2], c.value);
    }
  }
}

TEST_F(ImportFixture, EmptyContentOrParameterInsideTheDataReadsAsZero) {
  Sheet s = numberSheet("", 2, {{1, 2, 3}, {4, 5, 6}});
  s.set(2, 3, Cell{});
  s.set(3, 4, Cell{});
  addBook(std::move(s));
  ws.resizeLumps(2);
  ws.Content[1] = 99;
  run();
  ASSERT_EQ(ws.LumpCount, 2);
  EXPECT_EQ(ws.Content[1], 0);
  EXPECT_EQ(ws.Param[2], 0);
  EXPECT_EQ(ws.Content[2], 5);
  // A cell holding the empty text is a text, and not a number.
  Sheet t = numberSheet("", 2, {{1, 2, 3}});
  t.set(2, 4, text(""));
  addBook(std::move(t));
  EXPECT_EQ(failure(), "Could not convert variant of type (OleStr) into type (Double)");
}

TEST_F(ImportFixture, ErrorCellInTheMassColumnFailsTheCount) {
  Sheet s = numberSheet("", 2, {{1, 2, 3}});
  s.set(3, 2, errorCell("#DIV/0!"));
  addBook(std::move(s));
  EXPECT_EQ(failure(), "Could not convert variant of type (Error) into type (OleStr)");
  EXPECT_EQ(ws.LumpCount, 0);
}

TEST_F(ImportFixture, LowerCaseParameterColumnFailsInBothModes) {
  for (PocketBasis basis : {PocketBasis::ByContent, PocketBasis::ByParam}) {
    SCOPED_TRACE(static_cast<int>(basis));
    Workspace fresh;
    ws = fresh;
    ws.PocketBasis = basis;
    setCount("1");
    view = FakeView();
    view.grid.resize(2, 2);
    view.grid.setCell(1, 1, "old");
    addBook(numberSheet("", 2, lumpRows(3)));
    texts.paramColumn = "d";
    EXPECT_EQ(failure(),
              "Лист «Проба 1» книги «book.xlsx», строка 2: номер столбца 0 недопустим, столбцы "
              "листа нумеруются от 1 (A) до 16384 (XFD)");
    EXPECT_EQ(ws.LumpCount, 3);
    EXPECT_EQ(ws.Mass.size(), 4u);
    EXPECT_EQ(ws.ExtraContents[9].size(), 4u);
    EXPECT_EQ(ws.Mass[1], 101);
    EXPECT_EQ(ws.Content[1], 0.25);
    EXPECT_EQ(ws.Mass[2], 0) << "the second lump is not read";
    EXPECT_EQ(view.grid.cell(1, 1), "old") << "the grid is not refilled";
    EXPECT_TRUE(view.saw("button3"));
    EXPECT_TRUE(view.saw("hide"));
    EXPECT_FALSE(view.saw("group"));
    EXPECT_EQ(view.events.back(), "idle");
  }
}

TEST_F(ImportFixture, FurtherContentsComeFromTheColumnGrid) {
  addBook(numberSheet("", 2, lumpRows(4)));
  setCount("3", {"E", "F"});
  ASSERT_EQ(ws.ContentColumns[1], 5);
  ASSERT_EQ(ws.ContentColumns[2], 6);
  run();
  EXPECT_EQ(ws.ExtraContents[1][4], 1004);
  EXPECT_EQ(ws.ExtraContents[2][4], 2004);
  EXPECT_EQ(ws.ExtraContents[3][4], 0) << "further content 3 is not read with three contents";
  ASSERT_EQ(view.grid.colCount(), 5);
  EXPECT_EQ(view.grid.cell(3, 1), "1001");
  EXPECT_EQ(view.grid.cell(4, 1), "2001");
  EXPECT_EQ(view.grid.cell(3, 0), "");
}

TEST_F(ImportFixture, TenContentsReadAllNineFurtherContents) {
  addBook(numberSheet("", 2, lumpRows(2)));
  setCount("10", {"E", "F", "G", "H", "I", "J", "K", "L", "M"});
  run();
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(ws.ExtraContents[k][2], k * 1000 + 2) << k;
  // Only further contents 1 to 5 are shown; the columns of 6 to 9 stay empty.
  ASSERT_EQ(view.grid.colCount(), 12);
  EXPECT_EQ(view.grid.cell(7, 1), "5001");
  EXPECT_EQ(view.grid.cell(8, 1), "");
  EXPECT_EQ(view.grid.cell(11, 1), "");
}

TEST_F(ImportFixture, TheSameFileTwiceGivesTheSameDataSet) {
  addBook(numberSheet("", 2, lumpRows(7)));
  setCount("2", {"E"});
  run();
  Workspace first = ws;
  TextGrid firstGrid = view.grid;
  run();
  EXPECT_EQ(ws.LumpCount, first.LumpCount);
  EXPECT_EQ(ws.Mass, first.Mass);
  EXPECT_EQ(ws.Content, first.Content);
  EXPECT_EQ(ws.Param, first.Param);
  EXPECT_EQ(ws.ExtraContents, first.ExtraContents);
  for (int r = 0; r < firstGrid.rowCount(); ++r)
    for (int c = 0; c < firstGrid.colCount(); ++c)
      EXPECT_EQ(view.grid.cell(c, r), firstGrid.cell(c, r));
  EXPECT_EQ(library.opens, 2);
}

TEST_F(ImportFixture, BadContentColumnFailsWithTheNewSizesAndTheOldValues) {
  addBook(numberSheet("", 2, lumpRows(5)), "mem/five.xlsx");
  addBook(numberSheet("", 2, {{7, 8, 9}, {10, 11, 12}, {13, 14, 15}}), "mem/three.xlsx");
  view.file = "mem/five.xlsx";
  run();
  ASSERT_EQ(ws.LumpCount, 5);
  view.file = "mem/three.xlsx";
  texts.contentColumn = "1";
  EXPECT_NE(failure().find("номер столбца 0 недопустим"), std::string::npos);
  EXPECT_EQ(ws.LumpCount, 3);
  EXPECT_EQ(ws.Mass.size(), 4u);
  EXPECT_EQ(ws.Mass[1], 7);
  EXPECT_EQ(ws.Content[1], 0.25) << "kept from the first import";
  EXPECT_EQ(ws.Mass[2], 102) << "kept from the first import";
  EXPECT_EQ(view.grid.rowCount(), 6) << "the grid of the first import stays";
}

TEST_F(ImportFixture, TextThatIsNotANumberStopsTheReadingAtItsCell) {
  // The bad-text workbook: lump 3's content (C4) is "1.5x".
  Sheet s =
      numberSheet("", 2, {{10.5, 1.5, 2.5}, {11.25, 2.25, 3.5}, {12}, {13, 4, 5}, {14, 5, 6}});
  s.set(4, 3, text("1.5x"));
  addBook(std::move(s));
  EXPECT_EQ(failure(), "Could not convert variant of type (OleStr) into type (Double)");
  EXPECT_EQ(ws.LumpCount, 5);
  EXPECT_EQ(ws.Mass[1], 10.5);
  EXPECT_EQ(ws.Param[2], 3.5);
  EXPECT_EQ(ws.Mass[3], 12);
  EXPECT_EQ(ws.Content[3], 0);
  EXPECT_EQ(ws.Mass[4], 0);
}

// Failures before anything is read: where they stop and what they leave.
TEST_F(ImportFixture, EarlyFailuresLeaveTheDataSetAsItWas) {
  struct Case {
    const char* what;
    std::function<void(ImportFixture&)> setUp;
    std::string message;
    std::vector<std::string> events;
  };
  const std::string caption = "caption:  количество точек";
  const Case cases[] = {
      {"start row not an integer",
       [](ImportFixture& f) { f.texts.startRow = "2,0"; },
       "'2,0' is not a valid integer value",
       {}},
      {"sheet not an integer",
       [](ImportFixture& f) { f.texts.sheet = ""; },
       "'' is not a valid integer value",
       {}},
      {"more than ten contents",
       [](ImportFixture& f) { f.setCount("11"); },
       "Количество содержаний 11 больше 10: загружаются не более 10 содержаний (первое и девять "
       "дополнительных)",
       {}},
      {"file that does not open",
       [](ImportFixture& f) { f.view.file = "mem/missing.xlsx"; },
       "Не удается открыть файл «mem/missing.xlsx»: файл не найден",
       {caption, "choose", "busy", "idle"}},
      {"sheet the workbook does not have",
       [](ImportFixture& f) { f.texts.sheet = "5"; },
       "В книге «book.xlsx» нет листа номер 5: листов в ней 1",
       {caption, "choose", "busy", "button3", "hide", "idle"}},
      {"start row 0",
       [](ImportFixture& f) { f.texts.startRow = "0"; },
       "Лист «Проба 1» книги «book.xlsx», столбец 2 (B): номер строки 0 недопустим, строки листа "
       "нумеруются от 1 до 1048576",
       {caption, "choose", "busy", "button3", "hide", "idle"}},
      {"mass column of two letters",
       [](ImportFixture& f) { f.texts.massColumn = "AB"; },
       "Лист «Проба 1» книги «book.xlsx», строка 2: номер столбца 0 недопустим, столбцы листа "
       "нумеруются от 1 (A) до 16384 (XFD)",
       {caption, "choose", "busy", "button3", "hide", "idle"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Workspace before;
    before.PocketBasis = PocketBasis::ByContent;
    before.LumpCount = 1;
    before.resizeLumps(1);
    before.Mass[1] = 42;
    ws = before;
    setCount("1");
    texts = ImportTexts();
    view = FakeView();
    addBook(numberSheet("", 2, lumpRows(3)));
    c.setUp(*this);
    EXPECT_EQ(failure(), c.message);
    EXPECT_EQ(ws.LumpCount, 1);
    EXPECT_EQ(ws.Mass, before.Mass);
    EXPECT_EQ(view.events, c.events);
  }
}

TEST_F(ImportFixture, CancellingTheFileDialogShowsTheGroupAndReadsNothing) {
  view.file = "";
  view.grid.resize(5, 5);
  int made = 0;
  ObjectFactory counting = [&](std::string_view id) {
    ++made;
    return automation::createObject(id);
  };
  importWorkbook(texts, ws, fmt, view, progress, counting);
  EXPECT_EQ(made, 0);
  EXPECT_EQ(ws.LumpCount, 0);
  EXPECT_TRUE(ws.Mass.empty());
  EXPECT_EQ(view.events,
            (std::vector<std::string>{"caption:  количество точек", "choose", "group", "hide"}));
  EXPECT_EQ(view.grid.rowCount(), 5);
}

}  // namespace
}  // namespace ore::test
