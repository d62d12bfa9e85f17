#include "analysis/sample_index.h"

#include <algorithm>
#include <cmath>

namespace ore::analysis {

std::vector<std::int32_t> rankLumps(const double* key, std::int32_t n, size_t slice) {
  std::vector<std::int32_t> order;
  order.reserve(static_cast<size_t>(std::max<std::int32_t>(n, 0)));
  visitRanked<std::int32_t>(
      key, n, [](std::int32_t i) { return i; },
      [&order](std::int32_t i) {
        order.push_back(i);
        return true;
      },
      slice);
  return order;
}

SampleIndexResult computeSampleIndex(const Workspace& ws, double M, double G) {
  SampleIndexResult res;
  const std::int32_t n = ws.LumpCount;
  if (n <= 0) return res;
  if (G == 0) {
    res.defined = false;
    return res;
  }
  std::int32_t first = 1, last = n;
  if (ws.PocketBasis == PocketBasis::ByParam) {
    first = 4;
    last = n - 3;
  }
  // Each lump's term is formed as the ranking gathers it, so the sums read no lump array out of
  // order; the terms are the same whenever they are formed.
  const double* mass = ws.Mass.data();
  const double* content = ws.Content.data();
  auto term = [mass, content, M, G](std::int32_t i) {
    double g = mass[i] / M;
    double q = content[i] / G;
    return (q - 1) * g * 2;
  };
  double index = kIndexStart;
  double S = 0;
  std::int32_t u = 0;
  bool finite = true;
  auto add = [&](double t) {
    ++u;
    S = u == 1 ? t : S + t;
    if (!std::isfinite(S)) {
      finite = false;
      return false;
    }
    if (u >= first && u <= last && !(index >= S)) index = S;
    return true;
  };
  visitRanked<double>(ws.PocketBasis == PocketBasis::ByParam ? ws.Param.data() : content, n, term,
                      add);
  if (!finite) {
    res.defined = false;
    return res;
  }
  res.value = index;
  return res;
}

}  // namespace ore::analysis
