#include "results/report_block.h"

#include <algorithm>

namespace ore::report {

namespace {
// The group titles keep the trailing blanks the report has always had: they pad the titles
// over the empty columns to their right when the sheet is shown.
const char* const kCompositionTitle = "Фракционный состав по                             ";
const char* const kIndicatorsTitle =
    "Технологические показатели                                          ";
const char* const kTailsTitle = "Хвосты                                     ";
const char* const kConcentrateTitle = "Концентрат                         ";

const char* const kNumber = "№ фр";
const char* const kUpperLimit = "Верх.пр.";
const char* const kYield = "Вых.,%";
const char* const kContent = "Сод.,%";
const char* const kRecovery = "Извл.%";
}  // namespace

std::string sampleTitle(const Workspace& ws, const NumberFormat& fmt) {
  const std::string n = fmt.format(ws.LumpCount);
  // An index the last run could not define reads as the results label says it, not as 0.
  const std::string index =
      ws.SampleIndexDefined ? fmt.format(ws.SampleIndex) : std::string(" не определен");
  if (ws.PocketBasis == 2)
    return "Фракционный состав выборки n= " + n + "  и технологические показатели М=" + index +
           std::string(14, ' ');
  if (ws.PocketBasis == 3)
    return "Фракционный состав выборки( n=" + n + " ) и технологические показатели П=" + index +
           std::string(18, ' ');
  return {};
}

void writeBlock(const Workspace& ws, const TextGrid& results, const NumberFormat& fmt,
                int rowOffset, const std::function<void(const BlockCell&)>& write) {
  const int C = ws.ContentCount;
  const int P = ws.PocketCount;
  const int T = rowOffset;
  BlockCell cell;

  auto text = [&](int row, int col, std::string t) {
    cell.row = row;
    cell.col = col;
    cell.isText = true;
    cell.text = std::move(t);
    write(cell);
  };

  for (int r = 1; r <= P; ++r) text(T + 4 + r, 1, "=" + std::to_string(r));

  for (int r = 1; r <= P; ++r) {
    for (int g = 1; g <= 6 * C + 4; ++g) {
      const std::string& t = results.cell(g, r);
      if (t.empty()) continue;
      cell.number = fmt.parseReal(t);
      cell.row = T + 4 + r;
      cell.col = g + 1;
      cell.isText = false;
      cell.text.clear();
      write(cell);
    }
  }

  std::string title = sampleTitle(ws, fmt);
  if (!title.empty()) text(T + 1, 1, std::move(title));

  // Rows 2 and 3 are the sheet's own title rows, whatever the offset: every block rewrites them.
  text(2, 1, kCompositionTitle);
  text(2, 2 * C + 4, kIndicatorsTitle);
  text(3, 2 * C + 4, kTailsTitle);
  text(3, 4 * C + 5, kConcentrateTitle);

  const int h = T + 4;
  text(h, 1, kNumber);
  text(h, 2, kUpperLimit);
  text(h, 3, kYield);
  for (int k = 1; k <= C; ++k) {
    text(h, k + 3, kContent);
    text(h, C + k + 3, kRecovery);
    text(h, 2 * C + k + 4, kContent);
    text(h, 3 * C + k + 4, kRecovery);
    text(h, 4 * C + k + 5, kContent);
    text(h, 5 * C + k + 5, kRecovery);
  }
  text(h, 2 * C + 4, kYield);
  text(h, 4 * C + 5, kYield);
}

int blockHeight(int pocketCount) {
  return std::max(pocketCount, 0) + 5;
}

}  // namespace ore::report
