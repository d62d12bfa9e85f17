#include "analysis/rounding.h"

#include <cmath>

#include "analysis/grid_numbers.h"
#include "data/errors.h"
#include "data/results_layout.h"

namespace ore::analysis {

long double roundHalfEven(long double v) {
  if (!std::isfinite(v)) return v;
  long double r = std::floor(v);
  long double frac = v - r;  // exact: the fractional bits of v
  if (frac > 0.5L) return r + 1;
  if (frac < 0.5L) return r;
  return std::fmod(r, 2.0L) == 0 ? r : r + 1;
}

long double roundValue(double v, long double f) {
  return roundHalfEven(static_cast<long double>(v) * f) / f;
}

long double roundLimit(double v, long double f) {
  return roundHalfEven(static_cast<long double>(v) * f * 10) / (f * 10);
}

void roundResults(TextGrid& results, int C, int P, long double f, const NumberFormat& fmt,
                  double* index) {
  // The index is rounded in a local and stored only when the whole pass has succeeded.
  double I = index ? *index : 0;
  const ResultsLayout L(C);
  for (int c = L.limit(); c <= L.lastColumn(); ++c) {
    for (int r = 1; r <= P; ++r) {
      if (c == L.limit()) {
        writeNumber(results, c, r, roundLimit(cellNumber(results, c, r, fmt), f), fmt);
      } else if (!results.cell(c, r).empty()) {
        writeNumber(results, c, r, roundValue(cellNumber(results, c, r, fmt), f), fmt);
      }
      if (index) I = static_cast<double>(roundValue(I, f));
      if (results.cell(c, r).empty()) results.setCell(c, r, "0");
    }
  }
  if (index) *index = I;
}

}  // namespace ore::analysis
