#pragma once
// The pocket limits of the last fraction analysis with the figures of element 1 its results grid
// holds for a sorting there: what the sortability window marks on its curves.

#include <vector>

#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::study {

struct PocketCut {
  double limit = 0;
  double tailsYield = 0, tailsContent = 0, tailsRecovery = 0;
  bool hasConcentrate = false;  // the last pocket's row has no concentrate
  double concentrateContent = 0, concentrateRecovery = 0;
};

// Reads rows 1..pocketCount of a results grid laid out for contentCount contents. A row whose
// limit or tails figures are empty or do not convert (a run that stopped early, a grid of
// another layout) is left out, as is the concentrate of a row whose concentrate does not.
std::vector<PocketCut> readPocketCuts(const TextGrid& results, int pocketCount, int contentCount,
                                      const NumberFormat& fmt);

}  // namespace ore::study
