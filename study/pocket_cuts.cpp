#include "study/pocket_cuts.h"

#include <cmath>

#include "data/results_layout.h"

namespace ore::study {

std::vector<PocketCut> readPocketCuts(const TextGrid& g, int P, int C, const NumberFormat& fmt) {
  std::vector<PocketCut> cuts;
  const ResultsLayout L(C);
  if (C < 1 || g.colCount() < L.columnCount()) return cuts;
  auto number = [&](int col, int row, double& v) {
    const std::string& t = g.cell(col, row);
    return !t.empty() && fmt.tryParseReal(t, v) && std::isfinite(v);
  };
  for (int j = 1; j <= P && j < g.rowCount(); ++j) {
    PocketCut c;
    if (!number(L.limit(), j, c.limit) || !number(L.tailsYield(), j, c.tailsYield) ||
        !number(L.tailsContent(1), j, c.tailsContent) ||
        !number(L.tailsRecovery(1), j, c.tailsRecovery))
      continue;
    c.hasConcentrate = j < P && number(L.concentrateContent(1), j, c.concentrateContent) &&
                       number(L.concentrateRecovery(1), j, c.concentrateRecovery);
    cuts.push_back(c);
  }
  return cuts;
}

}  // namespace ore::study
