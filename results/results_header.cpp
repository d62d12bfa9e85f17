#include "results/results_header.h"

#include <string>

#include "data/results_layout.h"

namespace ore::results {

void writeResultsHeader(TextGrid& grid, int C) {
  const ResultsLayout L(C);
  const std::string yield = "Выход, %";
  const std::string content = "Содержание, %  №= ";
  const std::string recovery = "Извлечение, %  №= ";
  grid.setCell(L.pocketNumber(), 0, "№ фр");
  grid.setCell(L.limit(), 0, "Верхней предел, h");
  grid.setCell(L.pocketYield(), 0, yield);
  for (int k = 1; k <= C; ++k) {
    std::string n = std::to_string(k);
    grid.setCell(L.pocketContent(k), 0, content + n);
    grid.setCell(L.pocketRecovery(k), 0, recovery + n);
    grid.setCell(L.tailsContent(k), 0, content + n);
    grid.setCell(L.tailsRecovery(k), 0, recovery + n);
    grid.setCell(L.concentrateContent(k), 0, content + n);
    grid.setCell(L.concentrateRecovery(k), 0, recovery + n);
  }
  grid.setCell(L.tailsYield(), 0, yield);
  grid.setCell(L.concentrateYield(), 0, yield);
}

}  // namespace ore::results
