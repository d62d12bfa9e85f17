#pragma once
// Results grids for the diagram tests, laid out as the fraction analysis writes them: row 0 the
// headers, rows 1..P the pockets, 6C+5 columns, values rounded to two decimals (the limit to
// three) and written with a decimal comma.

#include <cmath>
#include <string>
#include <vector>

#include "data/number_format.h"
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
  TextGrid g(6 * C + 5, P + 1);
  g.setCell(0, 0, "№ фр");
  g.setCell(1, 0, "Верхней предел, h");
  for (int block = 0; block < 3; ++block) {
    const int base = 2 + block * (2 * C + 1);
    g.setCell(base, 0, "Выход, %");
    for (int k = 1; k <= C; ++k) {
      g.setCell(base + k, 0, "Содержание, %  №= " + std::to_string(k));
      g.setCell(base + C + k, 0, "Извлечение, %  №= " + std::to_string(k));
    }
  }
  double metal = 0;
  for (const Pocket& p : pockets) metal += p.yield * p.content;
  double tailsYield = 0, tailsMetal = 0;
  for (int j = 1; j <= P; ++j) {
    const Pocket& p = pockets[j - 1];
    tailsYield += p.yield;
    tailsMetal += p.yield * p.content;
    for (int c = 2; c < g.colCount(); ++c) g.setCell(c, j, "0");
    g.setCell(0, j, fmt.format(j));
    g.setCell(1, j, fmt.format(std::round(p.limit * 1000) / 1000));
    g.setCell(2, j, r2(p.yield));
    g.setCell(3, j, r2(p.content));
    g.setCell(C + 3, j, r2(p.yield * p.content / metal * 100));
    g.setCell(2 * C + 3, j, r2(tailsYield));
    g.setCell(2 * C + 4, j, r2(tailsMetal / tailsYield));
    g.setCell(3 * C + 4, j, r2(tailsMetal / metal * 100));
    if (j < P) {
      g.setCell(4 * C + 4, j, r2(100 - tailsYield));
      g.setCell(4 * C + 5, j, r2((metal - tailsMetal) / (100 - tailsYield)));
      g.setCell(5 * C + 5, j, r2(100 - tailsMetal / metal * 100));
    }
  }
  return g;
}

}  // namespace ore::graph::test
