#pragma once
// The tails and concentrate blocks of the results grid, computed from the texts already in it.

#include <array>

#include "analysis/pocket_distribution.h"
#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::analysis {

// Fills the tails block (columns 2C+3 to 4C+3, rows 1..P) and the concentrate block (columns
// 4C+4 to 6C+4, rows 1..P-1) from the pocket block's texts and the sample averages a[1..K], in six
// passes, each over all its rows: tails yield, tails recoveries, tails contents, concentrate
// yield, recoveries, contents. Every operand is converted from a cell text and every result is
// written as text before a later pass reads it; products and quotients are formed in extended
// precision, sums and differences in double. A content is written only when its yield is not 0.
// Contents above K and row P of the concentrate block are left as they are.
void writeTailsAndConcentrate(TextGrid& results, int C, int K, int P,
                              const std::array<double, kMaxComputedContents + 1>& a,
                              const NumberFormat& fmt);

}  // namespace ore::analysis
