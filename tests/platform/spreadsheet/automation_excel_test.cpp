#include <gtest/gtest.h>

#include <functional>

#include "data/errors.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore {
namespace {

using automation::Variant;
using K = Variant::Kind;

Cell cellOf(Cell::Type type, double number, std::string text = {}) {
  Cell c;
  c.type = type;
  c.number = number;
  c.text = std::move(text);
  return c;
}

// A workbook "book.xlsx" with sheets "Проба" and "Лист2"; B2..B8 hold one value of each type.
Workbook sampleBook() {
  Workbook wb;
  wb.sheets.emplace_back("Проба");
  wb.sheets.emplace_back("Лист2");
  Sheet& s = wb.sheets[0];
  s.set(2, 2, cellOf(Cell::Type::Number, 12.5));
  s.set(3, 2, cellOf(Cell::Type::Text, 0, "2,5"));
  s.set(4, 2, cellOf(Cell::Type::Logical, 1));
  s.set(5, 2, cellOf(Cell::Type::Logical, 0));
  s.set(6, 2, cellOf(Cell::Type::Date, 43831));
  s.set(7, 2, cellOf(Cell::Type::Error, 0, "#DIV/0!"));
  s.set(8, 2, cellOf(Cell::Type::Text, 0, ""));
  wb.sheets[1].set(1, 1, cellOf(Cell::Type::Number, 77));
  return wb;
}

struct App {
  App() {
    app = std::make_shared<ExcelApplication>([](const std::string& path) -> Workbook {
      if (path != "/data/book.xlsx") throw Error("Не удается открыть файл «" + path + "»");
      return sampleBook();
    });
    excel = Variant::fromObject(app);
  }
  void open() { excel.get("workbooks").get("open", {Variant("/data/book.xlsx")}); }
  Variant cell(int sheet, std::int64_t row, std::int64_t col) {
    return excel.get("sheets", {Variant(sheet)})
        .get("cells", {Variant(row), Variant(col)})
        .get("value");
  }

  std::shared_ptr<ExcelApplication> app;
  Variant excel;
};

std::string failureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no failure)";
}

TEST(ExcelApplicationTest, ANewApplicationIsHiddenAndHoldsNoWorkbook) {
  App a;
  EXPECT_FALSE(a.app->visible());
  EXPECT_EQ(a.app->workbookCount(), 0);
  EXPECT_EQ(a.app->activeWorkbook(), 0);
  EXPECT_EQ(a.app->activeSheet(), 0);
  EXPECT_EQ(a.excel.get("visible").kind(), K::Bool);
  EXPECT_EQ(a.excel.get("workbooks").get("count").rawNumber(), 0);
  EXPECT_TRUE(a.excel.get("activesheet").isEmpty());
}

TEST(ExcelApplicationTest, ValuesOfCellsByType) {
  struct Case {
    int sheet;
    std::int64_t row, col;
    K kind;
    double number;
    const char* text;
  };
  const Case cases[] = {
      {1, 2, 2, K::Double, 12.5, ""}, {1, 3, 2, K::Text, 0, "2,5"},
      {1, 4, 2, K::Bool, 1, ""},      {1, 5, 2, K::Bool, 0, ""},
      {1, 6, 2, K::Date, 43831, ""},  {1, 7, 2, K::Error, 0, "#DIV/0!"},
      {1, 8, 2, K::Text, 0, ""},      {1, 9, 2, K::Empty, 0, ""},
      {1, 2, 3, K::Empty, 0, ""},     {1, 1048576, 16384, K::Empty, 0, ""},
      {2, 1, 1, K::Double, 77, ""},   {2, 2, 2, K::Empty, 0, ""},
  };
  App a;
  a.excel.get("WorkBooks").get("OPEN", {Variant("/data/book.xlsx")});  // names ignore case
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sheet) + ":" + std::to_string(c.row) + "," +
                 std::to_string(c.col));
    Variant v = a.cell(c.sheet, c.row, c.col);
    EXPECT_EQ(v.kind(), c.kind);
    EXPECT_EQ(v.rawNumber(), c.number);
    EXPECT_EQ(v.rawText(), c.text);
  }
}

