#include "results/results_header.h"

#include <gtest/gtest.h>

#include "data/results_layout.h"

namespace ore::results {
namespace {

std::vector<std::string> header(const TextGrid& g) {
  std::vector<std::string> cells;
  for (int c = 0; c < g.colCount(); ++c) cells.push_back(g.cell(c, 0));
  return cells;
}

using Texts = std::vector<std::string>;

TEST(ResultsHeaderTest, ExactTextsForZeroOneAndThreeContents) {
  const std::string y = "Выход, %", s = "Содержание, %  №= ", e = "Извлечение, %  №= ";
  struct Case {
    int C;
    Texts texts;
  };
  const Case cases[] = {
      {0, {"№ фр", "Верхней предел, h", y, y, y}},
      {1,
       {"№ фр", "Верхней предел, h", y, s + "1", e + "1", y, s + "1", e + "1", y, s + "1",
        e + "1"}},
      {3, {"№ фр",  "Верхней предел, h",
           y,       s + "1",
           s + "2", s + "3",
           e + "1", e + "2",
           e + "3", y,
           s + "1", s + "2",
           s + "3", e + "1",
           e + "2", e + "3",
           y,       s + "1",
           s + "2", s + "3",
           e + "1", e + "2",
           e + "3"}},
  };
  for (const auto& c : cases) {
    const int columns = ResultsLayout(c.C).columnCount();
    TextGrid g(columns, 3);
    g.setCell(1, 1, "body");
    writeResultsHeader(g, c.C);
    EXPECT_EQ(header(g), c.texts) << "C = " << c.C;
    EXPECT_EQ(g.cell(1, 1), "body");
    EXPECT_EQ(g.colCount(), columns);
    EXPECT_EQ(g.rowCount(), 3);
  }
}

TEST(ResultsHeaderTest, DropsCellsBeyondTheGridAndKeepsItsSize) {
  TextGrid g(4, 2);
  writeResultsHeader(g, 2);
  EXPECT_EQ(header(g), (Texts{"№ фр", "Верхней предел, h", "Выход, %", "Содержание, %  №= 1"}));
  EXPECT_EQ(g.colCount(), 4);
  TextGrid wide(20, 1);
  writeResultsHeader(wide, 1);
  EXPECT_EQ(wide.cell(10, 0), "Извлечение, %  №= 1");
  EXPECT_EQ(wide.cell(11, 0), "");
}

TEST(ResultsHeaderTest, TwoDigitContentNumbers) {
  TextGrid g(6 * 10 + 5, 1);
  writeResultsHeader(g, 10);
  EXPECT_EQ(g.cell(12, 0), "Содержание, %  №= 10");
  EXPECT_EQ(g.cell(6 * 10 + 4, 0), "Извлечение, %  №= 10");
}

}  // namespace
}  // namespace ore::results
