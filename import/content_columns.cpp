#include "import/content_columns.h"

#include <algorithm>
#include <string>

#include "data/errors.h"
#include "import/column_letter.h"

namespace ore {

void updateContentColumns(std::string_view countText, TextGrid& columnGrid, Workspace& ws,
                          const NumberFormat& fmt) {
  if (countText.empty()) return;
  const std::int32_t count = fmt.parseInteger(countText);
  if (count > kMaxTypedContentCount)
    throw Error("Количество содержаний " + std::to_string(count) +
                " слишком велико: допустимо не более " + std::to_string(kMaxTypedContentCount) +
                " (загружается не более 10)");
  ws.ContentCount = count;
  ws.ContentColumns.resize(static_cast<size_t>(std::max(count + 10, 0)));
  columnGrid.setRowCount(count);

  // Row 1 without a letter has no row above to take a number from: it gets 0, which the
  // spreadsheet rejects at the first read of that column.
  int current = 0;
  for (int r = 1; r <= count; ++r) {
    const std::string& text = columnGrid.cell(1, r);
    if (!text.empty()) {
      if (int col = columnNumberOf(text)) current = col;
    }
    ws.ContentColumns[static_cast<size_t>(r)] = current;
  }
  // Labels are written only when they differ, so a tick does not disturb a cell being edited.
  for (int n = 2; n <= count; ++n) {
    std::string label = std::to_string(n);
    if (columnGrid.cell(0, n - 1) != label) columnGrid.setCell(0, n - 1, std::move(label));
  }
}

}  // namespace ore
