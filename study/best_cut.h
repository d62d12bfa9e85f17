#pragma once
// The best cut of a sortability curve by separation efficiency, under limits on the product.

#include <cstddef>
#include <optional>

#include "data/number_format.h"
#include "study/cut_limits.h"
#include "study/sortability_curve.h"

namespace ore::study {

struct BestCut {
  std::size_t cut = 0;
  CutFigures figures;
};

// The cut with the largest separation efficiency, ties settled as study/figure_rules.h says (the
// smallest key of those equal to the largest). With minGrade, only the cuts whose concentrate
// content of element 1 as written is at least minGrade take part; throws ore::Error naming
// minGrade (written with fmt) when none does.
BestCut bestCut(const SortabilityCurve& curve, std::optional<double> minGrade,
                const NumberFormat& fmt);
// The same under every limit on the product: only the cuts meeting them all take part; throws
// ore::Error naming the limits when none does.
BestCut bestCut(const SortabilityCurve& curve, const CutLimits& limits, const NumberFormat& fmt);

// The figures the best cut is chosen by, from a concentrate's sums (mass, metal 1, ...): the same
// expressions as in CutFigures, so the best cut is the one whose own figures are the largest.
inline long double cutEfficiency(const long double* conc, long double M, long double T1) {
  return quotient(conc[1], T1) * 100 - quotient(conc[0], M) * 100;
}

}  // namespace ore::study
