#pragma once
// The header row of the results grid for C contents, as the results window's timer writes it.

#include "data/text_grid.h"

namespace ore::results {

// Writes row 0 of grid for contentCount contents ("№ фр", "Верхней предел, h", "Выход, %", ...),
// by position; cells beyond the grid's columns are dropped. Never changes the grid's size.
void writeResultsHeader(TextGrid& grid, int contentCount);

}  // namespace ore::results
