#include "platform/spreadsheet/report_window_cells.h"

#include <cmath>

#include "platform/workbook/calendar.h"

namespace ore {

namespace {
// A formula that is a number alone, from the spreadsheet's syntax (a point before the decimals)
// to the locale's and back; every other formula is left as it is.
std::string swapNumberSeparator(const std::string& formula, char from, char to) {
  double v;
  if (from == to || formula.size() < 2 || formula[0] != '=' ||
      !NumberFormat(from).tryParseReal(std::string_view(formula).substr(1), v))
    return formula;
  std::string out = formula;
  for (char& ch : out)
    if (ch == from) ch = to;
  return out;
}
}  // namespace

std::string cellDisplayText(const Cell& cell, const NumberFormat& fmt) {
  switch (cell.type) {
    case Cell::Type::Empty:
      return {};
    case Cell::Type::Number:
      return fmt.format(cell.number);
    case Cell::Type::Date:
      return std::isfinite(cell.number) ? reader::serialDateText(cell.number) : "#ЧИСЛО!";
    case Cell::Type::Logical:
      return cell.number != 0 ? "ИСТИНА" : "ЛОЖЬ";
    case Cell::Type::Text:
    case Cell::Type::Error:
      return cell.text;
  }
  return {};
}

std::string cellEditText(const Cell& cell, const NumberFormat& fmt) {
  if (!cell.formula.empty()) return swapNumberSeparator(cell.formula, '.', fmt.decimalSeparator());
  return cellDisplayText(cell, fmt);
}

Cell cellFromTyped(const std::string& typed, const NumberFormat& fmt) {
  Cell c;
  if (typed.empty()) return c;
  if (typed[0] == '\'') {
    c.type = Cell::Type::Text;
    c.text = typed.substr(1);
    return c;
  }
  double v = 0;
  if (typed[0] == '=' && fmt.tryParseReal(std::string_view(typed).substr(1), v)) {
    c.type = Cell::Type::Number;
    c.number = v;
    c.formula = swapNumberSeparator(typed, fmt.decimalSeparator(), '.');  // as files hold it
    return c;
  }
  if (fmt.tryParseReal(typed, v)) {
    c.type = Cell::Type::Number;
    c.number = v;
    return c;
  }
  c.type = Cell::Type::Text;
  c.text = typed;
  return c;
}

}  // namespace ore
