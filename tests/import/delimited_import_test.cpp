// Delimited text read straight into the lump arrays against the same file read cell by cell
// through the spreadsheet application: the same data set, grid, steps and messages.

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "data/errors.h"
#include "import/content_columns.h"
#include "import/delimited_lumps.h"
#include "import/workbook_import.h"
#include "platform/spreadsheet/excel_application.h"
#include "platform/workbook/workbook_reader.h"

namespace ore {
namespace {

class StepsView : public ImportView {
 public:
  explicit StepsView(std::string file) : file_(std::move(file)) {}
  void drawDialogCaption(const std::string& t) override { steps += "caption " + t + "|"; }
  std::string chooseFile() override { return file_; }
  void showButton3() override { steps += "button3|"; }
  void hideDialog() override { steps += "hide|"; }
  void drawCountText(const std::string& t) override { steps += "count " + t + "|"; }
  TextGrid& sourceGrid() override { return grid; }
  void showGroup() override { steps += "group|"; }
  std::string steps;
  TextGrid grid;

 private:
  std::string file_;
};

struct Case {
  std::string name, text;
  ImportTexts texts = {};
  std::string contents = "1";
  std::vector<std::string> extra = {};
  char decimal = ',';
};

// Everything an import leaves behind, as one text.
std::string importOnce(const Case& c, const std::string& path, bool streamed) {
  const NumberFormat fmt(c.decimal);
  Workspace ws;
  ws.PocketBasis = PocketBasis::ByParam;
  TextGrid columns(2, static_cast<int>(c.extra.size()) + 1);
  for (std::size_t k = 0; k < c.extra.size(); ++k)
    columns.setCell(1, static_cast<int>(k) + 1, c.extra[k]);
  updateContentColumns(c.contents, columns, ws, fmt);
  // An earlier import's lumps: a failing one keeps them where its arrays reach.
  ws.LumpCount = 4;
  ws.resizeLumps(4);
  for (double* a : {ws.Mass.data(), ws.Content.data(), ws.Param.data(), ws.ExtraContents[1].data(),
                    ws.ExtraContents[5].data()})
    for (std::size_t j = 1; j <= 4; ++j) a[j] = 7.25 * j;
  StepsView view(path);
  view.grid.resize(2, 2);
  view.grid.setCell(1, 1, "old");
  ObjectFactory cellByCell = [](std::string_view) {
    return std::make_shared<ExcelApplication>([](const std::string& p) { return readWorkbook(p); });
  };
  Progress progress;
  std::string out;
  try {
    if (streamed)
      importWorkbook(c.texts, ws, fmt, view, progress);
    else
      importWorkbook(c.texts, ws, fmt, view, progress, cellByCell);
    out = "done|";
  } catch (const Error& e) {
    out = std::string("failed: ") + e.what() + "|";
  }
  out += view.steps + "start " + std::to_string(ws.StartRow) + " lumps " +
         std::to_string(ws.LumpCount) + "|";
  auto array = [&](const char* name, const auto& a) {
    out += name + std::string("[") + std::to_string(a.size()) + "]";
    for (double v : a) out += " " + std::to_string(std::bit_cast<std::uint64_t>(v));
    out += "|";
  };
  array("mass", ws.Mass);
  array("content", ws.Content);
  array("param", ws.Param);
  for (int k = 1; k <= 9; ++k) array("extra", ws.ExtraContents[k]);
  for (int r = 0; r < view.grid.rowCount(); ++r)
    for (int col = 0; col < view.grid.colCount(); ++col) out += view.grid.cell(col, r) + "\t";
  return out;
}

TEST(DelimitedImportTest, ReadsTheSameAsCellByCellThroughTheApplication) {
  ImportTexts badContent, badSheet, rowZero, lowerMass, startFour;
  badContent.contentColumn = "1";
  badSheet.sheet = "2";
  rowZero.startRow = "0";
  lowerMass.massColumn = "b";
  startFour.startRow = "4";
  const std::string rows = "№;Масса;Сод;П;E;F\n1;2,5;3;4;5;6\n2;1,5;;7;;8\n3;0;1;1;1;1\n";
  const Case cases[] = {
      {"plain", rows + "\n4;9;9;9;9;9\n"},
      {"bom-crlf-quotes",
       "\xEF\xBB\xBFa;b;c;d\r\n1;\"2,5\";\"3\";4\r\n2;\"1;5\";1;1\r\n3;\"7\"\"\";1;1\r\n"},
      {"torn-last-line", "h\n1;2;3;4\n2;5;6"},
      {"other-separator", "h\n1;2;3;4\n2;2.5;3;4\n3;1;1;1\n"},
      {"header-only", "a;b;c;d\n"},
      {"empty", ""},
      {"open-quote-after-the-data", "h\n1;2;3;4\n\n\"open\n"},
      {"bad-content-column", rows, badContent},
      {"bad-sheet", rows, badSheet},
      {"start-row-zero", rows, rowZero},
      {"bad-mass-column", rows, lowerMass},
      {"start-below-the-data", rows, startFour},
      {"further-contents", rows, {}, "3", {"E", "F"}},
      {"further-content-past-the-columns", rows, {}, "4", {"E", "F", "Q"}},
      {"further-content-without-letter", rows, {}, "3", {"E", "zz"}},
      {"binary", std::string("h\n1;2;3\0;4\n", 11)},
      {"cp1251", "\xcc\xe0\xf1\xf1\xe0;b;c;d\n1;2;3;4\n2;\xe0;1;1\n"},
      {"utf16", std::string("\xFF\xFEh\0\n\0001\0;\0002\0,\0005\0;\0003\0\n\0", 22)},
      {"blanks-and-exponents", "h\n1; 2,5 ;1E3;-,5\n2;+1;1e-400;1,7976931348623157E309\n"},
      {"tabs", "a\tb\tc\td\n1\t2,5\t3\t4\n"},
      {"point-and-commas", "a,b,c,d\n1,2.5,3,4\n2,\"1,5\",1,1\n", {}, "1", {}, '.'},
  };
  for (const auto& c : cases) {
    const std::string path = ::testing::TempDir() + "delimited-" + c.name + ".csv";
    std::ofstream(path, std::ios::binary) << c.text;
    const std::string cellByCell = importOnce(c, path, false);
    EXPECT_EQ(importOnce(c, path, true), cellByCell) << c.name;
    std::remove(path.c_str());
  }
}

// Read in two parts at once, a text gives what it gives read in one, wherever the cut falls: in
// the header, in the data, after the data's end, before a failure or a quote left open.
TEST(DelimitedImportTest, ReadsTheSameInTwoPartsAsInOne) {
  const std::string block = "1;2,5;3\n2;1,25;0\n3;4;1\n";
  std::string many;
  for (int i = 0; i < 40; ++i) many += block;
  std::string crlf;
  for (char ch : many) crlf += ch == '\n' ? "\r\n" : std::string(1, ch);
  struct Split {
    std::string name, text;
    std::int64_t startRow = 2;
  };
  const Split cases[] = {
      {"plain", "h\n" + many},
      {"crlf", "h\r\n1;2;3\r4;5;6\r\n" + crlf + "7;8;9\r\n"},
      {"cr-only", "h\r1;2;3\r4;5;6\r" + many},
      {"ends-in-the-first-part", "h\n1;2;3\n\n" + many + many},
      {"ends-in-the-second-part", "h\n" + many + "\n;\n" + many},
      {"fails-in-the-first-part", "h\n1;x;3\n" + many + "\n" + many},
      {"fails-in-the-second-part", "h\n" + many + "4;5;y\n" + many + "\n" + many},
      {"torn-last-line", "h\n" + many + "5;6"},
      {"quotes-in-the-first-part", "h\n1;\"2\";3\n" + many},
      {"quotes-in-the-second-part", "h\n" + many + "1;\"2;5\";\"3\n\"\n" + many},
      {"open-quote-in-the-second-part", "h\n" + many + many + "1;\"2\n"},
      {"start-row-in-the-second-part", "h\n" + many + many, 100},
      {"start-row-past-the-text", "h\n" + many, 1000},
  };
  const NumberFormat fmt(',');
  auto read = [&](const Split& c, const std::string& path, std::size_t splitFrom) {
    LumpLayout layout;
    layout.startRow = c.startRow;
    layout.columns = {1, 2, 3};
    Progress progress;
    try {
      const StreamedLumps s = streamDelimitedLumps(path, layout, fmt, progress, splitFrom);
      std::string out = std::to_string(s.count) + " failed " + std::to_string(s.failed) + " at " +
                        std::to_string(s.failedLump) + "/" + std::to_string(s.failedField) + " " +
                        s.failedText + ":";
      for (const auto& v : s.values)
        for (double x : v) out += " " + std::to_string(std::bit_cast<std::uint64_t>(x));
      return out;
    } catch (const Error& e) {
      return std::string("error ") + e.what();
    }
  };
  for (const auto& c : cases) {
    const std::string path = ::testing::TempDir() + "delimited-split-" + c.name + ".csv";
    std::ofstream(path, std::ios::binary) << c.text;
    EXPECT_EQ(read(c, path, 1), read(c, path, std::string::npos)) << c.name;
    std::remove(path.c_str());
  }
}

// A log longer than a sheet: the import reads every lump; read as a workbook it is refused with
// the sheet's limit named.
TEST(DelimitedImportTest, ReadsPastTheLastRowOfASheet) {
  const std::string path = ::testing::TempDir() + "delimited-long-log.csv";
  {
    std::string text = "№;Масса;Сод;П\n";
    for (int i = 1; i <= 1048600; ++i) text += "1;" + std::to_string(i % 1000) + ",5;2;3\n";
    std::ofstream(path, std::ios::binary) << text;
  }
  const NumberFormat fmt(',');
  Workspace ws;
  ws.PocketBasis = PocketBasis::ByContent;
  TextGrid columns(2, 1);
  updateContentColumns("1", columns, ws, fmt);
  StepsView view(path);
  Progress progress;
  importWorkbook(ImportTexts(), ws, fmt, view, progress);
  EXPECT_EQ(ws.LumpCount, 1048600);
  EXPECT_EQ(ws.Mass[1048600], 600.5);
  EXPECT_EQ(view.grid.cell(1, 1048600), "600,5");
  try {
    readWorkbook(path);
    ADD_FAILURE() << "read as a workbook";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("не помещается в лист: ячейка A1048577"),
              std::string::npos)
        << e.what();
  }
  std::remove(path.c_str());
}

}  // namespace
}  // namespace ore
