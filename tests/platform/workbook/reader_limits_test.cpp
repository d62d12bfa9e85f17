// Hostile and damaged workbooks: each gives a clear message (or reads what it really holds),
// never a crash, a hang or an allocation at the size a file merely claims.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "data/errors.h"
#include "platform/workbook/workbook_reader.h"
#include "tests/platform/workbook/test_files.h"

namespace ore {
namespace {

using namespace testfiles;

// Reads the file expecting a failure whose message names the file and holds `says`.
void expectFailure(const std::string& path, const std::string& says) {
  const auto start = std::chrono::steady_clock::now();
  try {
    readWorkbook(path);
    ADD_FAILURE() << path << " was read";
  } catch (const Error& e) {
    const std::string m = e.what();
    EXPECT_NE(m.find(path), std::string::npos) << m;
    EXPECT_NE(m.find(says), std::string::npos) << m;
  }
  // Not a speed target, only a guard against a hang.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << path;
}

TEST(ReaderLimitsTest, DamagedOrHostileXlsx) {
  struct Case {
    const char* name;
    Members members;
    const char* says;
  };
  const std::string billionLaughs =
      "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 "
      "\"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">]><worksheet xmlns=\"" +
      std::string(kMainNs) +
      "\"><sheetData><row r=\"1\"><c r=\"A1\" "
      "t=\"inlineStr\"><is><t>&lol2;</t></is></c></row></sheetData></worksheet>";
  const std::string sst = std::string("<sst xmlns=\"") + kMainNs + "\"><si><t>a</t></si></sst>";
  const Case cases[] = {
      {"dtd.xlsx", xlsx({{"S", billionLaughs}}), "объявление типа документа (DTD)"},
      {"entity.xlsx",
       xlsx({{"S", sheetXml("<row><c t=\"inlineStr\"><is><t>&x;</t></is></c></row>")}}),
       "неизвестная ссылка на сущность"},
      {"col-past-xfd.xlsx",
       xlsx({{"S", sheetXml("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>")}}),
       "за пределами листа"},
      {"row-past-limit.xlsx", xlsx({{"S", sheetXml("<row r=\"1048577\"><c><v>1</v></c></row>")}}),
       "за пределами листа"},
      {"ref-past-limit.xlsx", xlsx({{"S", sheetXml("<row><c r=\"A1048577\"><v>1</v></c></row>")}}),
       "за пределами листа"},
      {"cells-without-ref-past-xfd.xlsx",
       xlsx({{"S", sheetXml("<row>" +
                            [] {
                              std::string s;
                              for (int i = 0; i < 16385; ++i) s += "<c><v>1</v></c>";
                              return s;
                            }() +
                            "</row>")}}),
       "за пределами листа"},
      {"bad-ref.xlsx", xlsx({{"S", sheetXml("<row><c r=\"1A\"><v>1</v></c></row>")}}),
       "неверная ссылка на ячейку «1A»"},
      {"sst-index.xlsx",
       xlsx({{"S", sheetXml("<row><c r=\"B2\" t=\"s\"><v>7</v></c></row>")}},
            {{"xl/sharedStrings.xml", sst}}),
       "ячейка B2 на листе «S» ссылается на общую строку 7, а в таблице их 1"},
      {"sst-missing.xlsx", xlsx({{"S", sheetXml("<row><c t=\"s\"><v>0</v></c></row>")}}),
       "ссылается на общую строку 0, а в таблице их 0"},
      {"bad-number.xlsx", xlsx({{"S", sheetXml("<row><c r=\"C3\"><v>1,5</v></c></row>")}}),
       "неверное значение «1,5» в ячейке C3"},
      {"bad-type.xlsx", xlsx({{"S", sheetXml("<row><c t=\"q\"><v>1</v></c></row>")}}),
       "неизвестный тип «q»"},
      {"invalid-utf8.xlsx",
       xlsx({{"S", sheetXml("<row><c t=\"inlineStr\"><is><t>\xCC\xE0\xF1</t></is></c></row>")}}),
       "недопустимый символ или разметка"},
      {"unclosed.xlsx",
       xlsx({{"S", std::string("<worksheet xmlns=\"") + kMainNs +
                       "\"><sheetData><row><c><v>1</v></c></row>"}}),
       "не закрыт корневой элемент"},
      {"no-sheet-part.xlsx",
       [] {
         auto m = xlsx({{"S", sheetXml("")}});
         m.erase(m.begin());
         return m;
       }(),
       "в архиве нет части xl/worksheets/sheet1.xml листа «S»"},
      {"deep.xlsx", xlsx({{"S", sheetXml([] {
                             std::string s;
                             for (int i = 0; i < 2000; ++i) s += "<a>";
                             return s;
                           }())}}),
       "вложены глубже 1000 уровней"},
      {"no-workbook.xlsx", {{"_rels/.rels", "<Relationships/>"}}, "в пакете нет книги"},
      {"not-a-workbook-root.xlsx",
       [] {
         auto m = xlsx({});
         for (auto& [n, d] : m)
           if (n == "xl/workbook.xml") d = "<document/>";
         return m;
       }(),
       "не является рабочей книгой"},
  };
  for (const auto& c : cases) expectFailure(writeZip(c.name, c.members), c.says);
}

TEST(ReaderLimitsTest, ClaimedSizesAreNotTakenAtTheirWord) {
  // A dimension of the whole sheet over one cell, a row number at the sheet's last row.
  const std::string path = writeZip(
      "claims.xlsx",
      xlsx({{"S", sheetXml("<row r=\"3\" spans=\"1:16384\"><c r=\"B3\"><v>2</v></c></row>",
                           "<dimension ref=\"A1:XFD1048576\"/>")},
            {"T", sheetXml("<row r=\"1048576\"><c r=\"XFD1048576\"><v>5</v></c></row>")}}));
  Workbook wb = readWorkbook(path);
  ASSERT_EQ(wb.sheets.size(), 2u);
  EXPECT_EQ(wb.sheets[0].lastRow(), 3);
  EXPECT_EQ(wb.sheets[0].lastCol(), 2);
  EXPECT_EQ(wb.sheets[0].cell(3, 2).number, 2);
  EXPECT_EQ(wb.sheets[1].cell(1048576, 16384).number, 5);
}

TEST(ReaderLimitsTest, ScatteredCellsCannotMakeTheModelHuge) {
  // Each row holds one cell at column XFD: a few bytes of XML, 16384 cells of model each.
  std::string data;
  for (int r = 1; r <= 20000; ++r)
    data += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) +
            "\"><v>1</v></c></row>";
  expectFailure(writeZip("scattered.xlsx", xlsx({{"S", sheetXml(data)}})),
                "слишком велик для чтения");
}

