#include "analysis/sample_index.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace ore::analysis {

namespace {

// An unsigned integer whose order is the order of the doubles, so the comparison is cheap and a
// strict weak order even for NaN.
std::uint64_t orderedBits(double v) {
  if (v == 0) v = 0;  // -0 ranks with 0
  std::uint64_t b = std::bit_cast<std::uint64_t>(v);
  return (b >> 63) ? ~b : b | (std::uint64_t{1} << 63);
}

}  // namespace

void rankLumps(const double* key, std::int32_t n, std::vector<RankEntry>& order) {
  order.clear();
  if (n <= 0) return;
  order.resize(static_cast<size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) order[i - 1] = {orderedBits(key[i]), i};
  // Descending by (key, lump): the stable ascending order reversed. The lump number breaks ties,
  // so an unstable in-place sort gives exactly that order without a merge buffer.
  std::sort(order.begin(), order.end(), [](const RankEntry& a, const RankEntry& b) {
    return a.key != b.key ? a.key > b.key : a.lump > b.lump;
  });
}

SampleIndexResult computeSampleIndex(const Workspace& ws, double M, double G) {
  SampleIndexResult res;
  const std::int32_t n = ws.LumpCount;
  if (n <= 0) return res;
  if (G == 0) {
    res.defined = false;
    return res;
  }
  std::vector<RankEntry> order;
  rankLumps(ws.PocketBasis == 3 ? ws.Param.data() : ws.Content.data(), n, order);

  std::int32_t first = 1, last = n;
  if (ws.PocketBasis == 3) {
    first = 4;
    last = n - 3;
  }
  double index = kIndexStart;
  double S = 0;
  for (std::int32_t u = 1; u <= n; ++u) {
    const std::int32_t i = order[u - 1].lump;
    double g = ws.Mass[i] / M;
    double q = ws.Content[i] / G;
    double t = (q - 1) * g * 2;
    S = u == 1 ? t : S + t;
    if (!std::isfinite(S)) {
      res.defined = false;
      return res;
    }
    if (u >= first && u <= last && !(index >= S)) index = S;
  }
  res.value = index;
  return res;
}

}  // namespace ore::analysis
