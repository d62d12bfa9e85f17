#include "study/cut_value.h"

#include "analysis/lump_columns.h"
#include "data/errors.h"
#include "study/figure_rules.h"

namespace ore::study {

long double cutValue(const SortabilityCurve& cv, const ValueInputs& in, std::size_t cut) {
  const long double* q = cv.concentrateSums(cut);
  const long double* t = cv.tailsSums(cut);
  long double worth = 0;
  for (int k = 1; k <= cv.contentCount(); ++k) worth += in.factor(k) * q[k];
  const long double numerator = worth - in.costProcess * q[0] - in.costReject * t[0];
  return quotient(numerator, cv.totalMass()) - in.costSort;
}

long double valueWithoutSorting(const SortabilityCurve& cv, const ValueInputs& in) {
  long double worth = 0;
  for (int k = 1; k <= cv.contentCount(); ++k) worth += in.factor(k) * cv.totalMetal(k);
  return quotient(worth - in.costProcess * cv.totalMass(), cv.totalMass());
}

BestValueCut bestValueCut(const SortabilityCurve& cv, const ValueInputs& in,
                          const CutLimits& limits, const NumberFormat& fmt) {
  const long double M = cv.totalMass(), T1 = cv.totalMetal(1);
  const std::optional<std::size_t> best =
      bestInKeyOrder(cv.cutCount(), [&](std::size_t g) -> std::optional<long double> {
        if (!meetsLimits(limits, cv.concentrateSums(g), M, T1)) return std::nullopt;
        return cutValue(cv, in, g);
      });
  if (!best)
    throw Error(noCutMeetsLimits(limits, fmt, "лучшая граница по стоимости не определена"));
  BestValueCut b;
  b.cut = *best;
  b.figures = cv.figures(*best);
  b.value = cutValue(cv, in, *best);
  b.withoutSorting = valueWithoutSorting(cv, in);
  return b;
}

std::vector<double> placeValues(const SortabilityCurve& cv, const Workspace& ws,
                                const ValueInputs& in) {
  const int C = cv.contentCount();
  // The curve's places name lumps of the data set it was built from.
  if (static_cast<std::size_t>(ws.LumpCount) != cv.placeCount())
    throw Error("Исходные данные изменились после построения кривых: постройте их заново");
  const auto c = analysis::contentColumns<kMaxSortabilityContents>(ws, C);
  const std::int32_t* lump = cv.placeLump();
  std::vector<double> v(cv.placeCount());
  for (std::size_t u = 0; u < v.size(); ++u) {
    const std::int32_t i = lump[u];
    long double worth = 0;
    for (int k = 1; k <= C; ++k)
      worth += in.factor(k) * (static_cast<long double>(ws.Mass[i]) * c[k][i]);
    v[u] = static_cast<double>(worth);
  }
  return v;
}

}  // namespace ore::study