TEST(ReaderLimitsTest, ZipBombs) {
  // 4 MiB of blanks deflate more than a thousandfold.
  const std::string blanks = sheetXml(std::string(4u << 20, ' '));
  expectFailure(writeZip("bomb-ratio.xlsx", xlsx({{"S", blanks}})), "сжата более чем в 1000 раз");

  // Modest ratios, but many sheets inflating the same part: far more XML than the file's
  // size warrants.
  std::string part;
  for (int r = 1; part.size() < (2u << 20); ++r)
    part += "<row r=\"" + std::to_string(r) + "\"/>" + std::string(300, ' ');
  std::vector<std::pair<std::string, std::string>> sheets;
  for (int i = 0; i < 60; ++i) sheets.emplace_back("S" + std::to_string(i), sheetXml(part));
  auto members = xlsx(sheets);
  std::string wbRels;
  for (auto& [n, d] : members)
    if (n == "xl/_rels/workbook.xml.rels") {
      // Point every sheet at the first part, then drop the others.
      for (int i = 2; i <= 60; ++i) {
        const std::string from = "sheet" + std::to_string(i) + ".xml\"";
        d.replace(d.find(from), from.size(), "sheet1.xml\"");
      }
    }
  members.erase(members.begin() + 1, members.begin() + 60);
  expectFailure(writeZip("bomb-budget.xlsx", members),
                "распакованное содержимое архива больше допустимого");
}

