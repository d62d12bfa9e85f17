#pragma once
// The xls (BIFF8 and BIFF5, Excel 97-2003 and 5.0/95) reader: the compound file's Workbook
// stream and its records, read by us. FreeXL, the usual library for this, drops formula
// results, turns logical values into numbers and fails to open workbooks whose stream is
// under 4096 bytes (it reports success with no handle) — and it allocates every sheet at the
// size its DIMENSION record claims.

#include <string_view>

#include "platform/workbook/reader_limits.h"
#include "platform/workbook/workbook.h"

namespace ore::reader {

// bytes: the whole file. Sheets in workbook order, chart sheets as empty sheets, Visual Basic
// modules left out. Throws ReadContext messages: not a workbook (a compound file without a
// workbook stream: a Word document), encrypted, damaged (a record cut short, a chain of
// sectors astray, a shared-string index out of range), beyond the limits.
Workbook readXls(std::string_view bytes, ReadContext& ctx);

}  // namespace ore::reader
