#pragma once
// A grid's texts for a spreadsheet: tab-separated lines and an HTML table, exactly the cell texts.

#include <QString>

#include "data/text_grid.h"

namespace ore::gui {

// One line per row, cells separated by tabs, every line ending in a newline.
QString gridAsTabSeparated(const TextGrid& grid);
// A <table> with one <tr> per row and the texts escaped; the first row as header cells.
QString gridAsHtml(const TextGrid& grid);
// Puts both forms on the clipboard.
void copyGridToClipboard(const TextGrid& grid);

}  // namespace ore::gui
