#pragma once
// Rounding the results grid and the sample index to the table precision (data/precision.h).

#include <string>
#include <string_view>

#include "data/number_format.h"
#include "data/precision.h"
#include "data/text_grid.h"

namespace ore::analysis {

// The integer nearest to v, halves to the even integer, whatever the FPU rounding mode.
long double roundHalfEven(long double v);

// round(v*f)/f for a data cell and round(v*f*10)/(f*10) for a limit; the products and the
// quotients are formed in extended precision.
long double roundValue(double v, long double f);
long double roundLimit(double v, long double f);

// The rounding pass: columns 1 to 6C+4, each over rows 1 to P. Limits (column 1) keep one decimal
// more; other non-empty cells are rounded; a cell left empty becomes "0". When index is given it
// is rounded to the precision as well. A limit text that is not a number throws the conversion
// error: cells visited before keep their rounded texts, the rest their own, and *index is left
// untouched.
void roundResults(TextGrid& results, int contentCount, int pocketCount, long double f,
                  const NumberFormat& fmt, double* index);

}  // namespace ore::analysis
