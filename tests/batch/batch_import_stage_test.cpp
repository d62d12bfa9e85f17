#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "data/errors.h"
#include "tests/import/test_workbooks.h"

namespace ore::test {
namespace {

struct BatchImportTest : ::testing::Test {
  BatchImportTest() {
    Sheet s = numberSheet("Проба 1", 2, {{1.5, 2, 3, 4, 5}, {2.5, 3, 4, 5, 6}});
    s.set(3, 8, number(9));  // H3
    std::vector<Sheet> sheets;
    sheets.push_back(std::move(s));
    library.add("mem/sample.xlsx", bookOf(std::move(sheets)));
  }

  batch::BatchState import(const std::vector<std::string>& args) {
    batch::BatchState state(',');
    state.objects = library.objects();
    std::vector<std::string> all = args;
    all.insert(all.end(), {"--lumps", "-"});
    batch::importStage(batch::parseOptions(all), state);
    return state;
  }

  std::string failure(const std::vector<std::string>& args) {
    try {
      import(args);
    } catch (const Error& e) {
      return e.what();
    }
    return "(no failure)";
  }

  WorkbookLibrary library;
};

TEST_F(BatchImportTest, LumpsGridWithTheDialogsDefaults) {
  std::ostringstream out;
  batch::writeGridTsv(import({"mem/sample.xlsx"}).sourceGrid, "-", out);
  EXPECT_EQ(out.str(), "№\tМасса\t%\n1\t1,5\t2\n2\t2,5\t3\n");
}

TEST_F(BatchImportTest, ContentsExtrasAndPocketsByParameter) {
  batch::BatchState s =
      import({"mem/sample.xlsx", "--contents", "4", "--extra", "E,,H", "--pockets-by", "param"});
  EXPECT_EQ(s.ws.PocketBasis, PocketBasis::ByParam);
  EXPECT_EQ(s.ws.ContentCount, 4);
  EXPECT_EQ(s.ws.ContentColumns[1], 5);
  EXPECT_EQ(s.ws.ContentColumns[2], 5) << "an empty letter takes the column above";
  EXPECT_EQ(s.ws.ContentColumns[3], 8);
  ASSERT_EQ(s.ws.LumpCount, 2);
  EXPECT_EQ(s.ws.ExtraContents[3][2], 9);
  ASSERT_EQ(s.sourceGrid.colCount(), 7);
  EXPECT_EQ(s.sourceGrid.cell(3, 0), "параметр  ");
  EXPECT_EQ(s.sourceGrid.cell(3, 1), "3");
  EXPECT_EQ(s.sourceGrid.cell(4, 1), "4");
  EXPECT_EQ(s.sourceGrid.cell(6, 2), "9");
}

TEST_F(BatchImportTest, SheetStartRowAndColumns) {
  batch::BatchState s = import(
      {"mem/sample.xlsx", "--start-row", "3", "--mass", "C", "--content", "B", "--param", "F"});
  ASSERT_EQ(s.ws.LumpCount, 1);
  EXPECT_EQ(s.ws.Mass[1], 3);
  EXPECT_EQ(s.ws.Content[1], 2.5);
  EXPECT_EQ(s.ws.Param[1], 6);
}

TEST_F(BatchImportTest, FailuresGiveTheProgramsMessages) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"mem/sample.xlsx", "--extra", "E,F"},
       "--extra: задано столбцов 2, а при --contents 1 дополнительных содержаний 0"},
      {{"mem/sample.xlsx", "--contents", "x"}, "'x' is not a valid integer value"},
      {{"mem/sample.xlsx", "--contents", ""}, "--contents: не задано количество содержаний"},
      {{"mem/sample.xlsx", "--contents", "12"},
       "Количество содержаний 12 больше 10: загружаются не более 10 содержаний (первое и девять "
       "дополнительных)"},
      {{"mem/sample.xlsx", "--sheet", "2"},
       "В книге «sample.xlsx» нет листа номер 2: листов в ней 1"},
      {{"mem/sample.xlsx", "--param", "d"},
       "Лист «Проба 1» книги «sample.xlsx», строка 2: номер столбца 0 недопустим, столбцы листа "
       "нумеруются от 1 (A) до 16384 (XFD)"},
      {{"mem/none.xlsx"}, "Не удается открыть файл «mem/none.xlsx»: файл не найден"},
      {{""}, "Не задана рабочая книга (см. orefrac-batch --help)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(failure(c.args), c.message)
        << c.args[0] << " " << (c.args.size() > 2 ? c.args[2] : "");
  }
}

// Workbooks whose mass column is a formula: the empty text ends the data, and a formula
// without a result is never taken for an empty cell.
TEST(BatchImportFilesTest, FormulaMassColumnsOfRealWorkbooks) {
  struct Case {
    const char* file;
    std::vector<double> masses;  // empty: the import fails
    const char* message;
  } cases[] = {
      {"formula-empty-text.ods", {20, 40, 60}, ""},
      // The same with the results as spreadsheets cache them: ="" as <c t="str">..<v></v>.
      {"formula-empty-text.cached.xlsx", {20, 40, 60}, ""},
      {"shared-formula-no-value.xlsx", {10, 10, 10, 7}, ""},
      // Written without any cached result, so IF(...) cannot be evaluated here: C2 is #N/A.
      {"formula-empty-text.libreoffice.xlsx",
       {},
       "Could not convert variant of type (Error) into type (OleStr)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::string> args = {OREFRAC_TEST_DATA "/workbooks/faults/" + std::string(c.file),
                                     "--lumps", "-"};
    if (c.file[0] == 'f')
      args.insert(args.end(), {"--mass", "C", "--content", "D", "--param", "E"});
    batch::BatchState s(',');
    if (c.masses.empty()) {
      try {
        batch::importStage(batch::parseOptions(args), s);
        ADD_FAILURE() << "no failure";
      } catch (const Error& e) {
        EXPECT_STREQ(e.what(), c.message);
      }
      continue;
    }
    batch::importStage(batch::parseOptions(args), s);
    ASSERT_EQ(s.ws.LumpCount, static_cast<int>(c.masses.size()));
    for (size_t i = 0; i < c.masses.size(); ++i) EXPECT_EQ(s.ws.Mass[i + 1], c.masses[i]) << i;
  }
}

}  // namespace
}  // namespace ore::test
