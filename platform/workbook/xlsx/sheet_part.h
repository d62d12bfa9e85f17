#pragma once
// A worksheet part of an xlsx package streamed cell by cell into a sheet.

#include <string>
#include <vector>

#include "platform/workbook/package/zip_archive.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/xlsx/shared_strings.h"

namespace ore::reader {

// Reads the part into sheet. sst: the shared strings (nullptr when the package has none);
// dateXf: which cell formats show dates. Throws ReadContext messages as readXlsx does.
void readSheetPart(ZipArchive& zip, const std::string& part, Sheet& sheet, const SharedStrings* sst,
                   const std::vector<bool>& dateXf, bool date1904, ReadContext& ctx);

}  // namespace ore::reader
