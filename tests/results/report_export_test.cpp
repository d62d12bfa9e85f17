#include "results/report_export.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/results_layout.h"
#include "results/report_block.h"

namespace ore::report {
namespace {

using automation::Args;
using automation::Object;
using automation::Variant;

std::string describe(const Variant& v) {
  switch (v.kind()) {
    case Variant::Kind::Double:
      return NumberFormat('.').format(v.rawNumber());
    case Variant::Kind::Bool:
      return v.rawNumber() != 0 ? "True" : "False";
    case Variant::Kind::Text:
      return "\"" + v.rawText() + "\"";
    case Variant::Kind::Object:
      return "object";
    default:
      return v.typeName();
  }
}

std::string describe(const std::string& who, std::string_view member, Args args) {
  std::string s = who + "." + std::string(member) + "(";
  for (size_t i = 0; i < args.size(); ++i) s += (i ? "," : "") + describe(args[i]);
  return s + ")";
}

// A spreadsheet application that records every call and keeps the cells put on its active sheet.
struct FakeApplication : Object {
  struct Child : Object {
    Child(FakeApplication& app, std::string name) : app(app), name(std::move(name)) {}
    Variant get(std::string_view member, Args args) override {
      app.log.push_back(describe(name, member, args));
      if (name == "workbooks" && member == "add") return {};
      if (name == "workbook" && member == "worksheets") return Variant::fromObject(app.sheet);
      throw Error("unknown member " + std::string(member));
    }
    void put(std::string_view member, Args args, const Variant& value) override {
      app.log.push_back(describe(name, member, args) + "=" + describe(value));
      if (name != "sheet" || member != "name") throw Error("unknown member " + std::string(member));
    }
    FakeApplication& app;
    std::string name;
  };

  FakeApplication()
      : books(std::make_shared<Child>(*this, "workbooks")),
        book(std::make_shared<Child>(*this, "workbook")),
        sheet(std::make_shared<Child>(*this, "sheet")) {}

  Variant get(std::string_view member, Args args) override {
    log.push_back(describe("app", member, args));
    if (member == "workbooks" && args.empty()) return Variant::fromObject(books);
    if (member == "workbooks" && args.size() == 1) return Variant::fromObject(book);
    throw Error("unknown member " + std::string(member));
  }
  void put(std::string_view member, Args args, const Variant& value) override {
    if (member == "cells") {
      if (failAtCell && ++cellPuts == failAtCell) throw Error("Сервер недоступен");
      const int row = static_cast<int>(args[0].rawNumber());
      const int col = static_cast<int>(args[1].rawNumber());
      cells[{row, col}] = value;
      order.emplace_back(row, col);
      return;
    }
    log.push_back(describe("app", member, args) + "=" + describe(value));
    if (member == "visible" && failAtVisible) throw Error("Сервер недоступен");
  }

  std::string text(int row, int col) const {
    auto it = cells.find({row, col});
    return it != cells.end() && it->second.kind() == Variant::Kind::Text ? it->second.rawText()
                                                                         : "<none>";
  }
  bool isNumber(int row, int col, double v) const {
    auto it = cells.find({row, col});
    return it != cells.end() && it->second.kind() == Variant::Kind::Double &&
           it->second.rawNumber() == v;
  }
  bool written(int row, int col) const { return cells.count({row, col}) != 0; }

