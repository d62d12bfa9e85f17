#pragma once
// The OpenDocument spreadsheet (.ods) reader: content.xml streamed, typed cells as ODF stores
// them, repeated rows and columns materialised only where they hold values.

#include "platform/workbook/package/zip_archive.h"
#include "platform/workbook/workbook.h"

namespace ore::reader {

// The package's mimetype member names an OpenDocument spreadsheet (or its template). Sets
// otherDocument when it names some other OpenDocument kind (a text, a drawing).
bool looksLikeOds(ZipArchive& zip, bool& otherDocument);

// Reads every table of content.xml. Throws ReadContext messages: damaged (bad XML, a value
// that does not match its type), encrypted, beyond the limits (a repeat of value cells past
// the sheet's edge).
Workbook readOds(ZipArchive& zip, ReadContext& ctx);

}  // namespace ore::reader
