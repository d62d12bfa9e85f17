#include "platform/spreadsheet/report_window_cells.h"

#include <gtest/gtest.h>

namespace ore {
namespace {

Cell make(Cell::Type t, double v, std::string text = {}, std::string formula = {}) {
  Cell c;
  c.type = t;
  c.number = v;
  c.text = std::move(text);
  c.formula = std::move(formula);
  return c;
}

TEST(ReportWindowCellsTest, ShowsEveryKindOfCell) {
  const NumberFormat fmt(',');
  struct Case {
    Cell cell;
    std::string shown;
    std::string edited;
  } cases[] = {
      {Cell{}, "", ""},
      {make(Cell::Type::Number, 12.5), "12,5", "12,5"},
      {make(Cell::Type::Number, 1e-6), "1E-6", "1E-6"},
      {make(Cell::Type::Number, 5, "", "=5"), "5", "=5"},
      {make(Cell::Type::Number, 12.5, "", "=12.5"), "12,5", "=12,5"},  // the file's point
      {make(Cell::Type::Text, 0, "Хвосты   "), "Хвосты   ", "Хвосты   "},
      {make(Cell::Type::Logical, 1), "ИСТИНА", "ИСТИНА"},
      {make(Cell::Type::Logical, 0), "ЛОЖЬ", "ЛОЖЬ"},
      {make(Cell::Type::Error, 0, "#DIV/0!"), "#DIV/0!", "#DIV/0!"},
      {make(Cell::Type::Date, 45000), "15.03.2023", "15.03.2023"},
      {make(Cell::Type::Date, 45000.5), "15.03.2023 12:00:00", "15.03.2023 12:00:00"},
      {make(Cell::Type::Date, 1), "01.01.1900", "01.01.1900"},
      {make(Cell::Type::Date, 59), "28.02.1900", "28.02.1900"},
      {make(Cell::Type::Date, 60), "29.02.1900", "29.02.1900"},  // the day the system invents
      {make(Cell::Type::Date, 61), "01.03.1900", "01.03.1900"},
      {make(Cell::Type::Date, 2958465.999988426), "31.12.9999 23:59:59", "31.12.9999 23:59:59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cellDisplayText(c.cell, fmt), c.shown);
    EXPECT_EQ(cellEditText(c.cell, fmt), c.edited);
  }
}

TEST(ReportWindowCellsTest, TypedTextBecomesACell) {
  const NumberFormat fmt(',');
  struct Case {
    std::string typed;
    Cell::Type type;
    double number;
    std::string text;
    std::string formula;
  } cases[] = {
      {"", Cell::Type::Empty, 0, "", ""},
      {"12,5", Cell::Type::Number, 12.5, "", ""},
      {" -3 ", Cell::Type::Number, -3, "", ""},
      {"2,5E3", Cell::Type::Number, 2500, "", ""},
      {"12.5", Cell::Type::Text, 0, "12.5", ""},  // a point is not this locale's separator
      {"=7", Cell::Type::Number, 7, "", "=7"},
      {"=A1", Cell::Type::Text, 0, "=A1", ""},
      {"=12,5", Cell::Type::Number, 12.5, "", "=12.5"},  // formulas are saved with the point
      {"'12", Cell::Type::Text, 0, "12", ""},
      {"Отчет ", Cell::Type::Text, 0, "Отчет ", ""},
  };
  for (const Case& c : cases) {
    Cell cell = cellFromTyped(c.typed, fmt);
    EXPECT_EQ(cell.type, c.type) << c.typed;
    EXPECT_EQ(cell.number, c.number) << c.typed;
    EXPECT_EQ(cell.text, c.text) << c.typed;
    EXPECT_EQ(cell.formula, c.formula) << c.typed;
  }
}

}  // namespace
}  // namespace ore
