#pragma once
// "Перевести данные": the lumps read back from the texts of the source-data grid, so that what
// the user typed into the grid is what the analysis works on.

#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore {

// Rows 1..ws.LumpCount of grid (column 1 mass, 2 content, 3 parameter) into ws.Mass and
// ws.Content, and ws.Param too when the pockets go by the parameter; other PocketBasis values read
// nothing. A text that is not a number stops with the conversion error, the rows before it read.
void readBackSourceGrid(const TextGrid& grid, const NumberFormat& fmt, Workspace& ws);

// What readBackSourceGrid gives on the grid fillSourceGrid fills from ws with fmt, without the
// grid: each array value as its shown text reads back.
void readBackLumps(const NumberFormat& fmt, Workspace& ws);

}  // namespace ore