TEST(ExcelApplicationTest, CellsHeldAtOnceKeepTheirOwnAddress) {
  App a;
  a.open();
  Variant sheet = a.excel.get("sheets", {Variant(1)});
  Variant b2 = sheet.get("cells", {Variant(2), Variant(2)});
  Variant b3 = sheet.get("cells", {Variant(3), Variant(2)});
  EXPECT_EQ(b2.get("value").rawNumber(), 12.5);
  EXPECT_EQ(b3.get("value").rawText(), "2,5");
  EXPECT_EQ(b2.get("row").rawNumber(), 2);
  EXPECT_NE(b2.toObject(), b3.toObject());
}

TEST(ExcelApplicationTest, TheSpreadsheetsOwnErrorsNameTheirPlace) {
  struct Case {
    const char* what;
    std::function<void(App&)> call;
    const char* message;
  };
  const Case cases[] = {
      {"sheet beyond the last", [](App& a) { a.cell(5, 2, 2); },
       "В книге «book.xlsx» нет листа номер 5: листов в ней 2"},
      {"sheet 0", [](App& a) { a.cell(0, 2, 2); },
       "В книге «book.xlsx» нет листа номер 0: листов в ней 2"},
      {"column 0", [](App& a) { a.cell(1, 2, 0); },
       "Лист «Проба» книги «book.xlsx», строка 2: номер столбца 0 недопустим, столбцы листа "
       "нумеруются от 1 (A) до 16384 (XFD)"},
      {"column beyond XFD", [](App& a) { a.cell(2, 7, 16385); },
       "Лист «Лист2» книги «book.xlsx», строка 7: номер столбца 16385 недопустим, столбцы листа "
       "нумеруются от 1 (A) до 16384 (XFD)"},
      {"row 0", [](App& a) { a.cell(1, 0, 3); },
       "Лист «Проба» книги «book.xlsx», столбец 3 (C): номер строки 0 недопустим, строки листа "
       "нумеруются от 1 до 1048576"},
      {"negative row", [](App& a) { a.cell(1, -4, 28); },
       "Лист «Проба» книги «book.xlsx», столбец 28 (AB): номер строки -4 недопустим, строки "
       "листа нумеруются от 1 до 1048576"},
      {"row beyond the last", [](App& a) { a.cell(1, 1048577, 2); },
       "Лист «Проба» книги «book.xlsx», столбец 2 (B): номер строки 1048577 недопустим, строки "
       "листа нумеруются от 1 до 1048576"},
      {"after close",
       [](App& a) {
         a.excel.get("workbooks").get("close");
         a.cell(1, 2, 2);
       },
       "Нет открытой рабочей книги: обращение к листу номер 1 невозможно"},
      {"a cell kept across close",
       [](App& a) {
         Variant c = a.excel.get("sheets", {Variant(1)}).get("cells", {Variant(2), Variant(2)});
         a.excel.get("workbooks").get("close");
         c.get("value");
       },
       "Рабочая книга «book.xlsx» закрыта: ее листы и ячейки больше недоступны"},
      {"unknown member", [](App& a) { a.excel.get("range"); },
       "Объект «Application» не имеет члена «range»"},
      {"unknown member of a cell",
       [](App& a) {
         a.excel.get("sheets", {Variant(1)}).get("cells", {Variant(2), Variant(2)}).get("text");
       },
       "Объект «Range» не имеет члена «text»"},
      {"one argument to cells",
       [](App& a) { a.excel.get("sheets", {Variant(1)}).get("cells", {Variant(2)}); },
       "Член «cells» объекта «Worksheet» ожидает аргументов: 2, передано: 1"},
      {"text for a row",
       [](App& a) {
         a.excel.get("sheets", {Variant(1)}).get("cells", {Variant("x"), Variant(2)});
       },
       "Could not convert variant of type (OleStr) into type (Integer)"},
      {"file that does not open",
       [](App& a) { a.excel.get("workbooks").get("open", {Variant("/data/other.xlsx")}); },
       "Не удается открыть файл «/data/other.xlsx»"},
      {"workbook 2 of 1", [](App& a) { a.excel.get("workbooks", {Variant(2)}); },
       "Нет рабочей книги номер 2: открыто книг 1"},
      {"put to a read-only member", [](App& a) { a.excel.put("workbooks", {}, Variant(1)); },
       "Члену «workbooks» объекта «Application» нельзя присвоить значение"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    App a;
    a.open();
    EXPECT_EQ(failureOf([&] { c.call(a); }), c.message);
  }
}

TEST(ExcelApplicationTest, NoWorkbookBeforeOpen) {
  App a;
  EXPECT_EQ(failureOf([&] { a.cell(1, 1, 1); }),
            "Нет открытой рабочей книги: обращение к листу номер 1 невозможно");
  EXPECT_EQ(failureOf([&] {
              a.excel.put("cells", {Variant(1), Variant(2)}, Variant(1.0));
            }),
            "Нет открытой рабочей книги: запись в ячейку (строка 1, столбец 2) невозможна");
}

// What the report window watches.
struct Recorder : ExcelApplication::Observer {
  void visibilityChanged(bool v) override { events.push_back(v ? "visible" : "hidden"); }
  void workbookAdded(int b) override { events.push_back("book " + std::to_string(b)); }
  void workbooksClosed() override { events.push_back("closed"); }
  void sheetAdded(int b, int s) override { events.push_back(at("sheet+", b, s)); }
  void sheetRenamed(int b, int s) override { events.push_back(at("renamed", b, s)); }
  void activeSheetChanged(int b, int s) override { events.push_back(at("active", b, s)); }
  void cellWritten(int b, int s, std::int64_t r, std::int64_t c) override {
    events.push_back(at("cell", b, s) + " " + std::to_string(r) + "," + std::to_string(c));
  }
  static std::string at(const char* what, int b, int s) {
    return std::string(what) + " " + std::to_string(b) + ":" + std::to_string(s);
  }
  std::vector<std::string> events;
};

TEST(ExcelApplicationTest, ReportSteps) {
  App a;
  Recorder rec;
  a.app->addObserver(&rec);
  Variant& excel = a.excel;

  excel.put("visible", {}, Variant(true));
  excel.get("workbooks").get("add", {Variant(ExcelApplication::kOneSheetTemplate)});
  excel.get("workbooks", {Variant(1)})
      .get("worksheets", {Variant(1)})
      .put("name", {}, Variant("Отчет"));
  excel.put("cells", {Variant(1), Variant(1)}, Variant("Фракционный состав"));
  excel.put("cells", {Variant(5), Variant(1)}, Variant("=1"));
  excel.put("cells", {Variant(5), Variant(2)}, Variant(0.25));

  EXPECT_TRUE(a.app->visible());
  ASSERT_EQ(a.app->workbookCount(), 1);
  EXPECT_EQ(a.app->workbookName(1), "Книга1");
  const Workbook& wb = a.app->workbook(1);
  ASSERT_EQ(wb.sheets.size(), 1u);
  EXPECT_EQ(wb.sheets[0].name(), "Отчет");
  EXPECT_EQ(a.app->activeSheet(), 1);
  const Sheet& s = wb.sheets[0];
  EXPECT_EQ(s.cell(1, 1).type, Cell::Type::Text);
  EXPECT_EQ(s.cell(1, 1).text, "Фракционный состав");
  EXPECT_EQ(s.cell(5, 1).type, Cell::Type::Number);
  EXPECT_EQ(s.cell(5, 1).number, 1);
  EXPECT_EQ(s.cell(5, 1).formula, "=1");
  EXPECT_EQ(s.cell(5, 2).number, 0.25);
  EXPECT_EQ(s.cell(5, 2).formula, "");
  EXPECT_EQ(excel.get("cells", {Variant(5), Variant(1)}).get("value").rawNumber(), 1);
  EXPECT_EQ(excel.get("cells", {Variant(5), Variant(1)}).get("formula").rawText(), "=1");

  EXPECT_EQ(rec.events, (std::vector<std::string>{"visible", "book 1", "renamed 1:1",
                                                  "cell 1:1 1,1", "cell 1:1 5,1", "cell 1:1 5,2"}));
  a.app->removeObserver(&rec);
  excel.put("visible", {}, Variant(false));
  EXPECT_EQ(rec.events.size(), 6u);
}

TEST(ExcelApplicationTest, CellsPutWritesOnWhateverSheetIsActive) {
  App a;
  Recorder rec;
  a.app->addObserver(&rec);
  a.excel.get("workbooks").get("add", {Variant(-4167)});
  EXPECT_EQ(a.app->addSheet(), 2);
  a.app->setActiveSheet(2);
  a.excel.put("cells", {Variant(3), Variant(4)}, Variant(7.0));
  a.app->setActiveSheet(1);
  a.excel.put("cells", {Variant(3), Variant(4)}, Variant(8.0));
  const Workbook& wb = a.app->workbook(1);
  EXPECT_EQ(wb.sheets[1].name(), "Лист2");
  EXPECT_EQ(wb.sheets[1].cell(3, 4).number, 7);
  EXPECT_EQ(wb.sheets[0].cell(3, 4).number, 8);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"book 1", "sheet+ 1:2", "active 1:2",
                                                  "cell 1:2 3,4", "active 1:1", "cell 1:1 3,4"}));
  EXPECT_EQ(failureOf([&] { a.app->setActiveSheet(3); }),
            "В книге «Книга1» нет листа номер 3: листов в ней 2");
}

