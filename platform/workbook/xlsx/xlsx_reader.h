#pragma once
// The xlsx (Office Open XML) reader: the workbook part found through the package
// relationships, its sheets in workbook order, the shared strings, the date formats of
// styles.xml, and the sheet XML streamed cell by cell.

#include "platform/workbook/package/zip_archive.h"
#include "platform/workbook/workbook.h"

namespace ore::reader {

// True when the archive looks like an OOXML package (a package relationships part or
// xl/workbook.xml).
bool looksLikeXlsx(const ZipArchive& zip);

// Reads every sheet. A formula cell holds its cached result; a formula stored without one is
// computed when it is a constant expression ("1+2"), else it becomes the error "#N/A".
// Throws ReadContext messages: not a workbook (no workbook part, xlsb), damaged (bad XML, a
// missing part, a shared-string index out of range, an unreadable value), beyond the limits.
Workbook readXlsx(ZipArchive& zip, ReadContext& ctx);

// A part name resolved against the folder of the part that refers to it: "worksheets/a.xml"
// from "xl/" is "xl/worksheets/a.xml"; "/xl/a.xml" is absolute; ".." climbs; %XX is decoded.
std::string resolvePartName(std::string_view baseDir, std::string_view target);

}  // namespace ore::reader
