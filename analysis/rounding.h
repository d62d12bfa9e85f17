#pragma once
// Rounding the results grid and the sample index to the table precision.

#include <string>
#include <string_view>

#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::analysis {

// True for exactly "1", "0,1", "0,01", "0,001", "0,0001", "0,00001" and "0,000001", compared
// character for character (no trimming, a point is not a comma).
bool isKnownPrecision(std::string_view precisionText);

// The refusal of any other precision text; it lists the seven accepted texts.
std::string unknownPrecisionMessage(std::string_view precisionText);

// The scale factor f (1, 10, ..., 1000000) of a precision text; throws ore::Error with
// unknownPrecisionMessage for a text it does not know.
long double scaleFactor(std::string_view precisionText);

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
