#include "import/content_columns.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "import/column_letter.h"

namespace ore {
namespace {

TEST(ColumnLetterTest, OnlyOneUpperCaseLatinLetterNamesAColumn) {
  struct Case {
    const char* text;
    int column;
  };
  const Case cases[] = {{"A", 1},  {"B", 2},  {"Z", 26}, {"b", 0}, {"AB", 0}, {"", 0},
                        {" B", 0}, {"B ", 0}, {"1", 0},  {"@", 0}, {"[", 0},  {"\xD0\x92", 0}};
  for (const Case& c : cases) EXPECT_EQ(columnNumberOf(c.text), c.column) << "'" << c.text << "'";
}

struct Tick {
  const char* what;
  const char* count;
  std::vector<const char*> rows;  // column 1 of grid rows 1, 2, ...
  int contentCount;
  std::vector<int> columns;  // ContentColumns[1..count]
};

TEST(ContentColumnsTest, RowsWithoutALetterTakeTheColumnOfTheRowAbove) {
  const Tick ticks[] = {
      {"one content", "1", {}, 1, {0}},
      {"E then nothing", "3", {"E", ""}, 3, {5, 5, 5}},
      {"E and F", "3", {"E", "F"}, 3, {5, 6, 6}},
      {"lower case and two letters count as no letter",
       "5",
       {"E", "e", "EF", "G"},
       5,
       {5, 5, 5, 7, 7}},
      {"row 1 without a letter gives 0", "3", {"", "F"}, 3, {0, 6, 6}},
      {"row 1 not a letter gives 0", "2", {"x"}, 2, {0, 0}},
      {"a leading blank is not a letter", "3", {"C", " D"}, 3, {3, 3, 3}},
      {"ten contents",
       "10",
       {"E", "F", "G", "H", "I", "J", "K", "L", "M"},
       10,
       {5, 6, 7, 8, 9, 10, 11, 12, 13, 13}},
  };
  for (const Tick& t : ticks) {
    SCOPED_TRACE(t.what);
    Workspace ws;
    TextGrid grid(2, static_cast<int>(t.rows.size()) + 1);
    for (size_t i = 0; i < t.rows.size(); ++i) grid.setCell(1, static_cast<int>(i) + 1, t.rows[i]);
    updateContentColumns(t.count, grid, ws, NumberFormat(','));
    EXPECT_EQ(ws.ContentCount, t.contentCount);
    ASSERT_EQ(ws.ContentColumns.size(), static_cast<size_t>(t.contentCount) + 10);
    EXPECT_EQ(ws.ContentColumns[0], 0);
    std::vector<int> got(ws.ContentColumns.begin() + 1,
                         ws.ContentColumns.begin() + 1 + t.contentCount);
    EXPECT_EQ(got, t.columns);
    // One grid row per content, the top one without a label.
    ASSERT_EQ(grid.rowCount(), t.contentCount);
    EXPECT_EQ(grid.cell(0, 0), "");
    for (int n = 2; n <= t.contentCount; ++n) EXPECT_EQ(grid.cell(0, n - 1), std::to_string(n));
  }
}

TEST(ContentColumnsTest, CountsThatGiveNoRows) {
  for (const char* count : {"0", "-3", "-20"}) {
    SCOPED_TRACE(count);
    Workspace ws;
    TextGrid grid(2, 2);
    updateContentColumns(count, grid, ws, NumberFormat(','));
    EXPECT_EQ(ws.ContentCount, std::stoi(count));
    EXPECT_EQ(ws.ContentColumns.size(), static_cast<size_t>(std::max(std::stoi(count) + 10, 0)));
    EXPECT_EQ(grid.rowCount(), 0);
  }
}

TEST(ContentColumnsTest, FailuresChangeNothing) {
  struct Case {
    const char* count;
    const char* message;
  };
  const Case cases[] = {
      {"x", "'x' is not a valid integer value"},
      {"3,", "'3,' is not a valid integer value"},
      {" 3", "' 3' is not a valid integer value"},
      {"1001",
       "Количество содержаний 1001 слишком велико: допустимо не более 1000 (загружается не более "
       "10)"},
      {"2147483647",
       "Количество содержаний 2147483647 слишком велико: допустимо не более 1000 (загружается не "
       "более 10)"},
  };
  for (const Case& c : cases) {
    Workspace ws;
    TextGrid grid(2, 2);
    grid.setCell(1, 1, "E");
    updateContentColumns("2", grid, ws, NumberFormat(','));
    try {
      updateContentColumns(c.count, grid, ws, NumberFormat(','));
      ADD_FAILURE() << c.count << " was accepted";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    updateContentColumns("", grid, ws, NumberFormat(','));  // an empty field does nothing
    EXPECT_EQ(ws.ContentCount, 2);
    EXPECT_EQ(ws.ContentColumns.size(), 12u);
    EXPECT_EQ(ws.ContentColumns[1], 5);
    EXPECT_EQ(grid.rowCount(), 2);
  }
}

TEST(ContentColumnsTest, ColumnsOfOldIndicesSurviveAShrinkingCount) {
  Workspace ws;
  TextGrid grid(2, 4);
  for (int r = 1; r <= 3; ++r) grid.setCell(1, r, std::string(1, static_cast<char>('E' + r - 1)));
  updateContentColumns("4", grid, ws, NumberFormat(','));
  updateContentColumns("2", grid, ws, NumberFormat(','));
  ASSERT_EQ(ws.ContentColumns.size(), 12u);
  EXPECT_EQ(ws.ContentColumns[1], 5);
  EXPECT_EQ(ws.ContentColumns[2], 5) << "row 2 now lies below the grid and reads as empty";
  EXPECT_EQ(ws.ContentColumns[3], 7) << "kept from the tick before";
}

}  // namespace
}  // namespace ore
