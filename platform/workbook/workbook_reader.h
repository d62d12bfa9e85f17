#pragma once
// Reading a workbook file into the workbook model. The format (xlsx, ods, xls, csv/txt) is
// recognised from the file's content, not its name; gzip-compressed text and standard input
// ("-") are delimited text.

#include <string>

#include "data/progress.h"
#include "platform/workbook/workbook.h"

namespace ore {

// Reads every sheet of the file. Throws ore::Error with a clear Russian message naming the file
// when it cannot be read (missing, not a workbook, damaged, beyond the readers' limits); never
// returns a partly read workbook. Reports its progress in bytes of the file (or of its inflated
// parts) and throws WorkStopped when progress is asked to stop.
Workbook readWorkbook(const std::string& path, Progress& progress);
// The same, reporting to nobody.
Workbook readWorkbook(const std::string& path);

// Whether readWorkbook reads path as delimited text: standard input ("-"), a gzip file, or a
// file named .csv, .txt, .tsv or .tab that is not a zip package or compound document. False
// for a file that cannot be opened or is empty (reading it says why).
bool isDelimitedText(const std::string& path);
// The one sheet's name when delimited text is read: the file's name without its extension.
std::string delimitedSheetName(const std::string& path);

}  // namespace ore
