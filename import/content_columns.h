#pragma once
// The import dialog's timer tick: keeps ContentCount and ContentColumns in step with the count
// field and the column grid.

#include <string_view>

#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore {

// Counts above this are refused at the tick: the column grid would take all memory.
inline constexpr int kMaxTypedContentCount = 1000;

// One tick. An empty count text does nothing. Otherwise the text is parsed as an integer into
// ContentCount (ConversionError "'%s' is not a valid integer value" first, nothing changed);
// ContentColumns gets count + 10 elements (old values kept); the grid gets count rows; row r
// (1..count) of grid column 1 sets ContentColumns[r] by the column letter rule, a row without
// a letter taking the number of the row above (0 above row 1); rows 1..count-1 are labelled
// 2..count in column 0. A count above kMaxTypedContentCount throws ore::Error, nothing changed.
void updateContentColumns(std::string_view countText, TextGrid& columnGrid, Workspace& ws,
                          const NumberFormat& fmt);

}  // namespace ore
