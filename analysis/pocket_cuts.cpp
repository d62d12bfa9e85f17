#include "analysis/pocket_cuts.h"

#include <cmath>

namespace ore::analysis {

std::vector<PocketCut> readPocketCuts(const TextGrid& g, int P, int C, const NumberFormat& fmt) {
  std::vector<PocketCut> cuts;
  if (C < 1 || g.colCount() < 6 * C + 5) return cuts;
  auto number = [&](int col, int row, double& v) {
    const std::string& t = g.cell(col, row);
    return !t.empty() && fmt.tryParseReal(t, v) && std::isfinite(v);
  };
  for (int j = 1; j <= P && j < g.rowCount(); ++j) {
    PocketCut c;
    if (!number(1, j, c.limit) || !number(2 * C + 3, j, c.tailsYield) ||
        !number(2 * C + 4, j, c.tailsContent) || !number(3 * C + 4, j, c.tailsRecovery))
      continue;
    c.hasConcentrate = j < P && number(4 * C + 5, j, c.concentrateContent) &&
                       number(5 * C + 5, j, c.concentrateRecovery);
    cuts.push_back(c);
  }
  return cuts;
}

}  // namespace ore::analysis
