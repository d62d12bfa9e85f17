#pragma once
// Results grids for the diagram tests, laid out as the fraction analysis writes them: row 0 the
// headers, rows 1..P the pockets, 6C+5 columns, values rounded to two decimals (the limit to
// three) and written with a decimal comma.

#include <cmath>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/results_layout.h"
#include "data/text_grid.h"

namespace ore::graph::test {

struct Pocket {
  double limit, yield, content;  // upper limit, yield % and content % of the first element
};

// Five pockets of a sample whose content is 1,585 %.
inline std::vector<Pocket> fivePockets() {
  return {{0.5, 30, 0.2}, {1, 25, 0.7}, {2, 20, 1.5}, {4, 15, 3}, {8, 10, 6}};
}

inline TextGrid resultsGrid(const std::vector<Pocket>& pockets, int C = 1) {
  const NumberFormat fmt(',');
  auto r2 = [&](double v) { return fmt.format(std::round(v * 100) / 100); };
  const int P = static_cast<int>(pockets.size());
  const ResultsLayout L(C);
  TextGrid g(L.columnCount(), P + 1);
  g.setCell(L.pocketNumber(), 0, "№ фр");
  g.setCell(L.limit(), 0, "Верхней предел, h");
  for (int yield : {L.pocketYield(), L.tailsYield(), L.concentrateYield()}) {
    // Each block: its yield, then C contents, then C recoveries.
    g.setCell(yield, 0, "Выход, %");
    for (int k = 1; k <= C; ++k) {
      g.setCell(yield + k, 0, "Содержание, %  №= " + std::to_string(k));
      g.setCell(yield + C + k, 0, "Извлечение, %  №= " + std::to_string(k));
    }
  }
  double metal = 0;
  for (const Pocket& p : pockets) metal += p.yield * p.content;
  double tailsYield = 0, tailsMetal = 0;
  for (int j = 1; j <= P; ++j) {
    const Pocket& p = pockets[j - 1];
    tailsYield += p.yield;
    tailsMetal += p.yield * p.content;
    for (int c = L.pocketYield(); c < g.colCount(); ++c) g.setCell(c, j, "0");
    g.setCell(L.pocketNumber(), j, fmt.format(j));
    g.setCell(L.limit(), j, fmt.format(std::round(p.limit * 1000) / 1000));
    g.setCell(L.pocketYield(), j, r2(p.yield));
    g.setCell(L.pocketContent(1), j, r2(p.content));
    g.setCell(L.pocketRecovery(1), j, r2(p.yield * p.content / metal * 100));
    g.setCell(L.tailsYield(), j, r2(tailsYield));
    g.setCell(L.tailsContent(1), j, r2(tailsMetal / tailsYield));
    g.setCell(L.tailsRecovery(1), j, r2(tailsMetal / metal * 100));
    if (j < P) {
      g.setCell(L.concentrateYield(), j, r2(100 - tailsYield));
      g.setCell(L.concentrateContent(1), j, r2((metal - tailsMetal) / (100 - tailsYield)));
      g.setCell(L.concentrateRecovery(1), j, r2(100 - tailsMetal / metal * 100));
    }
  }
  return g;
}

}  // namespace ore::graph::test
