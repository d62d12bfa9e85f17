#include "platform/workbook/xlsx/xlsx_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "data/errors.h"
#include "platform/spreadsheet/report_window_cells.h"
#include "platform/workbook/workbook_reader.h"
#include "tests/platform/workbook/cells.h"
#include "tests/platform/workbook/xlsx/xlsx_writer_readback.h"

namespace ore::test {
namespace {

namespace fs = std::filesystem;

Cell of(Cell::Type type, double v, std::string t = {}) {
  Cell c;
  c.type = type;
  c.number = v;
  c.text = std::move(t);
  return c;
}

// Two sheets with every kind of cell the model has.
Workbook sample() {
  Workbook wb;
  wb.sheets.emplace_back("Отчет");
  wb.sheets.emplace_back("Лист2");
  Sheet& s = wb.sheets[0];
  s.set(1, 1, text("Фракционный состав по   "));
  s.set(2, 1, number(5, "=5"));
  s.set(2, 2, number(12.5));
  s.set(2, 3, of(Cell::Type::Logical, 1));
  s.set(2, 4, of(Cell::Type::Date, 45000));
  s.set(2, 5, of(Cell::Type::Error, 0, "#DIV/0!"));
  s.set(3, 2, number(-1.25e-7));
  s.set(3, 3, of(Cell::Type::Logical, 0));
  s.set(3, 4, of(Cell::Type::Date, 45000.5));
  wb.sheets[1].set(4, 28, number(3));  // AB4
  return wb;
}

TEST(XlsxWriterTest, StoresEveryKindOfCellOnEverySheetInOrder) {
  TempDir dir;
  const std::string file = dir.file("отчет.xlsx");
  writeXlsx(sample(), file);
  EXPECT_EQ(sheetNames(file), (std::vector<std::string>{"Отчет", "Лист2"}));

  const std::string xml = sheetXml(file, 1);
  EXPECT_NE(cellXml(xml, "A1").find(">Фракционный состав по   </t>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "A2").find("<f>5</f><v>5</v>"), std::string::npos) << cellXml(xml, "A2");
  EXPECT_NE(cellXml(xml, "B2").find("<v>12.5</v>"), std::string::npos);
  EXPECT_EQ(cellXml(xml, "B2").find("t=\""), std::string::npos);
  EXPECT_NE(cellXml(xml, "C2").find("t=\"b\"><v>1</v>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "C3").find("t=\"b\"><v>0</v>"), std::string::npos);
  EXPECT_NE(cellXml(xml, "D2").find("s=\""), std::string::npos);  // a date format
  EXPECT_NE(cellXml(xml, "E2").find("#DIV/0!"), std::string::npos);
  EXPECT_NE(cellXml(xml, "B3").find("<v>-1.25E-07</v>"), std::string::npos);
  EXPECT_EQ(cellXml(xml, "A3"), "");
  EXPECT_NE(cellXml(sheetXml(file, 2), "AB4").find("<v>3</v>"), std::string::npos);
  const std::string styles = zipEntry(file, "xl/styles.xml");
  EXPECT_NE(styles.find("dd.mm.yyyy\""), std::string::npos);
  EXPECT_NE(styles.find("dd.mm.yyyy hh:mm:ss"), std::string::npos);
}

// What the file stores for each value, and that our reader gets the value back unchanged.
TEST(XlsxWriterTest, EveryNumberAndTextReopensAsItself) {
  struct Case {
    Cell cell;
    std::string stored;  // in the cell's XML
  } cases[] = {
      {number(1.7976931348623157e308), "<v>1.7976931348623157E+308</v>"},
      {number(0.1 + 0.2), "<v>0.30000000000000004</v>"},
      {number(-1.25e-7), "<v>-1.25E-07</v>"},
      {of(Cell::Type::Date, 45000 + 1.0 / 3), "<v>45000.333333333336</v>"},
      {cellFromTyped("=0,30000000000000004", NumberFormat(',')),
       "<f>0.30000000000000004</f><v>0.30000000000000004</v>"},
      {cellFromTyped("=12,5", NumberFormat(',')), "<f>12.5</f><v>12.5</v>"},
      {text("_x0041_ и _x005f_"), "_x005F_x0041_ и _x005F_x005f_"},
      {text("a\x01\tb\r\nc"), "a_x0001_\tb_x000D_\nc"},
      {text("\xEF\xBF\xBE\xEF\xBF\xBF"), "_xFFFE__xFFFF_"},
      {text("_x41_ _xZZZZ_"), "_x41_ _xZZZZ_"},
  };
  TempDir dir;
  const std::string file = dir.file("exact.xlsx");
  Workbook wb;
  wb.sheets.emplace_back("Лист1");
  for (size_t i = 0; i < std::size(cases); ++i) wb.sheets[0].set(i + 1, 1, cases[i].cell);
  writeXlsx(wb, file);

  const std::string xml = sheetXml(file, 1);
  const Workbook back = readWorkbook(file);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Cell& want = cases[i].cell;
    const std::string element = cellXml(xml, "A" + std::to_string(i + 1));
    EXPECT_NE(element.find(cases[i].stored), std::string::npos) << element;
    const Cell& got = back.sheets.at(0).cell(i + 1, 1);
    EXPECT_EQ(got.type, want.type) << element;
    EXPECT_EQ(got.number, want.number) << element;
    EXPECT_EQ(got.text, want.text) << element;
  }
}

std::string findOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  for (std::string d; std::getline(dirs, d, ':');) {
    fs::path p = fs::path(d) / program;
    if (!d.empty() && ::access(p.c_str(), X_OK) == 0) return p.string();
  }
  return {};
}

std::vector<std::vector<std::string>> readCsv(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> row(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
      char ch = line[i];
      if (ch == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
        row.back() += '"';
        ++i;
      } else if (ch == '"') {
        quoted = !quoted;
      } else if (ch == ',' && !quoted) {
        row.emplace_back();
      } else {
        row.back() += ch;
      }
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(XlsxWriterTest, LibreOfficeReadsTheSavedValues) {
  const std::string soffice = findOnPath("soffice");
  if (soffice.empty())
    GTEST_SKIP() << "soffice (LibreOffice, Debian package libreoffice-calc-nogui) is not installed";
  TempDir dir;
  const std::string file = dir.file("report.xlsx");
  writeXlsx(sample(), file);
  // Every sheet to its own UTF-8 file, formulas as their values; a private profile so that a
  // running LibreOffice is not disturbed.
  const std::string cmd = "timeout 300 '" + soffice + "' -env:UserInstallation=file://" + dir.path +
                          "/profile --headless --convert-to " +
                          "'csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,false," +
                          "false,false,-1' --outdir '" + dir.path + "/csv' '" + file +
                          "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
  auto first = readCsv(dir.path + "/csv/report-Отчет.csv");
  auto second = readCsv(dir.path + "/csv/report-Лист2.csv");
  ASSERT_GE(first.size(), 3u);
  EXPECT_EQ(first[0][0], "Фракционный состав по   ");
  ASSERT_GE(first[1].size(), 5u);
  EXPECT_EQ(first[1][0], "5");
  EXPECT_EQ(first[1][1], "12.5");
  EXPECT_EQ(first[1][2], "TRUE");
  EXPECT_EQ(first[1][3], "03/15/2023");
  EXPECT_EQ(first[1][4], "#DIV/0!");
  EXPECT_EQ(first[2][1], "-0.000000125");
  EXPECT_EQ(first[2][2], "FALSE");
  EXPECT_EQ(first[2][3], "03/15/2023 12:00:00");
  ASSERT_EQ(second.size(), 4u);
  ASSERT_EQ(second[3].size(), 28u);
  EXPECT_EQ(second[3][27], "3");
}

// Under a locale with a decimal comma the C library prints 12,5; the file must still say 12.5.
TEST(XlsxWriterTest, NumbersStayNumbersUnderADecimalCommaLocale) {
  TempDir dir;
  const std::string localedef = findOnPath("localedef");
  const std::string make =
      "'" + localedef + "' -i ru_RU -f UTF-8 '" + dir.path + "/ru_RU.UTF-8' >/dev/null 2>&1";
  if (localedef.empty() || std::system(make.c_str()) != 0)
    GTEST_SKIP() << "the ru_RU.UTF-8 locale cannot be made here (localedef, package locales)";
  const char* oldPath = std::getenv("LOCPATH");
  const std::string savedPath = oldPath ? oldPath : "";
  const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
  ::setenv("LOCPATH", dir.path.c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "ru_RU.UTF-8"), nullptr);
  char printed[32];
  std::snprintf(printed, sizeof printed, "%g", 12.5);
  Workbook wb;
  wb.sheets.emplace_back("Лист1");
  wb.sheets[0].set(1, 1, number(12.5));
  wb.sheets[0].set(1, 2, number(0.5, "=0.5"));
  const std::string file = dir.file("comma.xlsx");
  writeXlsx(wb, file);
  std::setlocale(LC_ALL, savedLocale.c_str());
  if (oldPath)
    ::setenv("LOCPATH", savedPath.c_str(), 1);
  else
    ::unsetenv("LOCPATH");

  EXPECT_STREQ(printed, "12,5");  // the locale really was in force
  const std::string xml = sheetXml(file, 1);
  EXPECT_NE(cellXml(xml, "A1").find("<v>12.5</v>"), std::string::npos) << xml;
  EXPECT_NE(cellXml(xml, "B1").find("<v>0.5</v>"), std::string::npos) << xml;
}

TEST(XlsxWriterTest, RefusesWithAMessageNamingTheFileAndLeavesNothingBehind) {
  TempDir dir;
  const std::string existing = dir.file("old.xlsx");
  writeXlsx(sample(), existing);
  const auto oldSize = fs::file_size(existing);
  fs::create_directory(dir.file("folder.xlsx"));

  auto withSheets = [](std::vector<std::string> names) {
    Workbook wb;
    for (auto& n : names) wb.sheets.emplace_back(n);
    return wb;
  };
  Workbook tooLong = withSheets({"Лист1"});
  tooLong.sheets[0].set(1, 1, text(std::string(32768, 'x')));
  Workbook notFinite = withSheets({"Лист1"});
  notFinite.sheets[0].set(3, 2, number(NAN));
  Workbook notUtf8 = withSheets({"Лист1"});
  notUtf8.sheets[0].set(2, 1, text("Масса \xCC\xE0"));

  struct Case {
    const char* what;
    Workbook wb;
    std::string file;
    std::string reason;
  } cases[] = {
      {"missing folder", sample(), dir.file("нет/a.xlsx"),
       "папка «" + dir.file("нет") + "» не найдена"},
      {"a folder", sample(), dir.file("folder.xlsx"), "это папка"},
      {"no sheets", Workbook{}, existing, "в книге нет листов"},
      {"same name in other case", withSheets({"Отчет", "ОТЧЕТ"}), existing,
       "имя листа «ОТЧЕТ» повторяется"},
      {"long name", withSheets({std::string(32, 'a')}), existing,
       "имя листа «" + std::string(32, 'a') + "» длиннее 31 знака"},
      {"bad character", withSheets({"a/b"}), existing,
       "имя листа «a/b» содержит недопустимый знак ([ ] : * ? / \\)"},
      {"empty name", withSheets({"Лист1", ""}), existing, "у листа 2 нет имени"},
      {"long text", tooLong, existing, "текст ячейки «Лист1»!A1 длиннее 32767 знаков"},
      {"not finite", notFinite, existing, "значение ячейки «Лист1»!B3 не является конечным числом"},
      {"not UTF-8", notUtf8, existing,
       "текст ячейки «Лист1»!A2 содержит байты, которые не являются знаками в кодировке UTF-8"},
  };
  for (const Case& c : cases) {
    try {
      writeXlsx(c.wb, c.file);
      ADD_FAILURE() << c.what;
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), "Не удается сохранить книгу в файл «" + c.file + "»: " + c.reason)
          << c.what;
    }
  }
  // Permissions do not bind root, so this case runs for other users only.
  if (::geteuid() != 0) {
    const std::string locked = dir.file("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    try {
      writeXlsx(sample(), locked + "/a.xlsx");
      ADD_FAILURE() << "read-only folder";
    } catch (const Error& e) {
      EXPECT_EQ(e.what(), "Не удается сохранить книгу в файл «" + locked +
                              "/a.xlsx»: нет прав на запись в папку «" + locked + "»");
    }
    fs::permissions(locked, fs::perms::owner_all);
    fs::remove(locked);
  }
  // The old file is as it was and no temporary file is left over.
  EXPECT_EQ(fs::file_size(existing), oldSize);
  EXPECT_EQ(sheetNames(existing).size(), 2u);
  int entries = 0;
  for (auto& e : fs::directory_iterator(dir.path)) entries += e.path().filename() != "." ? 1 : 0;
  EXPECT_EQ(entries, 2);  // old.xlsx and folder.xlsx
}

TEST(XlsxWriterTest, ReplacesAnExistingFileKeepingItsPermissions) {
  TempDir dir;
  const std::string file = dir.file("a.xlsx");
  { std::ofstream(file) << "not a workbook"; }
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Workbook wb;
  wb.sheets.emplace_back("Один");
  wb.sheets[0].set(1, 1, number(1));
  writeXlsx(wb, file);
  EXPECT_EQ(sheetNames(file), std::vector<std::string>{"Один"});
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace ore::test
