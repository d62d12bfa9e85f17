#pragma once
// What "ОK >>>" of the calculation parameters dialog checks and prepares: the accepted range of
// the pocket count and the pocket table's layout (the precision texts are in data/precision.h).

#include <string>

#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::setup {

// More pockets than this make a table nobody can read and a run that takes hours; far beyond it
// the table and the results grid would no longer fit in memory.
inline constexpr int kMaxPocketCount = 10000;

// Throws Error when count is below 1 or above kMaxPocketCount.
void checkPocketCount(int count);

// Lays the pocket table out for count pockets: 2 columns, count + 1 rows, the numbers 1..count in
// column 0 of rows 1..count and "Карман" in cell (1, 0). Limits already typed in column 1 stay in
// the rows that remain. count must have passed checkPocketCount.
void preparePocketTable(TextGrid& table, int count, const NumberFormat& fmt);

}  // namespace ore::setup