  std::vector<std::string> log;  // every call but the cell writes
  std::map<std::pair<int, int>, Variant> cells;
  std::vector<std::pair<int, int>> order;  // (row, col) of each cell write
  int failAtCell = 0;                      // the n-th cell write throws
  int cellPuts = 0;
  bool failAtVisible = false;
  std::shared_ptr<Child> books, book, sheet;
};

const std::vector<std::string> kStartCalls = {
    "app.visible()=True", "app.workbooks()",        "workbooks.add(-4167)",
    "app.workbooks(1)",   "workbook.worksheets(1)", "sheet.name()=\"Отчет\"",
};

const char* kComposition = "Фракционный состав по                             ";
const char* kIndicators = "Технологические показатели                                          ";
const char* kTails = "Хвосты                                     ";
const char* kConcentrate = "Концентрат                         ";

// The value a filled grid holds at (g, r), distinct for every cell.
double valueAt(int g, int r) {
  return r * 100 + g + 0.25;
}

struct Fixture {
  Fixture(int c, int p) {
    ws.ContentCount = c;
    ws.PocketCount = p;
    ws.PocketBasis = PocketBasis::ByContent;
    ws.LumpCount = 120;
    ws.SampleIndex = 0.37;
    ws.ReportMode = ReportMode::SeparateWorkbook;
    fill();
  }
  void fill() {
    grid.resize(ResultsLayout(ws.ContentCount).columnCount(), ws.PocketCount + 1);
    for (int r = 1; r <= ws.PocketCount; ++r)
      for (int g = 0; g < grid.colCount(); ++g) grid.setCell(g, r, fmt.format(valueAt(g, r)));
  }
  std::shared_ptr<FakeApplication> exportOnce() {
    auto app = std::make_shared<FakeApplication>();
    ++made;
    exportReport(ws, grid, fmt, offset, [&] { return last = app; });
    return app;
  }
  Workspace ws;
  TextGrid grid;
  NumberFormat fmt{','};
  int offset = 0;
  int made = 0;
  std::shared_ptr<FakeApplication> last;
};

TEST(ReportExportTest, FirstSeparateExportLaysOutTheBlockAtTheTop) {
  Fixture f(1, 5);
  auto app = f.exportOnce();
  EXPECT_EQ(app->log, kStartCalls);
  EXPECT_EQ(f.ws.ReportExcel, app);

  EXPECT_EQ(app->text(1, 1),
            "Фракционный состав выборки n= 120  и технологические показатели М=0,37" +
                std::string(14, ' '));
  EXPECT_EQ(std::string(kComposition).size(), std::string("Фракционный состав по").size() + 29);
  EXPECT_EQ(app->text(2, 1), kComposition);
  EXPECT_EQ(app->text(2, 6), kIndicators);
  EXPECT_EQ(app->text(3, 6), kTails);
  EXPECT_EQ(app->text(3, 9), kConcentrate);
  const std::vector<std::string> headers = {"№ фр",   "Верх.пр.", "Вых.,%", "Сод.,%",
                                            "Извл.%", "Вых.,%",   "Сод.,%", "Извл.%",
                                            "Вых.,%", "Сод.,%",   "Извл.%"};
  for (int col = 1; col <= 11; ++col) EXPECT_EQ(app->text(4, col), headers[col - 1]) << col;
  EXPECT_FALSE(app->written(4, 12));
  for (int r = 1; r <= 5; ++r) {
    EXPECT_EQ(app->text(4 + r, 1), "=" + std::to_string(r));
    for (int g = 1; g <= 10; ++g) EXPECT_TRUE(app->isNumber(4 + r, g + 1, valueAt(g, r))) << r << g;
    EXPECT_FALSE(app->written(4 + r, 12));
  }
  EXPECT_FALSE(app->written(10, 1));
  EXPECT_EQ(f.offset, 10);

  // Order: pocket numbers, numbers row by row, title, group titles, headers.
  ASSERT_EQ(app->order.size(), 5u + 50u + 1u + 4u + 11u);
  for (int r = 1; r <= 5; ++r) EXPECT_EQ(app->order[r - 1], std::make_pair(4 + r, 1));
  for (size_t i = 6; i < 55; ++i) EXPECT_LT(app->order[i - 1], app->order[i]);
  const std::vector<std::pair<int, int>> tail = {{1, 1},  {2, 1},  {2, 6}, {3, 6}, {3, 9}, {4, 1},
                                                 {4, 2},  {4, 3},  {4, 4}, {4, 5}, {4, 7}, {4, 8},
                                                 {4, 10}, {4, 11}, {4, 6}, {4, 9}};
  EXPECT_EQ(std::vector(app->order.begin() + 55, app->order.end()), tail);
}

TEST(ReportExportTest, SameFileExportAppendsBelowAndRewritesTheTitleRows) {
  Fixture f(1, 5);
  auto app = f.exportOnce();
  app->cells.erase({2, 1});
  app->order.clear();
  f.ws.ReportMode = ReportMode::SameWorkbook;
  exportReport(f.ws, f.grid, f.fmt, f.offset, [&]() -> std::shared_ptr<Object> {
    ADD_FAILURE() << "mode 2 creates no application";
    return nullptr;
  });
  EXPECT_EQ(app->log, kStartCalls);  // nothing but cells
  EXPECT_EQ(app->text(11, 1), app->text(1, 1));
  EXPECT_EQ(app->text(2, 1), kComposition);
  EXPECT_EQ(app->text(14, 1), "№ фр");
  for (int r = 1; r <= 5; ++r) {
    EXPECT_EQ(app->text(14 + r, 1), "=" + std::to_string(r));
    EXPECT_TRUE(app->isNumber(14 + r, 11, valueAt(10, r)));
  }
  for (auto [row, col] : app->order) {
    EXPECT_NE(row, 12);
    EXPECT_NE(row, 13);
    EXPECT_LE(row, 19);
  }
  EXPECT_EQ(f.offset, 20);
}

TEST(ReportExportTest, SecondSeparateExportStartsANewApplication) {
  Fixture f(1, 5);
  auto first = f.exportOnce();
  const size_t firstWrites = first->order.size();
  f.ws.ReportMode = ReportMode::SameWorkbook;
  exportReport(f.ws, f.grid, f.fmt, f.offset);
  f.ws.ReportMode = ReportMode::SeparateWorkbook;
  auto second = f.exportOnce();
  EXPECT_EQ(f.ws.ReportExcel, second);
  EXPECT_EQ(second->log, kStartCalls);
  EXPECT_EQ(second->order.front(), std::make_pair(5, 1));
  EXPECT_EQ(f.offset, 10);
  EXPECT_EQ(first->order.size(), 2 * firstWrites);  // untouched by the second application
}

TEST(ReportExportTest, SampleTitleFollowsThePocketBasis) {
  struct Case {
    PocketBasis basis;
    int lumps;
    double index;
    std::string title;
  } cases[] = {
      {PocketBasis::ByContent, 120, 0.37,
       "Фракционный состав выборки n= 120  и технологические показатели М=0,37" +
           std::string(14, ' ')},
      {PocketBasis::ByParam, 7, 12.5,
       "Фракционный состав выборки( n=7 ) и технологические показатели П=12,5" +
           std::string(18, ' ')},
      {PocketBasis::ByParam, 0, 1e-6,
       "Фракционный состав выборки( n=0 ) и технологические показатели П=1E-6" +
           std::string(18, ' ')},
  };
  for (const Case& c : cases) {
    Fixture f(1, 2);
    f.ws.PocketBasis = c.basis;
    f.ws.LumpCount = c.lumps;
    f.ws.SampleIndex = c.index;
    auto app = f.exportOnce();
    EXPECT_EQ(app->text(1, 1), c.title) << static_cast<int>(c.basis);
  }
}

TEST(ReportExportTest, NoPocketsStillWritesTitlesAndHeaders) {
  Fixture f(1, 0);
  f.offset = 3;
  auto app = f.exportOnce();
  EXPECT_EQ(app->order.size(), 1u + 4u + 11u);
  EXPECT_EQ(app->text(4, 11), "Извл.%");
  EXPECT_EQ(f.offset, 5);
  f.ws.ReportMode = ReportMode::SameWorkbook;
  exportReport(f.ws, f.grid, f.fmt, f.offset);
  EXPECT_EQ(app->text(9, 1), "№ фр");
  EXPECT_EQ(f.offset, 10);
}

TEST(ReportExportTest, EmptyGridCellsAreSkipped) {
  Fixture f(1, 3);
  f.grid.setCell(4, 2, "");
  f.grid.setCell(10, 3, "");
  f.grid.setCell(0, 1, "not read");  // the pocket numbers come from the row count
  auto app = f.exportOnce();
  EXPECT_FALSE(app->written(6, 5));
  EXPECT_FALSE(app->written(7, 11));
  EXPECT_TRUE(app->isNumber(6, 6, valueAt(5, 2)));
  EXPECT_EQ(app->text(5, 1), "=1");
  EXPECT_EQ(f.offset, 8);
}

TEST(ReportExportTest, ChangedContentCountMovesTheGroupTitles) {
  Fixture f(1, 2);
  auto app = f.exportOnce();
  f.ws.ContentCount = 2;
  f.fill();
  f.ws.ReportMode = ReportMode::SameWorkbook;
  exportReport(f.ws, f.grid, f.fmt, f.offset);
  EXPECT_EQ(app->text(2, 8), kIndicators);
  EXPECT_EQ(app->text(3, 8), kTails);
  EXPECT_EQ(app->text(3, 13), kConcentrate);
  EXPECT_EQ(app->text(2, 6), kIndicators);  // the first block's stay
  EXPECT_EQ(app->text(3, 9), kConcentrate);
  EXPECT_EQ(app->text(11, 17), "Извл.%");  // 6C+5 columns of headers
  EXPECT_FALSE(app->written(11, 18));
  EXPECT_TRUE(app->isNumber(12, 17, valueAt(16, 1)));
  EXPECT_EQ(f.offset, 14);
}

TEST(ReportExportTest, FailuresStopAtTheCellAndKeepTheOffset) {
  // No application kept yet: nothing is written anywhere.
  {
    Fixture f(1, 5);
    f.ws.ReportMode = ReportMode::SameWorkbook;
    f.offset = 4;
    try {
      exportReport(f.ws, f.grid, f.fmt, f.offset, [] { return nullptr; });
      ADD_FAILURE();
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Invalid variant operation");
    }
    EXPECT_EQ(f.offset, 4);
  }
  // The application cannot be created: the previous one and the offset stay.
  {
    Fixture f(1, 5);
    auto previous = std::make_shared<FakeApplication>();
    f.ws.ReportExcel = previous;
    f.offset = 10;
    EXPECT_THROW(exportReport(f.ws, f.grid, f.fmt, f.offset,
                              []() -> std::shared_ptr<Object> { throw Error("нет Excel"); }),
                 Error);
    EXPECT_EQ(f.ws.ReportExcel, previous);
    EXPECT_EQ(f.offset, 10);
  }
  // A text that is not a number: what came before it is written, the offset is the reset 0,
  // and a same-file export afterwards writes over the same rows.
  {
    Fixture f(1, 5);
    f.offset = 10;
    f.grid.setCell(3, 2, "1.5");
    std::shared_ptr<FakeApplication> app;
    try {
      app = f.exportOnce();
      ADD_FAILURE();
    } catch (const ConversionError& e) {
      EXPECT_STREQ(e.what(), "'1.5' is not a valid floating point value");
    }
    app = f.last;
    EXPECT_EQ(app->order.size(), 5u + 10u + 2u);
    EXPECT_TRUE(app->isNumber(6, 3, valueAt(2, 2)));
    EXPECT_FALSE(app->written(6, 4));
    EXPECT_FALSE(app->written(1, 1));
    EXPECT_EQ(f.offset, 0);
    f.grid.setCell(3, 2, "1,5");
    f.ws.ReportMode = ReportMode::SameWorkbook;
    exportReport(f.ws, f.grid, f.fmt, f.offset);
    EXPECT_TRUE(app->isNumber(6, 4, 1.5));
    EXPECT_EQ(app->text(4, 1), "№ фр");
    EXPECT_EQ(f.offset, 10);
  }
  // The kept application fails: nothing more is written, the offset stays.
  {
    Fixture f(1, 5);
    auto app = f.exportOnce();
    app->failAtCell = app->cellPuts + 3;
    f.ws.ReportMode = ReportMode::SameWorkbook;
    EXPECT_THROW(exportReport(f.ws, f.grid, f.fmt, f.offset), Error);
    EXPECT_EQ(app->order.size(), 71u + 2u);
    EXPECT_EQ(f.offset, 10);
  }
  // A failure while starting the workbook: the new application is kept already.
  {
    Fixture f(1, 5);
    f.offset = 10;
    auto app = std::make_shared<FakeApplication>();
    app->failAtVisible = true;
    EXPECT_THROW(exportReport(f.ws, f.grid, f.fmt, f.offset, [&] { return app; }), Error);
    EXPECT_EQ(f.ws.ReportExcel, app);
    EXPECT_TRUE(app->order.empty());
    EXPECT_EQ(f.offset, 10);
  }
}

}  // namespace
}  // namespace ore::report
