#pragma once
// The content columns of the lump data set side by side, for whoever sums over contents.

#include <algorithm>
#include <array>

#include "data/workspace.h"

namespace ore::analysis {

// Columns 1..min(K, Max) of the contents, each indexed by lump number 1..n: [1] is Content, [k]
// is ExtraContents[k - 1]. Element 0 and any beyond K are null. Max is the most contents the
// caller computes.
template <int Max>
std::array<const double*, Max + 1> contentColumns(const Workspace& ws, int K) {
  static_assert(Max >= 1 && Max <= kMaxContentCount);
  std::array<const double*, Max + 1> cols{};
  K = std::min(K, Max);
  if (K >= 1) cols[1] = ws.Content.data();
  for (int k = 2; k <= K; ++k) cols[k] = ws.ExtraContents[k - 1].data();
  return cols;
}

}  // namespace ore::analysis
