#include "platform/spreadsheet/report_window_cells.h"

#include <cmath>
#include <cstdio>

namespace ore {

namespace {
// Serial day numbers of the 1900 date system: day 1 is 1 January 1900, and day 60 is the
// 29 February 1900 that the system counts although it never was.
std::string dateText(double serial) {
  const double day = std::floor(serial);
  long long days = static_cast<long long>(day);
  int y = 1900, m = 2, d = 29;
  if (days != 60) {
    // Days since 1970-01-01 of the civil date, then back to year, month, day.
    long long z = days - 25569 + (days < 60 ? 1 : 0) + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  }
  char buf[48];
  long long seconds = std::llround((serial - day) * 86400);
  if (seconds >= 86400) seconds = 86399;
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", d, m, y);
  else
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02lld:%02lld:%02lld", d, m, y, seconds / 3600,
                  seconds / 60 % 60, seconds % 60);
  return buf;
}
}  // namespace

std::string cellDisplayText(const Cell& cell, const NumberFormat& fmt) {
  switch (cell.type) {
    case Cell::Type::Empty:
      return {};
    case Cell::Type::Number:
      return fmt.format(cell.number);
    case Cell::Type::Date:
      return std::isfinite(cell.number) ? dateText(cell.number) : "#ЧИСЛО!";
    case Cell::Type::Logical:
      return cell.number != 0 ? "ИСТИНА" : "ЛОЖЬ";
    case Cell::Type::Text:
    case Cell::Type::Error:
      return cell.text;
  }
  return {};
}

std::string cellEditText(const Cell& cell, const NumberFormat& fmt) {
  if (!cell.formula.empty()) return cell.formula;
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
    c.formula = typed;
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
