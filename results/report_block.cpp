#include "results/report_block.h"

#include <algorithm>

#include "data/results_layout.h"

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

// The sheet holds the results grid's columns one to the right: its column 1 is the grid's 0.
constexpr int sheetCol(int gridCol) {
  return gridCol + 1;
}
}  // namespace

std::string sampleTitle(const Workspace& ws, const NumberFormat& fmt) {
  const std::string n = fmt.format(ws.LumpCount);
  // An index the last run could not define reads as the results label says it, not as 0.
  const std::string index =
      ws.SampleIndexDefined ? fmt.format(ws.SampleIndex) : std::string(" не определен");
  if (ws.PocketBasis == PocketBasis::ByContent)
    return "Фракционный состав выборки n= " + n + "  и технологические показатели М=" + index +
           std::string(14, ' ');
  if (ws.PocketBasis == PocketBasis::ByParam)
    return "Фракционный состав выборки( n=" + n + " ) и технологические показатели П=" + index +
           std::string(18, ' ');
  return {};
}

void writeBlock(const Workspace& ws, const TextGrid& results, const NumberFormat& fmt,
                int rowOffset, const std::function<void(const BlockCell&)>& write) {
  const int C = ws.ContentCount;
  const int P = ws.PocketCount;
  const ResultsLayout L(C);
  const int T = rowOffset;
  BlockCell cell;

  auto text = [&](int row, int col, std::string t) {
    cell.row = row;
    cell.col = col;
    cell.isText = true;
    cell.text = std::move(t);
    write(cell);
  };

  for (int r = 1; r <= P; ++r) text(T + 4 + r, sheetCol(L.pocketNumber()), "=" + std::to_string(r));

  for (int r = 1; r <= P; ++r) {
    for (int g = L.limit(); g <= L.lastColumn(); ++g) {
      const std::string& t = results.cell(g, r);
      if (t.empty()) continue;
      cell.number = fmt.parseReal(t);
      cell.row = T + 4 + r;
      cell.col = sheetCol(g);
      cell.isText = false;
      cell.text.clear();
      write(cell);
    }
  }

  std::string title = sampleTitle(ws, fmt);
  if (!title.empty()) text(T + 1, 1, std::move(title));

  // Rows 2 and 3 are the sheet's own title rows, whatever the offset: every block rewrites them.
  text(2, 1, kCompositionTitle);
  text(2, sheetCol(L.tailsYield()), kIndicatorsTitle);
  text(3, sheetCol(L.tailsYield()), kTailsTitle);
  text(3, sheetCol(L.concentrateYield()), kConcentrateTitle);

  const int h = T + 4;
  text(h, sheetCol(L.pocketNumber()), kNumber);
  text(h, sheetCol(L.limit()), kUpperLimit);
  text(h, sheetCol(L.pocketYield()), kYield);
  for (int k = 1; k <= C; ++k) {
    text(h, sheetCol(L.pocketContent(k)), kContent);
    text(h, sheetCol(L.pocketRecovery(k)), kRecovery);
    text(h, sheetCol(L.tailsContent(k)), kContent);
    text(h, sheetCol(L.tailsRecovery(k)), kRecovery);
    text(h, sheetCol(L.concentrateContent(k)), kContent);
    text(h, sheetCol(L.concentrateRecovery(k)), kRecovery);
  }
  text(h, sheetCol(L.tailsYield()), kYield);
  text(h, sheetCol(L.concentrateYield()), kYield);
}

int blockHeight(int pocketCount) {
  return std::max(pocketCount, 0) + 5;
}

}  // namespace ore::report
