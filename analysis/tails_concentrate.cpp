#include "analysis/tails_concentrate.h"

#include "analysis/grid_numbers.h"
#include "data/results_layout.h"

namespace ore::analysis {

void writeTailsAndConcentrate(TextGrid& g, int C, int K, int P,
                              const std::array<double, kMaxComputedContents + 1>& a,
                              const NumberFormat& fmt) {
  auto x = [&](int c, int r) { return cellNumber(g, c, r, fmt); };
  const ResultsLayout L(C);
  const int tailsYield = L.tailsYield(), concYield = L.concentrateYield();

  // Tails: running sums of the pocket yields and recoveries; row 1 is the pocket's text itself.
  g.setCell(tailsYield, 1, g.cell(L.pocketYield(), 1));
  for (int r = 2; r <= P; ++r)
    writeNumber(g, tailsYield, r, x(tailsYield, r - 1) + x(L.pocketYield(), r), fmt);
  for (int k = 1; k <= K; ++k) g.setCell(L.tailsRecovery(k), 1, g.cell(L.pocketRecovery(k), 1));
  for (int r = 2; r <= P; ++r)
    for (int k = 1; k <= K; ++k)
      writeNumber(g, L.tailsRecovery(k), r,
                  x(L.tailsRecovery(k), r - 1) + x(L.pocketRecovery(k), r), fmt);
  for (int r = 1; r <= P; ++r) {
    const long double yield = x(tailsYield, r);
    if (yield == 0) continue;
    for (int k = 1; k <= K; ++k) {
      long double content = static_cast<long double>(x(L.tailsRecovery(k), r)) * a[k] / yield;
      writeNumber(g, L.tailsContent(k), r, content, fmt);
    }
  }

  // Concentrate: the complement of each tails row but the last.
  for (int r = 1; r <= P - 1; ++r) writeNumber(g, concYield, r, 100 - x(tailsYield, r), fmt);
  for (int r = 1; r <= P - 1; ++r)
    for (int k = 1; k <= K; ++k)
      writeNumber(g, L.concentrateRecovery(k), r, 100 - x(L.tailsRecovery(k), r), fmt);
  for (int r = 1; r <= P - 1; ++r) {
    const long double yield = x(concYield, r);
    if (yield == 0) continue;
    for (int k = 1; k <= K; ++k) {
      long double content = static_cast<long double>(x(L.concentrateRecovery(k), r)) * a[k] / yield;
      writeNumber(g, L.concentrateContent(k), r, content, fmt);
    }
  }
}

}  // namespace ore::analysis
