#include "batch/batch_run.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/xlsx/xlsx_writer.h"
#include "results/report_block.h"

namespace ore::batch {

namespace {
// The pocket numbers come as "=r": a spreadsheet keeps them as formulas showing r.
bool isNumberFormula(const std::string& t) {
  if (t.size() < 2 || t[0] != '=') return false;
  for (size_t i = 1; i < t.size(); ++i)
    if (t[i] < '0' || t[i] > '9') return false;
  return true;
}
}  // namespace

// The block of a first separate-file export: a new workbook of one sheet "Отчет", the block at
// its top, saved to the --report file. A failure writes no file at all.
void reportStage(const Options& options, BatchState& state) {
  Workbook wb;
  wb.path = options.reportFile.value_or("");
  wb.sheets.emplace_back("Отчет");
  Sheet& sheet = wb.sheets.front();
  report::writeBlock(state.ws, state.results, state.fmt, 0, [&sheet](const report::BlockCell& c) {
    Cell cell;
    if (!c.isText) {
      cell.type = Cell::Type::Number;
      cell.number = c.number;
    } else if (isNumberFormula(c.text)) {
      cell.type = Cell::Type::Number;
      cell.number = std::stod(c.text.substr(1));
      cell.formula = c.text;
    } else {
      cell.type = Cell::Type::Text;
      cell.text = c.text;
    }
    sheet.set(c.row, c.col, std::move(cell));
  });
  writeXlsx(wb, wb.path);
}

}  // namespace ore::batch
