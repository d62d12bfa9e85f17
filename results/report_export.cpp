#include "results/report_export.h"

#include "data/errors.h"
#include "results/report_block.h"

namespace ore::report {

namespace {
using automation::Variant;

void startWorkbook(automation::Object& app) {
  app.put("visible", {}, Variant::fromBool(true));
  Variant books = app.get("workbooks");
  const Variant addArgs[] = {Variant(automation::kOneSheetTemplate)};
  books.toObject()->get("add", addArgs);
  const Variant first[] = {Variant(1)};
  Variant book = app.get("workbooks", first);
  Variant sheet = book.toObject()->get("worksheets", first);
  sheet.toObject()->put("name", {}, Variant::fromText("Отчет"));
}
}  // namespace

void exportReport(Workspace& ws, const TextGrid& results, const NumberFormat& fmt,
                  int& reportRowOffset, const ApplicationFactory& makeApplication) {
  if (ws.ReportMode == ReportMode::SeparateWorkbook) {
    std::shared_ptr<automation::Object> app =
        makeApplication ? makeApplication() : automation::createObject("excel.application");
    if (!app) throw Error(msg::kInvalidVariantOperation);
    // The previous application is only released: it stays open with its workbook for the user.
    ws.ReportExcel = app;
    startWorkbook(*app);
    reportRowOffset = 0;
  }

  // A copy, so the application outlives the block even if something replaces ReportExcel.
  const std::shared_ptr<automation::Object> app = ws.ReportExcel;
  if (!app) throw Error(msg::kInvalidVariantOperation);
  const int T = reportRowOffset;
  writeBlock(ws, results, fmt, T, [&app](const BlockCell& c) {
    const Variant at[] = {Variant(c.row), Variant(c.col)};
    app->put("cells", at, c.isText ? Variant::fromText(c.text) : Variant::fromDouble(c.number));
  });
  reportRowOffset = T + blockHeight(ws.PocketCount);
}

}  // namespace ore::report
