// Every test workbook read cell by cell against what MANIFEST.json says it holds.

#include "platform/workbook/workbook_reader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "data/errors.h"
#include "tests/platform/workbook/json_lite.h"

namespace ore {
namespace {

using testjson::Value;

const std::string kDir = std::string(OREFRAC_TEST_DATA) + "/workbooks/";

const Value& manifest() {
  static const Value m = [] {
    std::ifstream in(kDir + "MANIFEST.json", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return testjson::Parser(ss.str()).parse();
  }();
  return m;
}

std::int64_t column(const std::string& letters) {
  std::int64_t c = 0;
  for (char ch : letters) c = c * 26 + (ch - 'A' + 1);
  return c;
}

std::string describe(const Cell& c) {
  static const char* kNames[] = {"empty", "number", "text", "logical", "date", "error"};
  std::ostringstream o;
  o.precision(17);
  o << kNames[static_cast<int>(c.type)] << ' ';
  if (c.type == Cell::Type::Text || c.type == Cell::Type::Error)
    o << '"' << c.text << '"';
  else
    o << c.number;
  return o.str();
}

// Compares one sheet with its cell set: each listed cell, and no cell that is not listed.
void expectSheet(const Sheet& sheet, const Value& cells, bool csv, const std::string& where) {
  std::size_t listed = 0;
  for (const auto& entry : cells.array) {
    const auto row = static_cast<std::int64_t>(entry[0].number);
    const auto col = column(entry[1].string);
    const std::string& type = entry[2].string;
    const Cell& got = sheet.cell(row, col);
    const std::string at =
        where + " " + entry[1].string + std::to_string(row) + ": " + describe(got);
    if (csv) {
      // Delimited text has no types: each field is its text, an empty field an empty cell.
      std::string field = entry.size() > 4 && entry[4].has("field") ? entry[4]["field"].string
                          : type == "text"                          ? entry[3].string
                                                                    : "";
      if (field.empty()) {
        EXPECT_EQ(got.type, Cell::Type::Empty) << at;
      } else {
        ++listed;
        EXPECT_EQ(got.type, Cell::Type::Text) << at;
        EXPECT_EQ(got.text, field) << at;
      }
      continue;
    }
    if (type == "empty") {
      EXPECT_EQ(got.type, Cell::Type::Empty) << at;
      continue;
    }
    ++listed;
    if (type == "number") {
      EXPECT_EQ(got.type, Cell::Type::Number) << at;
      EXPECT_EQ(got.number, entry[3].number) << at;
    } else if (type == "date") {
      EXPECT_EQ(got.type, Cell::Type::Date) << at;
      EXPECT_EQ(got.number, entry[3].number) << at;
    } else if (type == "logical") {
      EXPECT_EQ(got.type, Cell::Type::Logical) << at;
      EXPECT_EQ(got.number, entry[3].boolean ? 1.0 : 0.0) << at;
    } else if (type == "text") {
      EXPECT_EQ(got.type, Cell::Type::Text) << at;
      EXPECT_EQ(got.text, entry[3].string) << at;
    } else {
      ADD_FAILURE() << at << " unknown type " << type;
    }
  }
  std::size_t present = 0;
  for (std::int64_t r = 1; r <= sheet.lastRow(); ++r)
    for (std::int64_t c = 1; c <= sheet.lastCol(); ++c)
      present += sheet.cell(r, c).type != Cell::Type::Empty;
  EXPECT_EQ(present, listed) << where << ": cells the manifest does not list";
}

TEST(WorkbookReaderTest, EveryFixtureHoldsWhatTheManifestLists) {
  int files = 0;
  for (const auto& [name, file] : manifest()["files"].object) {
    if (name.rfind("corrupt/", 0) == 0 || name == "large-100k.xlsx") continue;
    SCOPED_TRACE(name);
    ++files;
    Workbook wb;
    ASSERT_NO_THROW(wb = readWorkbook(kDir + name));
    const bool csv = file["format"].string == "csv";
    const auto& sheets = file["sheets"].array;
    ASSERT_EQ(wb.sheets.size(), sheets.size());
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      // A csv file holds one sheet, named after the file.
      std::string expectedName = csv ? name.substr(0, name.rfind('.')) : sheets[i]["name"].string;
      EXPECT_EQ(wb.sheets[i].name(), expectedName);
      expectSheet(wb.sheets[i], manifest()["cell_sets"][sheets[i]["cells"].string], csv,
                  name + " sheet " + std::to_string(i + 1));
    }
  }
  EXPECT_EQ(files, 22);
}

TEST(WorkbookReaderTest, LargeWorkbookSumsFirstAndLastLumps) {
  const auto& expected = manifest()["files"]["large-100k.xlsx"]["expected"][0];
  Workbook wb = readWorkbook(kDir + "large-100k.xlsx");
  ASSERT_EQ(wb.sheets.size(), 1u);
  const Sheet& s = wb.sheets[0];
  const auto lumps = static_cast<std::int64_t>(expected["lump_count"].number);
  ASSERT_EQ(s.lastRow(), lumps + 1);
  EXPECT_EQ(s.cell(lumps + 2, 2).type, Cell::Type::Empty);

  const char* fields[] = {"mass", "content", "param", "extra1", "extra2", "extra3", "extra4"};
  for (int f = 0; f < 7; ++f) {
    const std::int64_t col = f + 2;  // B to H
    // Kahan-compensated sum; the manifest's sums are exactly rounded.
    double sum = 0, comp = 0;
    for (std::int64_t r = 2; r <= lumps + 1; ++r) {
      const Cell& c = s.cell(r, col);
      ASSERT_EQ(c.type, Cell::Type::Number) << fields[f] << " row " << r;
      double y = c.number - comp;
      double t = sum + y;
      comp = (t - sum) - y;
      sum = t;
    }
    const double want = expected["column_sums"][fields[f]].number;
    EXPECT_NEAR(sum, want, std::fabs(want) * 1e-12) << fields[f];
    for (int k = 0; k < 3; ++k)
      EXPECT_EQ(s.cell(2 + k, col).number, expected["first_lumps"][k][f].number) << fields[f];
    EXPECT_EQ(s.cell(lumps + 1, col).number, expected["last_lump"][f].number) << fields[f];
  }
}

TEST(WorkbookReaderTest, DamagedFilesFailWithAMessageNamingTheFile) {
  struct Case {
    const char* file;
    const char* says;
  };
  const Case cases[] = {
      {"corrupt/empty.xlsx", "не является рабочей книгой (xlsx, xls, ods, csv): файл пуст"},
      {"corrupt/text-renamed.xlsx", "не является рабочей книгой (xlsx, xls, ods, csv)"},
      {"corrupt/zip-random.xlsx", "не является рабочей книгой"},
      {"corrupt/truncated.xlsx", "поврежден: архив ZIP"},
      {"corrupt/malformed-sheet.xlsx", "поврежден: ошибка XML в части xl/worksheets/sheet1.xml"},
  };
  int n = 0;
  for (const auto& [name, file] : manifest()["files"].object) n += name.rfind("corrupt/", 0) == 0;
  EXPECT_EQ(n, 5) << "a damaged fixture without a case here";
  for (const auto& c : cases) {
    const std::string path = kDir + c.file;
    try {
      readWorkbook(path);
      ADD_FAILURE() << c.file << " was read";
    } catch (const Error& e) {
      const std::string m = e.what();
      EXPECT_EQ(m.rfind("Файл " + path + " ", 0), 0u) << m;
      EXPECT_NE(m.find(c.says), std::string::npos) << m;
    }
  }
}

TEST(WorkbookReaderTest, MissingFileGivesTheSystemReason) {
  const std::string path = kDir + "no-such-file.xlsx";
  try {
    readWorkbook(path);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Не удается открыть файл " + path + ": " + std::strerror(ENOENT));
  }
  EXPECT_THROW(readWorkbook(kDir), Error);  // a folder
}

TEST(WorkbookReaderTest, FormatComesFromTheContentNotTheName) {
  // An xls under an xlsx name, an ods under a csv name: each read as what it is.
  const std::string tmp = ::testing::TempDir();
  struct Case {
    const char* from;
    const char* as;
  };
  const Case cases[] = {{"edge-values.xls", "a.xlsx"},
                        {"edge-values.ods", "b.csv"},
                        {"edge-values.xlsxwriter.xlsx", "c.ods"}};
  for (const auto& c : cases) {
    std::ifstream in(kDir + c.from, std::ios::binary);
    std::ofstream(tmp + c.as, std::ios::binary) << in.rdbuf();
    Workbook wb = readWorkbook(tmp + c.as);
    ASSERT_EQ(wb.sheets.size(), 2u) << c.from;
    EXPECT_EQ(wb.sheets[0].cell(4, 4).type, Cell::Type::Logical) << c.from;
  }
}

// Every format reports how far it has come, ends at all of it, and stops when asked to.
TEST(WorkbookReaderTest, ReadingReportsProgressAndStopsWhenAsked) {
  struct Recording : Progress {
    int reports = 0;
    bool backwards = false;
    std::uint64_t last = 0;
    void reported() override {
      ++reports;
      backwards = backwards || (done() < last && done() != 0);
      last = done();
    }
  };
  for (const char* name : {"basic-120.xlsxwriter.xlsx", "basic-120.ods", "basic-120.xls",
                           "basic-120.csv", "large-100k.xlsx"}) {
    Recording heard;
    readWorkbook(kDir + name, heard);
    EXPECT_GT(heard.total(), 0u) << name;
    EXPECT_EQ(heard.done(), heard.total()) << name;
    EXPECT_FALSE(heard.backwards) << name;
    if (std::string(name) == "large-100k.xlsx") EXPECT_GT(heard.reports, 10) << name;

    Progress stopped;
    stopped.requestStop();
    EXPECT_THROW(readWorkbook(kDir + name, stopped), WorkStopped) << name;
  }
}

}  // namespace
}  // namespace ore
