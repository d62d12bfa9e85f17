#pragma once
// The lumps of a delimited-text file read straight into arrays, as the import would read them
// cell by cell through the spreadsheet application, without a workbook in between: the cells
// the import does not use are split off and dropped, the others converted as they are read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/progress.h"

namespace ore {

// Which cells make a lump: the start row and the columns (1 to 26; 0 for a column text that
// names none) in the order the import reads them: mass, content, parameter, further contents.
struct LumpLayout {
  std::int64_t startRow = 2;
  std::vector<int> columns;
};

// What the reading found, for the import to apply in its own steps.
struct StreamedLumps {
  std::int32_t count = 0;  // lumps from the start row to the first empty mass cell
  // Per layout column: element 0 is 0, then the values of the lumps read so far (all `count`
  // of them unless the reading stopped at a failure).
  std::vector<std::vector<double>> values;
  // Where the reading of the lumps stopped: lump failedLump, layout column failedField, a text
  // that is no number (badColumn false) or a column 0 (badColumn true).
  bool failed = false;
  bool badColumn = false;
  std::int32_t failedLump = 0;
  std::size_t failedField = 0;
  std::string failedText;
};

// Texts of at least this many bytes are read in two parts at once, on two threads.
inline constexpr std::size_t kSplitFrom = 4 << 20;

// Reads path (a file, "-" for standard input, either possibly gzip-compressed) with fmt's
// decimal separator; a text of splitFrom bytes or more in two parts at once. Throws the
// delimited-text reader's messages for a file it cannot read (exactly as opening it as a workbook
// does, the sheet's limits aside: the rows go on as far as memory holds), WorkStopped when progress
// is asked to stop.
StreamedLumps streamDelimitedLumps(const std::string& path, const LumpLayout& layout,
                                   const NumberFormat& fmt, Progress& progress,
                                   std::size_t splitFrom = kSplitFrom);

}  // namespace ore
