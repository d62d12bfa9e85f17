#pragma once
// Value conversions the workbook readers share: numbers as files store them here; dates, date
// number formats, constant formulas and text encodings in the headers included below.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/workbook/calendar.h"
#include "platform/workbook/constant_formula.h"
#include "platform/workbook/date_formats.h"
#include "platform/workbook/text_encodings.h"

namespace ore::reader {

// A number as XML attributes and cells hold it ("12.5", "-1E-3", "+4"), locale-independent,
// surrounding blanks allowed. False for anything else and for infinities and NaN.
bool parseNumber(std::string_view text, double& out);
// A non-negative integer (an index, a count); false past max.
bool parseIndex(std::string_view text, std::uint64_t max, std::uint64_t& out);

}  // namespace ore::reader
