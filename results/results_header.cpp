#include "results/results_header.h"

#include <string>

namespace ore::results {

void writeResultsHeader(TextGrid& grid, int C) {
  const std::string yield = "Выход, %";
  const std::string content = "Содержание, %  №= ";
  const std::string recovery = "Извлечение, %  №= ";
  grid.setCell(0, 0, "№ фр");
  grid.setCell(1, 0, "Верхней предел, h");
  grid.setCell(2, 0, yield);
  for (int k = 1; k <= C; ++k) {
    std::string n = std::to_string(k);
    grid.setCell(2 + k, 0, content + n);
    grid.setCell(C + 2 + k, 0, recovery + n);
    grid.setCell(2 * C + 3 + k, 0, content + n);
    grid.setCell(3 * C + 3 + k, 0, recovery + n);
    grid.setCell(4 * C + 4 + k, 0, content + n);
    grid.setCell(5 * C + 4 + k, 0, recovery + n);
  }
  grid.setCell(2 * C + 3, 0, yield);
  grid.setCell(4 * C + 4, 0, yield);
}

}  // namespace ore::results
