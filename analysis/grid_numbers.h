#pragma once
// Numbers of the results grid as cell texts: every operand the run reads back is converted from a
// cell's text, and every result is written as text before a later step reads it.

#include <string>

#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::analysis {

// The number in the text of cell (col, row); throws ConversionError with the program's message
// when the text is not a number.
double cellNumber(const TextGrid& grid, int col, int row, const NumberFormat& fmt);

// Writes v in the general number format. A value that does not survive as a number text (not
// finite, or beyond the double range once written) throws ore::Error naming the cell, so no
// "INF" or "NAN" text ever reaches the grid.
void writeNumber(TextGrid& grid, int col, int row, long double v, const NumberFormat& fmt);
void writeNumber(TextGrid& grid, int col, int row, double v, const NumberFormat& fmt);

// The message of a result that is out of the range of numbers.
std::string outOfRangeMessage(int col, int row);

}  // namespace ore::analysis
