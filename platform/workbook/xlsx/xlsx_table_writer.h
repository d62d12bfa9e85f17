#pragma once
// A table too large to hold as a Workbook, streamed into an .xlsx of one sheet: a header row of
// texts, then rows of numbers, each written as the shortest text that reads back as the same
// double. The file is replaced only when complete.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "data/progress.h"

namespace ore {

// Fills out[0 .. columns-1] with the numbers of row (0 is the first row under the header).
using NumberRowSource = std::function<void(std::size_t row, double* out)>;

// Writes header and rowCount rows of header.size() numbers to path. Reports the rows done and
// stops when asked (WorkStopped) at any point before the file is replaced, leaving it as it was.
// Throws ore::Error in writeXlsx's words for files that cannot be written, for more rows than a
// sheet holds and for a number that is not finite.
void writeNumberTableXlsx(const std::string& path, const std::string& sheetName,
                          const std::vector<std::string>& header, std::size_t rowCount,
                          const NumberRowSource& row, Progress& progress);

}  // namespace ore