TEST(ReaderLimitsTest, DeclaredSizesAreNotTrusted) {
  // A bomb whose directory claims 100 bytes: what counts is what inflates.
  std::string bytes;
  {
    const std::string path =
        writeZip("lying.xlsx", xlsx({{"S", sheetXml(std::string(4u << 20, ' '))}}));
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string name = "xl/worksheets/sheet1.xml";
  int patched = 0;
  for (std::size_t at = 0; (at = bytes.find(name, at)) != std::string::npos; at += name.size()) {
    if (at >= 30 && bytes.compare(at - 30, 4, "PK\x03\x04") == 0) {
      bytes.replace(at - 30 + 22, 4, le32(100));
      ++patched;
    }
    if (at >= 46 && bytes.compare(at - 46, 4, "PK\x01\x02") == 0) {
      bytes.replace(at - 46 + 24, 4, le32(100));
      ++patched;
    }
  }
  ASSERT_EQ(patched, 2);
  const std::string path = tempPath("lying.xlsx");
  writeFile(path, bytes);
  expectFailure(path, "сжата более чем в 1000 раз");
}

TEST(ReaderLimitsTest, OdsRepeatsAreMaterialisedOnlyWhereTheyHoldValues) {
  const std::string value = "<table:table-cell office:value-type=\"float\" office:value=\"7\"/>";
  // A billion empty rows and columns cost nothing; a value after them is off the sheet.
  {
    const std::string t =
        "<table:table table:name=\"A\"><table:table-row><table:table-cell "
        "table:number-columns-repeated=\"1000000000\"/>" +
        value +
        "</table:table-row><table:table-row "
        "table:number-rows-repeated=\"2000000000\"><table:table-cell "
        "table:number-columns-repeated=\"16384\"/></table:table-row></table:table>"
        "<table:table table:name=\"B\"><table:table-row table:number-rows-repeated=\"3\">"
        "<table:table-cell table:number-columns-repeated=\"2\" "
        "office:value-type=\"string\"><text:p>x</text:p>"
        "</table:table-cell></table:table-row></table:table>";
    Workbook wb;
    EXPECT_THROW(wb = readWorkbook(writeZip("ods-far.ods", ods(t))), Error);
  }
  {
    const std::string t =
        "<table:table table:name=\"A\"><table:table-row table:number-rows-repeated=\"2000000000\">"
        "<table:table-cell "
        "table:number-columns-repeated=\"1000000\"/></table:table-row></table:table>"
        "<table:table table:name=\"B\"><table:table-row table:number-rows-repeated=\"3\">"
        "<table:table-cell table:number-columns-repeated=\"2\" "
        "office:value-type=\"string\"><text:p>x</text:p>"
        "</table:table-cell></table:table-row></table:table>";
    Workbook wb = readWorkbook(writeZip("ods-empty-repeats.ods", ods(t)));
    ASSERT_EQ(wb.sheets.size(), 2u);
    EXPECT_EQ(wb.sheets[0].lastRow(), 0);
    EXPECT_EQ(wb.sheets[1].lastRow(), 3);
    EXPECT_EQ(wb.sheets[1].lastCol(), 2);
    EXPECT_EQ(wb.sheets[1].cell(3, 2).text, "x");
  }
  expectFailure(
      writeZip("ods-value-past-edge.ods", ods("<table:table table:name=\"A\"><table:table-row "
                                              "table:number-rows-repeated=\"1048577\">" +
                                              value + "</table:table-row></table:table>")),
      "за пределами листа");
  expectFailure(writeZip("ods-value-flood.ods",
                         ods("<table:table table:name=\"A\"><table:table-row "
                             "table:number-rows-repeated=\"1048576\">"
                             "<table:table-cell table:number-columns-repeated=\"16384\" "
                             "office:value-type=\"float\" "
                             "office:value=\"1\"/></table:table-row></table:table>")),
                "слишком велик для чтения");
  expectFailure(writeZip("ods-bad-value.ods",
                         ods("<table:table table:name=\"A\"><table:table-row><table:table-cell "
                             "office:value-type=\"float\" "
                             "office:value=\"x\"/></table:table-row></table:table>")),
                "неверное число «x» в ячейке A1 на листе «A»");
  expectFailure(
      writeZip("ods-encrypted.ods",
               [] {
                 auto m = ods("");
                 m.emplace_back(
                     "META-INF/manifest.xml",
                     "<manifest:manifest "
                     "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\">"
                     "<manifest:file-entry "
                     "manifest:full-path=\"content.xml\"><manifest:encryption-data/>"
                     "</manifest:file-entry></manifest:manifest>");
                 return m;
               }()),
      "защищен паролем");
}

TEST(ReaderLimitsTest, OdsCellTexts) {
  const std::string t =
      "<table:table table:name=\"T\"><table:table-row>"
      "<table:table-cell office:value-type=\"string\"><text:p>a<text:s "
      "text:c=\"3\"/>b<text:tab/>c</text:p>"
      "<text:p>line <text:span>two</text:span></text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"float\" "
      "office:value=\"2\"><office:annotation><text:p>note</text:p>"
      "</office:annotation><text:p>2</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"/>"
      "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"/>"
      "<table:table-cell office:value-type=\"time\" office:time-value=\"PT18H\"/>"
      "<table:table-cell office:value-type=\"float\" office:value=\"0\" "
      "calcext:value-type=\"error\">"
      "<text:p>#DIV/0!</text:p></table:table-cell>"
      "<table:table-cell><text:p>untyped</text:p></table:table-cell>"
      "<table:covered-table-cell office:value-type=\"date\" "
      "office:date-value=\"2020-01-01T12:00:00\"/>"
      "</table:table-row></table:table>";
  Workbook wb = readWorkbook(writeZip("ods-texts.ods", ods(t)));
  const Sheet& s = wb.sheets.at(0);
  EXPECT_EQ(s.cell(1, 1).text, "a   b\tc\nline two");
  EXPECT_EQ(s.cell(1, 2).number, 2);
  EXPECT_EQ(s.cell(1, 3).number, 0.25);
  EXPECT_EQ(s.cell(1, 4).type, Cell::Type::Logical);
  EXPECT_EQ(s.cell(1, 5).type, Cell::Type::Date);
  EXPECT_EQ(s.cell(1, 5).number, 0.75);
  EXPECT_EQ(s.cell(1, 6).type, Cell::Type::Error);
  EXPECT_EQ(s.cell(1, 6).text, "#DIV/0!");
  EXPECT_EQ(s.cell(1, 7).text, "untyped");
  EXPECT_EQ(s.cell(1, 8).number, 43831.5);
}

TEST(ReaderLimitsTest, OdsTablesInEveryLegalFormReadAlike) {
  // B1 = 1.5, C1 = "a<b", D1 = 7 under the usual prefixes, under others (the table namespace
  // the default one) and in forms the scanner leaves to expat (a binding inside the table, a
  // comment, CDATA, a character reference): the same cells.
  const std::string row =
      "<table:table-row><table:table-cell/><table:table-cell office:value-type=\"float\" "
      "office:value=\"1.5\"><text:p>1,5</text:p></table:table-cell><table:table-cell "
      "office:value-type=\"string\"><text:p>a&lt;b</text:p></table:table-cell><table:table-cell "
      "office:value-type=\"float\" office:value=\"7\"/></table:table-row>";
  auto content = [](const std::string& body) {
    return Members{{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                   {"content.xml", body}};
  };
  const Members forms[] = {
      ods("<table:table table:name=\"T\">" + row + "</table:table>"),
      content("<o:document-content xmlns:o=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
              "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
              "xmlns:tb=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
              "xmlns:x=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><o:body><o:spreadsheet>"
              "<table tb:name=\"T\"><table-row><table-cell/><table-cell o:value-type=\"float\" "
              "o:value=\"1.5\"/><table-cell o:value-type=\"string\"><x:p>a&lt;b</x:p></table-cell>"
              "<tb:table-cell o:value=\"7\" o:value-type=\"float\"/></table-row></table>"
              "</o:spreadsheet></o:body></o:document-content>"),
      ods("<t:table xmlns:t=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" t:name=\"T\">" +
          row + "</t:table>"),
      ods("<table:table table:name=\"T\"><!-- note --><table:table-row><table:table-cell/>"
          "<table:table-cell office:value-type=\"float\" office:value=\"1.5\"/><table:table-cell "
          "office:value-type=\"string\"><text:p><![CDATA[a<b]]></text:p></table:table-cell>"
          "<table:table-cell office:value-type=\"float\" office:value=\"&#55;\"/>"
          "</table:table-row></table:table>"),
  };
  for (const Members& form : forms) {
    Workbook wb = readWorkbook(writeZip("forms.ods", form));
    const Sheet& s = wb.sheets.at(0);
    const std::string& xml = form[1].second;
    EXPECT_EQ(s.name(), "T") << xml;
    EXPECT_EQ(s.cell(1, 2).number, 1.5) << xml;
    EXPECT_EQ(s.cell(1, 3).text, "a<b") << xml;
    EXPECT_EQ(s.cell(1, 4).number, 7) << xml;
    EXPECT_EQ(s.lastCol(), 4) << xml;
  }
  // An unbound prefix in the rows is expat's message; damage after the sheets is named where it
  // is in the whole part.
  expectFailure(writeZip("unbound.ods", ods("<table:table table:name=\"T\"><table:table-row>"
                                            "<z:cell/></table:table-row></table:table>")),
                "префикс пространства имен не объявлен");
  Members tail = ods("<table:table table:name=\"Т\">\n" + row + "\n" + row + "</table:table>");
  tail[1].second += "<bad>";
  expectFailure(writeZip("tail.ods", tail), "(строка 3, столбец 381)");
}

TEST(ReaderLimitsTest, XlsxCellKinds) {
  const std::string styles =
      std::string("<styleSheet xmlns=\"") + kMainNs +
      "\"><numFmts><numFmt numFmtId=\"164\" formatCode=\"dd.mm.yyyy\"/><numFmt "
      "numFmtId=\"165\" formatCode=\"0.00\"/></numFmts><cellXfs><xf numFmtId=\"0\"/>"
      "<xf numFmtId=\"164\"/><xf numFmtId=\"14\"/><xf numFmtId=\"165\"/></cellXfs></styleSheet>";
  const std::string sst =
      std::string("<sst xmlns=\"") + kMainNs +
      "\"><si><r><t>Ма</t></r><r><rPr/><t>сса</t></r><rPh><t>ふりがな</t></rPh></si>"
      "<si><t>a_x000D_b</t></si></sst>";
  const std::string data =
      "<row r=\"1\"><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c s=\"1\"><v>43831</v></c>"
      "<c s=\"2\"><v>1.5</v></c><c s=\"3\"><v>2</v></c><c t=\"b\"><v>0</v></c><c "
      "t=\"e\"><v>#REF!</v></c>"
      "<c t=\"str\"><f>\"a\"</f><v>txt</v></c><c t=\"d\"><v>2020-01-01T06:00:00</v></c></row>"
      "<row><c><f>2*(3+4)</f></c><c><f>A1+1</f><v></v></c><c><f>1/0</f></c><c s=\"1\"/>"
      "<c r=\"F2\" t=\"inlineStr\"><is><r><t>in</t></r><r><t>line</t></r></is></c>"
      "<c><is><t>untyped</t></is></c></row>"
      // Formulas without a result: the empty text (=""), and a shared formula whose master and
      // followers carry no value; a follower of an unknown or non-constant master is #N/A.
      "<row r=\"3\"><c t=\"str\"><f>IF(B3=\"\",\"\",1)</f><v></v></c>"
      "<c><f t=\"shared\" ref=\"B3:C3\" si=\"0\">1+9</f></c><c><f t=\"shared\" si=\"0\"/></c>"
      "<c><f t=\"shared\" si=\"7\"/></c><c><f t=\"shared\" ref=\"E3:F3\" si=\"1\">A3*2</f></c>"
      "<c><f t=\"shared\" si=\"1\"/></c><c t=\"str\"><f t=\"shared\" si=\"0\"/></c></row>";
  Workbook wb = readWorkbook(writeZip(
      "kinds.xlsx",
      xlsx({{"S", sheetXml(data)}}, {{"xl/sharedStrings.xml", sst}, {"xl/styles.xml", styles}})));
  const Sheet& s = wb.sheets.at(0);
  struct Want {
    int row, col;
    Cell::Type type;
    double number;
    const char* text;
  };
  using T = Cell::Type;
  const Want want[] = {
      {1, 1, T::Text, 0, "Масса"},  {1, 2, T::Text, 0, "a\rb"},   {1, 3, T::Date, 43831, ""},
      {1, 4, T::Date, 1.5, ""},     {1, 5, T::Number, 2, ""},     {1, 6, T::Logical, 0, ""},
      {1, 7, T::Error, 0, "#REF!"}, {1, 8, T::Text, 0, "txt"},    {1, 9, T::Date, 43831.25, ""},
      {2, 1, T::Number, 14, ""},    {2, 2, T::Error, 0, "#N/A"},  {2, 3, T::Error, 0, "#DIV/0!"},
      {2, 4, T::Empty, 0, ""},      {2, 6, T::Text, 0, "inline"}, {2, 7, T::Text, 0, "untyped"},
      {3, 1, T::Text, 0, ""},       {3, 2, T::Number, 10, ""},    {3, 3, T::Number, 10, ""},
      {3, 4, T::Error, 0, "#N/A"},  {3, 5, T::Error, 0, "#N/A"},  {3, 6, T::Error, 0, "#N/A"},
      {3, 7, T::Number, 10, ""},
  };
  for (const auto& w : want) {
    const Cell& c = s.cell(w.row, w.col);
    EXPECT_EQ(c.type, w.type) << w.row << "," << w.col;
    EXPECT_EQ(c.number, w.number) << w.row << "," << w.col;
    EXPECT_EQ(c.text, w.text) << w.row << "," << w.col;
  }
}

TEST(ReaderLimitsTest, XlsxRowsInEveryLegalFormReadAlike) {
  // B1 = 1.5, C1 = "a<b", D1 = 7; the forms the row scanner reads itself and those it leaves to
  // expat (comments, CDATA, character references) must give the same cells.
  const char* forms[] = {
      "<row r=\"1\"><c r=\"B1\"><v>1.5</v></c><c r=\"C1\" t=\"inlineStr\"><is><t>a&lt;b</t>"
      "</is></c><c r=\"D1\"><v>7</v></c></row>",
      "<x:row xmlns:x=\"u\"><x:c t='n' r='B1' ><x:v>1.5</x:v></x:c>\n <x:c t=\"inlineStr\">"
      "<x:is><x:r><x:rPr><x:b/></x:rPr><x:t xml:space=\"preserve\">a</x:t></x:r><x:r><x:t>&lt;b"
      "</x:t></x:r><x:rPh><x:t>z</x:t></x:rPh></x:is></x:c><x:c><x:v>7</x:v></x:c></x:row>",
      "<row r=\"1\"><c r=\"B1\"><v>1.5</v></c><!-- note --><c r=\"C1\" t=\"inlineStr\"><is><t>"
      "<![CDATA[a<b]]></t></is></c><c r=\"D1\"><v>&#55;</v></c></row>",
  };
  for (const char* form : forms) {
    Workbook wb = readWorkbook(writeZip("forms.xlsx", xlsx({{"S", sheetXml(form)}})));
    const Sheet& s = wb.sheets.at(0);
    EXPECT_EQ(s.cell(1, 2).number, 1.5) << form;
    EXPECT_EQ(s.cell(1, 3).text, "a<b") << form;
    EXPECT_EQ(s.cell(1, 4).number, 7) << form;
    EXPECT_EQ(s.lastCol(), 4) << form;
  }
  // Damage after the rows is named where it is in the whole part (lines, and columns counted
  // in characters).
  const std::string tail =
      std::string("<worksheet xmlns=\"") + kMainNs +
      "\">\n<sheetData><row><c t=\"inlineStr\"><is><t>Масса</t></is></c></row>\n<row><c><v>1"
      "</v></c></row></sheetData><bad></worksheet>";
  expectFailure(writeZip("tail.xlsx", xlsx({{"S", tail}})), "(строка 3, столбец 46)");
}

TEST(ReaderLimitsTest, XlsRecords) {
  // A shared string split by a CONTINUE record (the rest resumes with a flags byte: wide).
  const std::string sst =
      record(0x00FC, le32(2) + le32(2) + str16("Mass") + le16(5) + '\0' + "ab") +
      record(0x003C, std::string("\x01"
                                 "c\0d\0e\0",
                                 7));
  const std::string globals = record(0x041E, le16(164) + str16("dd.mm.yyyy")) +
                              record(0x00E0, std::string(20, '\0')) +
                              record(0x00E0, le16(0) + le16(164) + std::string(16, '\0')) + sst;
  auto cell = [](int r, int c, int xf) { return le16(r) + le16(c) + le16(xf); };
  const std::string cells =
      record(0x00FD, cell(0, 0, 0) + le32(0)) + record(0x00FD, cell(0, 1, 0) + le32(1)) +
      record(0x027E, cell(1, 0, 0) + le32((1234u << 2) | 3)) +  // 12.34 as hundredths
      record(0x00BD, cell(1, 1, 0).substr(0, 4) + le16(0) + le32((5u << 2) | 2) + le16(1) +
                         le32((43831u << 2) | 2) + le16(2)) +
      record(0x0205, cell(2, 0, 0) + '\1' + '\0') + record(0x0205, cell(2, 1, 0) + '\x07' + '\1') +
      record(0x0006,
             cell(3, 0, 0) + std::string("\0\0\0\0\0\0\xFF\xFF", 8) + std::string(6, '\0')) +
      record(0x0207, str16("result")) +
      record(0x0006,
             cell(3, 1, 0) + std::string("\x01\0\x01\0\0\0\xFF\xFF", 8) + std::string(6, '\0')) +
      record(0x0204, cell(4, 0, 0) + str16("label"));
  const std::string path = tempPath("records.xls");
  writeFile(path, compoundFile(biffWorkbook(globals, cells)));
  Workbook wb = readWorkbook(path);
  ASSERT_EQ(wb.sheets.size(), 1u);
  const Sheet& s = wb.sheets[0];
  EXPECT_EQ(s.name(), "S");
  EXPECT_EQ(s.cell(1, 1).text, "Mass");
  EXPECT_EQ(s.cell(1, 2).text, "abcde");
  EXPECT_EQ(s.cell(2, 1).number, 12.34);
  EXPECT_EQ(s.cell(2, 2).number, 5);
  EXPECT_EQ(s.cell(2, 3).type, Cell::Type::Date);
  EXPECT_EQ(s.cell(2, 3).number, 43831);
  EXPECT_EQ(s.cell(3, 1).type, Cell::Type::Logical);
  EXPECT_EQ(s.cell(3, 1).number, 1);
  EXPECT_EQ(s.cell(3, 2).text, "#DIV/0!");
  EXPECT_EQ(s.cell(4, 1).text, "result");
  EXPECT_EQ(s.cell(4, 2).type, Cell::Type::Logical);
  EXPECT_EQ(s.cell(5, 1).text, "label");
}

TEST(ReaderLimitsTest, DamagedXls) {
  auto cell = [](int r, int c) { return le16(r) + le16(c) + le16(0); };
  const std::string sst = record(0x00FC, le32(1) + le32(1) + str16("a"));
  struct Case {
    const char* name;
    std::string bytes;
    const char* says;
  };
  std::string loop = compoundFile(biffWorkbook("", ""));
  loop.replace(512 + 4 * 3, 4, le32(2));  // the stream's second sector leads back to its first
  std::string noWorkbook = compoundFile(biffWorkbook("", ""));
  noWorkbook.replace(1024 + 128, 2, std::string("X\0", 2));
  const Case cases[] = {
      {"sst-index.xls", compoundFile(biffWorkbook(sst, record(0x00FD, cell(0, 0) + le32(5)))),
       "ячейка A1 на листе «S» ссылается на строку 5, а в таблице строк их 1"},
      {"short-record.xls", compoundFile(biffWorkbook("", record(0x0203, cell(0, 0)))),
       "запись BIFF короче"},
      {"past-stream.xls", compoundFile(biffWorkbook("", le16(0x0203) + le16(5000))),
       "выходит за конец потока"},
      {"no-eof.xls", compoundFile(biffWorkbook("", "").substr(0, biffWorkbook("", "").size() - 4)),
       "оборван"},
      {"encrypted.xls", compoundFile(biffWorkbook(record(0x002F, le16(1)), "")), "защищен паролем"},
      {"chain-loop.xls", loop, "цепочка секторов"},
      {"no-workbook-stream.xls", noWorkbook, "не является рабочей книгой"},
      {"header-only.xls", compoundFile("").substr(0, 512), "поврежден"},
      {"col-past-limit.xls",
       compoundFile(biffWorkbook(
           "", record(0x0203, le16(0) + le16(20000) + le16(0) + std::string(8, '\0')))),
       "за пределами листа"},
  };
  for (const auto& c : cases) {
    const std::string path = tempPath(c.name);
    writeFile(path, c.bytes);
    expectFailure(path, c.says);
  }
}

// A cell further out than a sheet reaches is a file too large for a sheet, not a damaged one.
TEST(ReaderLimitsTest, CellsPastTheSheetSayWhichLimitTheyPass) {
  std::string wide;
  for (int i = 0; i < 16385; ++i) wide += "1;";
  const std::string widePath = tempPath("wide-row.csv");
  writeFile(widePath, wide);
  struct Case {
    std::string path;
    const char* says;
  };
  const Case cases[] = {
      {writeZip("below.xlsx", xlsx({{"S", sheetXml("<row r=\"1048577\"><c><v>1</v></c></row>")}})),
       "ячейка A1048577 на листе «S» лежит за пределами листа: ниже его последней строки "
       "1 048 576"},
      {writeZip("right.xlsx",
                xlsx({{"S", sheetXml("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>")}})),
       "ячейка в строке 1, столбце 16385 на листе «S» лежит за пределами листа: правее его "
       "последнего столбца XFD (16 384)"},
      {widePath,
       "ячейка в строке 1, столбце 16385 на листе «wide-row» лежит за пределами листа: правее "
       "его последнего столбца XFD (16 384)"},
  };
  for (const auto& c : cases) {
    try {
      readWorkbook(c.path);
      ADD_FAILURE() << c.path << " was read";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Файл " + c.path + " не помещается в лист: " + c.says);
    }
  }
}

TEST(ReaderLimitsTest, HugeDelimitedText) {
  {
    // One field of 100 MB on a single line reads (memory in proportion to the file).
    std::string big(100u << 20, 'x');
    big += ";1\n";
    const std::string path = tempPath("long-line.csv");
    writeFile(path, big);
    big.clear();
    big.shrink_to_fit();
    Workbook wb = readWorkbook(path);
    EXPECT_EQ(wb.sheets.at(0).cell(1, 1).text.size(), 100u << 20);
    EXPECT_EQ(wb.sheets[0].cell(1, 2).text, "1");
  }
  {
    std::string wide;
    for (int i = 0; i < 20000; ++i) wide += "1;";
    const std::string path = tempPath("wide.csv");
    writeFile(path, wide);
    expectFailure(path, "за пределами листа");
  }
  {
    std::string tall;
    for (int i = 0; i < 1048577; ++i) tall += "1\n";
    const std::string path = tempPath("tall.csv");
    writeFile(path, tall);
    expectFailure(path, "ячейка A1048577");
  }
}

}  // namespace
}  // namespace ore

namespace ore {
namespace {

TEST(ReaderLimitsTest, KeptHostileInputsReadOrFailCleanly) {
  const std::filesystem::path dir = std::filesystem::path(OREFRAC_TEST_DATA) / "hostile";
  int kept = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().filename() == "README.md") continue;
    ++kept;
    try {
      readWorkbook(e.path().string());
    } catch (const Error&) {
    } catch (const std::exception& x) {
      ADD_FAILURE() << e.path() << ": " << x.what();
    }
  }
  // A folder that lost its files would let this test pass without reading anything.
  EXPECT_GT(kept, 0) << dir;
}

}  // namespace
}  // namespace ore
