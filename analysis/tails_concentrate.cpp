#include "analysis/tails_concentrate.h"

#include "analysis/grid_numbers.h"

namespace ore::analysis {

void writeTailsAndConcentrate(TextGrid& g, int C, int K, int P,
                              const std::array<double, kMaxComputedContents + 1>& a,
                              const NumberFormat& fmt) {
  auto x = [&](int c, int r) { return cellNumber(g, c, r, fmt); };
  const int tailsYield = 2 * C + 3, concYield = 4 * C + 4;

  // Tails: running sums of the pocket yields and recoveries; row 1 is the pocket's text itself.
  g.setCell(tailsYield, 1, g.cell(2, 1));
  for (int r = 2; r <= P; ++r) writeNumber(g, tailsYield, r, x(tailsYield, r - 1) + x(2, r), fmt);
  for (int k = 1; k <= K; ++k) g.setCell(3 * C + 3 + k, 1, g.cell(C + 2 + k, 1));
  for (int r = 2; r <= P; ++r)
    for (int k = 1; k <= K; ++k)
      writeNumber(g, 3 * C + 3 + k, r, x(3 * C + 3 + k, r - 1) + x(C + 2 + k, r), fmt);
  for (int r = 1; r <= P; ++r) {
    const long double yield = x(tailsYield, r);
    if (yield == 0) continue;
    for (int k = 1; k <= K; ++k) {
      long double content = static_cast<long double>(x(3 * C + 3 + k, r)) * a[k] / yield;
      writeNumber(g, 2 * C + 3 + k, r, content, fmt);
    }
  }

  // Concentrate: the complement of each tails row but the last.
  for (int r = 1; r <= P - 1; ++r) writeNumber(g, concYield, r, 100 - x(tailsYield, r), fmt);
  for (int r = 1; r <= P - 1; ++r)
    for (int k = 1; k <= K; ++k) writeNumber(g, 5 * C + 4 + k, r, 100 - x(3 * C + 3 + k, r), fmt);
  for (int r = 1; r <= P - 1; ++r) {
    const long double yield = x(concYield, r);
    if (yield == 0) continue;
    for (int k = 1; k <= K; ++k) {
      long double content = static_cast<long double>(x(5 * C + 4 + k, r)) * a[k] / yield;
      writeNumber(g, 4 * C + 4 + k, r, content, fmt);
    }
  }
}

}  // namespace ore::analysis
