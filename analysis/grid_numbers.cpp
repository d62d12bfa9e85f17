#include "analysis/grid_numbers.h"

#include <cmath>

#include "data/errors.h"

namespace ore::analysis {

double cellNumber(const TextGrid& grid, int col, int row, const NumberFormat& fmt) {
  return fmt.parseReal(grid.cell(col, row));
}

std::string outOfRangeMessage(int col, int row) {
  return "Результат расчета вне диапазона чисел (столбец " + std::to_string(col) + ", строка " +
         std::to_string(row) + " таблицы результатов)";
}

void writeNumber(TextGrid& grid, int col, int row, long double v, const NumberFormat& fmt) {
  double back = 0;
  std::string text;
  // A value beyond the double range would be written but could not be read back by the next step.
  if (std::isfinite(static_cast<double>(v))) text = fmt.format(v);
  if (text.empty() || !fmt.tryParseReal(text, back)) throw Error(outOfRangeMessage(col, row));
  grid.setCell(col, row, std::move(text));
}

void writeNumber(TextGrid& grid, int col, int row, double v, const NumberFormat& fmt) {
  writeNumber(grid, col, row, static_cast<long double>(v), fmt);
}

}  // namespace ore::analysis
