#pragma once
// How a report window shows a workbook cell and what a text the user types into one becomes.

#include <string>

#include "data/number_format.h"
#include "platform/workbook/workbook.h"

namespace ore {

// The text a cell shows: numbers and formula results in the general number format, dates as
// day.month.year (with hh:mm:ss when there is a time of day), logical values as ИСТИНА / ЛОЖЬ,
// texts and errors as they are.
std::string cellDisplayText(const Cell& cell, const NumberFormat& fmt);

// The text offered for editing: the formula of a formula cell (a number alone written with the
// locale's decimal separator, as it was typed), otherwise the shown text.
std::string cellEditText(const Cell& cell, const NumberFormat& fmt);

// A cell from what the user typed: nothing -> an empty cell; a number in the general number
// format (decimal comma under the Russian locale) -> a number; "=" and such a number -> a formula
// cell showing it, its formula with a point as files hold formulas ("=12,5" -> "=12.5"); a leading
// apostrophe keeps the rest as text; anything else is text as typed.
Cell cellFromTyped(const std::string& typed, const NumberFormat& fmt);

}  // namespace ore
