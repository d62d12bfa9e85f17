#pragma once
// Refusals shared by the analyses of the lump data set, each in its one wording.

#include "data/workspace.h"

namespace ore::analysis {

// Throws ore::Error, saying where the data come from, when the data set holds no lump: nothing
// opened yet, or a sheet whose data end at the start row. The windows refuse to analyse then.
void checkLumpsLoaded(const Workspace& ws);
// Throws ore::Error unless 1 <= contentCount <= kMaxContentCount (data/workspace.h).
void checkContentCount(int contentCount);
// Throws ore::Error unless a distribution kind is chosen (content or parameter).
void checkDistributionKind(DistributionKind distributionKind);
// Throws ore::Error for a negative LumpCount, or when Mass, Content, Param or further contents
// 1..contents-1 hold fewer than LumpCount + 1 values.
void checkLumpArrays(const Workspace& ws, int contents);
// Throws ore::Error when the sample totals are not finite, or the total mass is 0; call it only
// with lumps present.
void checkSampleTotals(bool finite, bool zeroMass);

}  // namespace ore::analysis
