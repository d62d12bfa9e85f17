#pragma once
// What a value written into a cell of the spreadsheet becomes.

#include "platform/spreadsheet/automation.h"
#include "platform/workbook/workbook.h"

namespace ore {

// A number, logical value, date, error or text becomes that cell; the empty value and the empty
// text an empty cell. A text that is "=" and a number is a formula showing that number; another
// formula cannot be computed here and shows the spreadsheet's "#NAME?". Throws ore::Error for an
// automation object.
Cell cellFromValue(const automation::Variant& v);

}  // namespace ore
