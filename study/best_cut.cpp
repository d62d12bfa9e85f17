#include "study/best_cut.h"

#include "data/errors.h"
#include "study/figure_rules.h"

namespace ore::study {

BestCut bestCut(const SortabilityCurve& cv, std::optional<double> minGrade,
                const NumberFormat& fmt) {
  CutLimits limits;
  limits.minGrade = minGrade;
  return bestCut(cv, limits, fmt);
}

BestCut bestCut(const SortabilityCurve& cv, const CutLimits& limits, const NumberFormat& fmt) {
  const long double M = cv.totalMass(), T1 = cv.totalMetal(1);
  const std::optional<std::size_t> best =
      bestInKeyOrder(cv.cutCount(), [&](std::size_t g) -> std::optional<long double> {
        const long double* conc = cv.concentrateSums(g);
        if (!meetsLimits(limits, conc, M, T1)) return std::nullopt;
        return cutEfficiency(conc, M, T1);
      });
  if (!best) throw Error(noCutMeetsLimits(limits, fmt, "лучшая граница не определена"));
  return {*best, cv.figures(*best)};
}

}  // namespace ore::study
