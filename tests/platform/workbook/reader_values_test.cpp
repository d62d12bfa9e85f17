// The conversions the readers share, and the csv reader's own rules.

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "data/errors.h"
#include "platform/workbook/cell_values.h"
#include "platform/workbook/csv/csv_reader.h"
#include "platform/workbook/xlsx/xlsx_reader.h"

namespace ore::reader {
namespace {

TEST(ReaderValuesTest, IsoDatesBecomeSerialNumbersOfThe1900System) {
  struct Case {
    const char* text;
    double serial;
  };
  const Case cases[] = {
      {"2020-01-01", 43831},
      {"2020-01-01T12:00:00", 43831.5},
      {"2020-01-01T06:00:00Z", 43831.25},
      {"2020-01-01T18:00:00+03:00", 43831.75},
      {"2020-01-01 00:00:00.5", 43831 + 0.5 / 86400},
      {"1900-01-01", 1},
      {"1900-02-28", 59},
      {"1900-03-01", 61},  // the spreadsheet's nonexistent 29 February 1900 is 60
      {"1899-12-31", 1},   // before 1900 the count runs on from 1899-12-30 = 0
      {"1899-12-30", 0},
      {"9999-12-31", 2958465},
      {"2000-02-29", 36585},
  };
  for (const auto& c : cases) {
    double v = -1;
    ASSERT_TRUE(isoDateToSerial(c.text, v)) << c.text;
    EXPECT_DOUBLE_EQ(v, c.serial) << c.text;
  }
  const char* bad[] = {"",
                       "2020-1-1",
                       "2020-13-01",
                       "2021-02-29",
                       "2020-01-01T25:00",
                       "2020-01-01x",
                       "20200101",
                       "2020-01-01T12:00:00+5",
                       "0000-01-01"};
  for (const char* b : bad) {
    double v;
    EXPECT_FALSE(isoDateToSerial(b, v)) << b;
  }
}

TEST(ReaderValuesTest, SerialDatesReadBackAsTheirDates) {
  // The dates the readers store, the automation layer hands out and the report window shows.
  const std::tuple<int, int, int, const char*> dates[] = {
      {1899, 12, 30, "30.12.1899"}, {1900, 1, 1, "01.01.1900"},   {1900, 2, 28, "28.02.1900"},
      {1900, 3, 1, "01.03.1900"},   {2020, 1, 1, "01.01.2020"},   {2020, 2, 29, "29.02.2020"},
      {2023, 3, 15, "15.03.2023"},  {9999, 12, 31, "31.12.9999"},
  };
  for (const auto& [y, m, d, text] : dates) EXPECT_EQ(serialDateText(dateSerial(y, m, d)), text);
  const std::pair<double, const char*> serials[] = {
      {60, "29.02.1900"},  // the day the 1900 system counts although it never was
      {0, "30.12.1899"},
      {-1, "29.12.1899"},
      {43831.75, "01.01.2020 18:00:00"},
      {45000.5, "15.03.2023 12:00:00"},
      {43831 + 10.0 / 86400, "01.01.2020 00:00:10"},
      {2958465.999999, "31.12.9999 23:59:59"},  // rounds to the last second, not the next day
  };
  for (const auto& [serial, text] : serials) EXPECT_EQ(serialDateText(serial), text) << serial;
}

TEST(ReaderValuesTest, DurationsAreDays) {
  double v;
  ASSERT_TRUE(isoDurationToDays("PT12H", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  ASSERT_TRUE(isoDurationToDays("PT36H30M", v));
  EXPECT_DOUBLE_EQ(v, 1.5 + 30.0 / 1440);
  ASSERT_TRUE(isoDurationToDays("-PT6H", v));
  EXPECT_DOUBLE_EQ(v, -0.25);
  ASSERT_TRUE(isoDurationToDays("P1DT0H0M1.5S", v));
  EXPECT_DOUBLE_EQ(v, 1 + 1.5 / 86400);
  EXPECT_FALSE(isoDurationToDays("P1Y", v));
  EXPECT_FALSE(isoDurationToDays("PT", v));
  EXPECT_FALSE(isoDurationToDays("12:00", v));
}

TEST(ReaderValuesTest, DateFormats) {
  for (std::uint64_t id : {14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47})
    EXPECT_TRUE(isBuiltinDateFormat(id)) << id;
  for (std::uint64_t id : {0, 1, 2, 9, 10, 11, 12, 13, 23, 37, 44, 48, 49, 164})
    EXPECT_FALSE(isBuiltinDateFormat(id)) << id;

  struct Case {
    const char* code;
    bool date;
  };
  const Case cases[] = {
      {"yyyy-mm-dd", true},
      {"dd/mm/yyyy", true},
      {"[$-419]DD.MM.YYYY", true},
      {"h:mm AM/PM", true},
      {"[h]:mm:ss", true},
      {"[mm]", true},
      {"General", false},
      {"0.00E+00", false},
      {"\"ИСТИНА\";\"ИСТИНА\";\"ЛОЖЬ\"", false},
      {"#,##0\\ \"руб.\"", false},
      {"[Red]0.00;[Blue]-0.00", false},
      {"0\\d", false},  // an escaped d is a letter shown, not a day
      {"0_m", false},   // padding as wide as an m
      {"0*y", false},   // fill with y
      {"\"unclosed", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isDateFormatCode(c.code), c.date) << c.code;
}

TEST(ReaderValuesTest, ConstantFormulas) {
  struct Case {
    const char* formula;
    double value;
  };
  const Case cases[] = {
      {"1+2", 3},   {"=1+2", 3},      {" 2 * (3 + 4) ", 14}, {"-2^2", 4},  {"2^3^2", 64},
      {"10%", 0.1}, {"1.5E3/3", 500}, {"1-2-3", -4},         {"8/4/2", 1}, {"+5", 5},
      {"--1", 1},   {"(((1)))", 1},
  };
  for (const auto& c : cases) {
    double v = 0;
    ASSERT_EQ(evalConstantFormula(c.formula, v), FormulaResult::Value) << c.formula;
    EXPECT_DOUBLE_EQ(v, c.value) << c.formula;
  }
  double v;
  EXPECT_EQ(evalConstantFormula("1/0", v), FormulaResult::DivisionByZero);
  for (const char* f : {"A1+1", "SUM(1,2)", "1+", "(1", "1)", "", "\"a\"&\"b\"", "1e999"})
    EXPECT_EQ(evalConstantFormula(f, v), FormulaResult::NotConstant) << f;
  EXPECT_EQ(evalConstantFormula(std::string(100000, '(') + "1" + std::string(100000, ')'), v),
            FormulaResult::NotConstant);
  EXPECT_EQ(evalConstantFormula(std::string(100000, '-') + "1", v), FormulaResult::NotConstant);
}

TEST(ReaderValuesTest, Numbers) {
  double v;
  ASSERT_TRUE(parseNumber(" 12.5 ", v));
  EXPECT_EQ(v, 12.5);
  ASSERT_TRUE(parseNumber("+4", v));
  EXPECT_EQ(v, 4);
  ASSERT_TRUE(parseNumber("0.30000000000000004", v));
  EXPECT_EQ(v, 0.1 + 0.2);
  ASSERT_TRUE(parseNumber("-1.5E-3", v));
  EXPECT_EQ(v, -0.0015);
  for (const char* b : {"", "inf", "nan", "1e999", "1,5", "0x10", "1 2", "--1", "abc"})
    EXPECT_FALSE(parseNumber(b, v)) << b;
}

TEST(ReaderValuesTest, TextEncodings) {
  std::string s;
  appendCp1251(s, "\xCC\xE0\xF1\xF1\xE0 \xA8\xB8 \xB9");
  EXPECT_EQ(s, "Масса Ёё №");
  EXPECT_TRUE(isValidUtf8("Масса"));
  EXPECT_FALSE(isValidUtf8("\xCC\xE0"));
  EXPECT_FALSE(isValidUtf8("\xC0\x80"));          // overlong
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
  EXPECT_EQ(utf16ToUtf8(std::string("\x1C\x04\x30\x04", 4), false), "Ма");
  EXPECT_EQ(utf16ToUtf8(std::string("\x04\x1C\x04\x30", 4), true), "Ма");
  EXPECT_EQ(utf16ToUtf8(std::string("\x3D\xD8\x00\xDE", 4), false), "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf16ToUtf8(std::string("\x00\xD8", 2), false), "\xEF\xBF\xBD");

  std::string x = "a_x000D_b_x005F_x000D_c_x12_";
  decodeOoxmlEscapes(x);
  EXPECT_EQ(x, "a\rb_x000D_c_x12_");
}

TEST(ReaderValuesTest, PartNames) {
  struct Case {
    const char* base;
    const char* target;
    const char* part;
  };
  const Case cases[] = {
      {"xl/", "worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
      {"xl/", "/xl/worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
      {"xl/", "../xl/sharedStrings.xml", "xl/sharedStrings.xml"},
      {"xl/", "./styles.xml", "xl/styles.xml"},
      {"", "xl/workbook.xml", "xl/workbook.xml"},
      {"xl/", "worksheets/sheet%201.xml", "xl/worksheets/sheet 1.xml"},
      {"xl/", "worksheets\\sheet1.xml", "xl/worksheets/sheet1.xml"},
      {"xl/", "../../../../a.xml", "a.xml"},
  };
  for (const auto& c : cases) EXPECT_EQ(resolvePartName(c.base, c.target), c.part) << c.target;
}

TEST(CsvReaderTest, SeparatorIsSniffedFromTheFirstLines) {
  struct Case {
    const char* text;
    char sep;
  };
  const Case cases[] = {
      {"1;2,5\n3;4,25\n", ';'},  // a decimal comma does not split the lines alike
      {"a,b,c\n1,2,3\n", ','},
      {"a\tb\n1,5\t2,5\n", '\t'},
      {"1;2,5;3\n4;5;6\n", ';'},
      {"\"a;b\",c\n\"d;e\",f\n", ','},  // separators inside quotes do not count
      {"just one field\n", ';'},
      {"", ';'},
      {"a;b\nc;d;e\nf;g\n", ';'},  // uneven: the one found on most lines
  };
  for (const auto& c : cases) EXPECT_EQ(sniffSeparator(c.text), c.sep) << c.text;
}

TEST(CsvReaderTest, FieldsAreTextsAsWritten) {
  ReadContext ctx("t.csv");
  const std::string text =
      "\xEF\xBB\xBFМасса;\"Содержание; %\";C\r\n"
      "1,5;\"say \"\"hi\"\"\";\r\n"
      "\"two\nlines\";;x\r\n"
      "\r\n"
      "\"quoted\"tail;last";
  Workbook wb = readCsv(text, "t", ctx);
  ASSERT_EQ(wb.sheets.size(), 1u);
  const Sheet& s = wb.sheets[0];
  EXPECT_EQ(s.name(), "t");
  struct Want {
    int row, col;
    const char* text;  // nullptr: empty
  };
  const Want want[] = {{1, 1, "Масса"},      {1, 2, "Содержание; %"}, {1, 3, "C"},
                       {2, 1, "1,5"},        {2, 2, "say \"hi\""},    {2, 3, nullptr},
                       {3, 1, "two\nlines"}, {3, 2, nullptr},         {3, 3, "x"},
                       {4, 1, nullptr},      {5, 1, "quotedtail"},    {5, 2, "last"}};
  for (const auto& w : want) {
    const Cell& c = s.cell(w.row, w.col);
    if (!w.text) {
      EXPECT_EQ(c.type, Cell::Type::Empty) << w.row << "," << w.col;
    } else {
      EXPECT_EQ(c.type, Cell::Type::Text) << w.row << "," << w.col;
      EXPECT_EQ(c.text, w.text) << w.row << "," << w.col;
    }
  }
  EXPECT_EQ(s.lastRow(), 5);
}

TEST(CsvReaderTest, EncodingsAndDamage) {
  ReadContext ctx("t.csv");
  // Windows-1251 (not valid UTF-8), UTF-16 with a byte order mark.
  EXPECT_EQ(readCsv("\xCC\xE0\xF1\xF1\xE0;1\n", "t", ctx).sheets[0].cell(1, 1).text, "Масса");
  const std::string u16("\xFF\xFE\x1C\x04\x30\x04\x09\x00\x31\x00\x2C\x00\x35\x00", 14);
  Workbook wb = readCsv(u16, "t", ctx);
  EXPECT_EQ(wb.sheets[0].cell(1, 1).text, "Ма");
  EXPECT_EQ(wb.sheets[0].cell(1, 2).text, "1,5");

  EXPECT_THROW(readCsv("a;\"open\n1;2\n", "t", ctx), Error);
  EXPECT_THROW(readCsv(std::string("a;b\0c\n", 6), "t", ctx), Error);
  try {
    readCsv("x\n\"unclosed", "t", ctx);
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Файл t.csv поврежден: кавычка, открытая в строке 2, не закрыта");
  }
}

}  // namespace
}  // namespace ore::reader
