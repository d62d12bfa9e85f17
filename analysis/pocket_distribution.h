#pragma once
// The sample totals, the distribution of the lumps into pockets and the pocket block of the
// results grid.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/lump_columns.h"
#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore::analysis {

// Contents computed per lump: element 1 (Content) and further contents 1 to 5.
inline constexpr int kMaxComputedContents = 6;

// The columns of contents 1..K of the lump data set (analysis/lump_columns.h).
using ContentColumns = std::array<const double*, kMaxComputedContents + 1>;

// M, T_k and a_k (k = 1..K), summed in lump order; a_k stays 0 when M is 0.
struct SampleTotals {
  double M = 0;
  std::array<double, kMaxComputedContents + 1> T{};
  std::array<double, kMaxComputedContents + 1> a{};
};
SampleTotals sampleTotals(const Workspace& ws, int K);

// Per pocket j = 1..P (element 0 unused): lump count, mass, metal of contents 1..K, yield.
struct PocketSums {
  std::vector<double> N, W, Y;
  double outsideN = 0, outsideW = 0;  // lumps (and their mass) that fell into no pocket
  std::vector<std::array<double, kMaxComputedContents + 1>> Q;
};

// Puts the lumps into pockets by their key d_i (key[1..n]): pocket 1 takes 0 < d <= L_1 + 1e-12,
// pocket j > 1 takes L_(j-1) + 1e-11 < d <= L_j + 1e-12, the tolerances added in extended
// precision; each pocket is tested on its own, in lump order. limit(j) converts the text of L_j
// and is called when a lump first needs it: pocket j's lower limit at its first lump, its upper
// limit at the first lump that passes the lower test; a conversion error propagates. Y_j is
// W_j / M * 100 once a lump was tested (0 when n is 0); M must not be 0 when n > 0. progress, when
// given, hears of the lumps summed so far and may stop the work (WorkStopped) between blocks.
PocketSums distributeLumps(const Workspace& ws, const double* key, int K, int P, double M,
                           const std::function<double(int)>& limit, Progress* progress = nullptr);

// Writes yields, contents (Q/W, 0 for an empty pocket) and, when T_1 is not 0, recoveries
// (Q/T*100; "0" for a content whose T_k is 0) of pockets 1..P into columns 2 to 2C+2.
void writePocketBlock(TextGrid& results, const PocketSums& sums, const SampleTotals& totals, int C,
                      int K, int P, const NumberFormat& fmt);

}  // namespace ore::analysis
