#pragma once
// One report block: which sheet cells receive which texts and numbers, in the order the report
// export writes them. The export drives the spreadsheet application with it; orefrac-batch fills
// a workbook model with the same cells.

#include <functional>
#include <string>

#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore::report {

// One cell write: a text or a number at (row, col), numbered from 1 as the sheet numbers them.
struct BlockCell {
  int row = 0;
  int col = 0;
  bool isText = true;
  std::string text;   // when isText; "=r" for the pocket numbers of column 1
  double number = 0;  // otherwise
};

// The sample title written above the block: by content for PocketBasis 2, by parameter for 3,
// with LumpCount and SampleIndex in the general number format (" не определен" in place of the
// index when !SampleIndexDefined, as the results label has it). Empty for any other basis, for
// which no title is written.
std::string sampleTitle(const Workspace& ws, const NumberFormat& fmt);

// Hands every cell of the block that starts after rowOffset used rows to write, in this order:
// the pocket numbers "=1".."=P" in column 1; the numbers of the results grid (rows 1..P, columns
// 1..6C+4, row by row, an empty cell skipped) one column to the right; the sample title; the four
// group titles in the fixed rows 2 and 3; the header row. C and P are ws.ContentCount and
// ws.PocketCount. A grid text that is not a number throws ConversionError when it is reached, so
// the cells before it have been handed on; an exception from write stops the block the same way.
void writeBlock(const Workspace& ws, const TextGrid& results, const NumberFormat& fmt,
                int rowOffset, const std::function<void(const BlockCell&)>& write);

// The rows a complete block advances the offset by: P + 5 (the block and one empty row), 5 when
// there are no pockets.
int blockHeight(int pocketCount);

}  // namespace ore::report