TEST(ExcelApplicationTest, WrittenValues) {
  struct Case {
    const char* what;
    Variant value;
    Cell::Type type;
    double number;
    const char* text;
    const char* formula;
  };
  const Case cases[] = {
      {"double", Variant(-1.5), Cell::Type::Number, -1.5, "", ""},
      {"text", Variant("Вых.,%"), Cell::Type::Text, 0, "Вых.,%", ""},
      {"number-looking text stays text", Variant("12,5"), Cell::Type::Text, 0, "12,5", ""},
      {"pocket number formula", Variant("=12"), Cell::Type::Number, 12, "", "=12"},
      {"formula of a fraction", Variant("=0.5"), Cell::Type::Number, 0.5, "", "=0.5"},
      {"formula that cannot be computed", Variant("=A1+1"), Cell::Type::Error, 0, "#NAME?",
       "=A1+1"},
      {"logical", Variant(true), Cell::Type::Logical, 1, "", ""},
      {"date", Variant::fromDate(43831), Cell::Type::Date, 43831, "", ""},
      {"empty text clears", Variant(""), Cell::Type::Empty, 0, "", ""},
      {"empty clears", Variant(), Cell::Type::Empty, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    App a;
    a.excel.get("workbooks").get("add");
    a.excel.put("cells", {Variant(2), Variant(3)}, Variant("before"));
    a.excel.put("cells", {Variant(2), Variant(3)}, c.value);
    const Cell& cell = a.app->workbook(1).sheets[0].cell(2, 3);
    EXPECT_EQ(cell.type, c.type);
    EXPECT_EQ(cell.number, c.number);
    EXPECT_EQ(cell.text, c.text);
    EXPECT_EQ(cell.formula, c.formula);
  }
  App a;
  a.excel.get("workbooks").get("add");
  EXPECT_EQ(failureOf([&] {
              a.excel.put("cells", {Variant(1), Variant(1)}, a.excel);
            }),
            "В ячейку нельзя записать объект автоматизации");
}

TEST(ExcelApplicationTest, NewWorkbooksAndTheirSheetNames) {
  App a;
  Variant books = a.excel.get("workbooks");
  books.get("add", {Variant(-4167)});
  books.get("add", {Variant(-4167)});
  EXPECT_EQ(a.app->workbookName(2), "Книга2");
  EXPECT_EQ(a.app->activeWorkbook(), 2);
  EXPECT_EQ(a.excel.get("activeworkbook").get("name").rawText(), "Книга2");
  EXPECT_EQ(
      a.excel.get("workbooks", {Variant(1)}).get("worksheets", {Variant(1)}).get("name").rawText(),
      "Лист1");
  std::string longest, tooLong;
  for (int i = 0; i < 31; ++i) longest += "Ж";
  tooLong = longest + "Ж";
  const std::string rule =
      "»: имя должно быть непустым, не длиннее 31 знака, без знаков : \\ / ? * [ ] и без "
      "апострофа в начале и в конце";
  struct Case {
    std::string name;
    std::string message;  // empty: accepted
  };
  const Case cases[] = {
      {"Отчет", ""},
      {longest, ""},
      {tooLong, "Недопустимое имя листа «" + tooLong + rule},
      {"", "Недопустимое имя листа «" + rule},
      {"[1]", "Недопустимое имя листа «[1]" + rule},
  };
  Variant sheet = a.excel.get("sheets", {Variant(1)});
  for (const Case& c : cases) {
    std::string got = failureOf([&] { sheet.put("name", {}, Variant(c.name)); });
    EXPECT_EQ(got, c.message.empty() ? "(no failure)" : c.message) << c.name;
  }
  EXPECT_EQ(sheet.get("name").rawText(), longest);
  a.app->addSheet();
  a.excel.get("sheets", {Variant(2)}).put("name", {}, Variant("Отчет"));
  EXPECT_EQ(failureOf([&] { sheet.put("name", {}, Variant("Отчет")); }),
            "В книге «Книга2» уже есть лист с именем «Отчет»");
  // Cyrillic case folds as Latin does: a name the save would refuse as a repeat is refused here.
  EXPECT_EQ(failureOf([&] { sheet.put("name", {}, Variant("ОТЧЕТ")); }),
            "В книге «Книга2» уже есть лист с именем «ОТЧЕТ»");
  EXPECT_EQ(failureOf([&] { sheet.put("name", {}, Variant("sheet")); }), "(no failure)");
  EXPECT_EQ(
      failureOf([&] { a.excel.get("sheets", {Variant(2)}).put("name", {}, Variant("SHEET")); }),
      "В книге «Книга2» уже есть лист с именем «SHEET»");
  EXPECT_EQ(failureOf([&] { books.get("add", {Variant(-4109)}); }),
            "Шаблон новой книги -4109 не поддерживается: поддерживается только -4167 (книга из "
            "одного листа)");
}

TEST(ExcelApplicationTest, AfterQuitEveryCallFails) {
  App a;
  a.excel.get("workbooks").get("add", {Variant(-4167)});
  Variant books = a.excel.get("workbooks");
  Variant book = a.excel.get("workbooks", {Variant(1)});
  Variant sheet = a.excel.get("sheets", {Variant(1)});
  Variant cell = sheet.get("cells", {Variant(1), Variant(1)});
  a.app->quit();
  EXPECT_TRUE(a.app->hasQuit());
  const std::function<void()> calls[] = {
      [&] { a.excel.get("workbooks"); },
      [&] { a.excel.put("visible", {}, Variant(true)); },
      [&] {
        a.excel.put("cells", {Variant(1), Variant(1)}, Variant(1.0));
      },
      [&] { books.get("add", {Variant(-4167)}); },
      [&] { book.get("worksheets", {Variant(1)}); },
      [&] { sheet.put("name", {}, Variant("Отчет")); },
      [&] { cell.get("value"); },
      [&] { cell.put("value", {}, Variant(1.0)); },
      [&] { a.app->writeCell(1, 1, 1, 1, Variant(1.0)); },
  };
  for (const auto& call : calls)
    EXPECT_EQ(failureOf(call), "Окно отчета закрыто: книга отчета больше недоступна");
}

TEST(ExcelApplicationTest, ObjectsOutlivingTheApplicationFailCleanly) {
  Variant cell;
  {
    App a;
    a.open();
    cell = a.excel.get("sheets", {Variant(1)}).get("cells", {Variant(2), Variant(2)});
  }
  EXPECT_EQ(failureOf([&] { cell.get("value"); }),
            "Приложение электронных таблиц уже освобождено: его книги, листы и ячейки больше "
            "недоступны");
}

TEST(ExcelApplicationTest, AnObserverMayLeaveWhileItIsTold) {
  App a;
  struct Leaving : ExcelApplication::Observer {
    ExcelApplication* app = nullptr;
    int told = 0;
    void visibilityChanged(bool) override {
      ++told;
      app->removeObserver(this);
    }
  } first, second;
  first.app = second.app = a.app.get();
  a.app->addObserver(&first);
  a.app->addObserver(&second);
  a.excel.put("visible", {}, Variant(true));
  a.excel.put("visible", {}, Variant(false));
  EXPECT_EQ(first.told, 1);
  EXPECT_EQ(second.told, 1);
}

}  // namespace
}  // namespace ore
