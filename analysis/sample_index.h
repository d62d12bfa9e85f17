#pragma once
// The sample index: the largest prefix sum, from the top of a ranking of the lumps, of twice the
// excess of their share of the element over their share of the mass.

#include <cstdint>
#include <vector>

#include "analysis/lump_ranking.h"
#include "data/workspace.h"

namespace ore::analysis {

inline constexpr double kIndexStart = -10000000;

// Lumps 1..n ranked by key[1..n] in the order the index reads them (visitRanked in
// analysis/lump_ranking.h, with slices of at most `slice` lumps).
std::vector<std::int32_t> rankLumps(const double* key, std::int32_t n, size_t slice = kRankSlice);

struct SampleIndexResult {
  bool defined = true;  // false when G is 0 with lumps present: the shares of the element are void
  double value = kIndexStart;
};

// The index over the lump data set, ranked by Content (PocketBasis 2) or Param (PocketBasis 3),
// with total mass M and average content G. Prefix sums are taken over places 1..n (basis 2) or
// 4..n-3 (basis 3); an empty range leaves kIndexStart. Not defined when G is 0 and n > 0, or when
// a term or prefix sum is not finite.
SampleIndexResult computeSampleIndex(const Workspace& ws, double M, double G);

}  // namespace ore::analysis
