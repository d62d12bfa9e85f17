#include "import/workbook_import.h"

#include <algorithm>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "data/errors.h"
#include "import/column_letter.h"
#include "import/delimited_lumps.h"
#include "platform/spreadsheet/excel_application.h"
#include "platform/workbook/workbook_reader.h"

namespace ore {

using automation::Args;
using automation::Variant;

namespace {

// The count stops here at the latest (a worksheet has far fewer rows).
constexpr std::int64_t kLastRowScanned = 1000000000;

// One cell through a fresh "sheets", "cells", "value" chain: nothing is cached between reads,
// so the sheet is looked up again each time, as the application answers it.
Variant readCell(automation::Object& excel, Args sheetArg, std::int64_t row, int col) {
  const Variant rowCol[2] = {Variant(row), Variant(col)};
  return excel.get("sheets", sheetArg).get("cells", Args(rowCol)).get("value");
}

std::int32_t countLumps(automation::Object& excel, Args sheetArg, std::int32_t startRow,
                        int massCol) {
  for (std::int64_t row = startRow;; ++row) {
    if (readCell(excel, sheetArg, row, massCol).isEmptyText())
      return static_cast<std::int32_t>(row - startRow);
    if (row >= kLastRowScanned)
      throw Error("Конец данных не найден: ячейки массы заполнены до строки " +
                  std::to_string(kLastRowScanned));
  }
}

void readLumps(automation::Object& excel, Args sheetArg, const int columns[3], Workspace& ws,
               const NumberFormat& fmt) {
  const int count = ws.ContentCount;
  auto extraColumn = [&](int k) {
    // A column list shorter than the count (never after a tick) reads as column 0.
    return static_cast<size_t>(k) < ws.ContentColumns.size() ? ws.ContentColumns[k] : 0;
  };
  for (std::int32_t j = 1; j <= ws.LumpCount; ++j) {
    const std::int64_t row = static_cast<std::int64_t>(ws.StartRow) + j - 1;
    ws.Mass[j] = readCell(excel, sheetArg, row, columns[0]).toDouble(fmt);
    ws.Content[j] = readCell(excel, sheetArg, row, columns[1]).toDouble(fmt);
    ws.Param[j] = readCell(excel, sheetArg, row, columns[2]).toDouble(fmt);
    for (int k = 1; k <= 9; ++k)
      if (count > k && count <= kMaxContentCount)
        ws.ExtraContents[k][j] = readCell(excel, sheetArg, row, extraColumn(k)).toDouble(fmt);
  }
}

// The application's readers report to the import's progress while the file is opened.
class OpenProgress {
 public:
  OpenProgress(automation::Object& app, Progress& progress)
      : excel_(dynamic_cast<ExcelApplication*>(&app)) {
    if (excel_) excel_->setOpenProgress(&progress);
  }
  ~OpenProgress() {
    if (excel_) excel_->setOpenProgress(nullptr);
  }
  OpenProgress(const OpenProgress&) = delete;
  OpenProgress& operator=(const OpenProgress&) = delete;

 private:
  ExcelApplication* excel_;
};

class BusyScope {
 public:
  explicit BusyScope(ImportView& view) : view_(view) { view_.setBusy(true); }
  ~BusyScope() { view_.setBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  ImportView& view_;
};

// The lumps' columns in the order of reading: mass, content, parameter, further contents.
LumpLayout layoutOf(const Workspace& ws, const int columns[3]) {
  LumpLayout layout;
  layout.startRow = ws.StartRow;
  layout.columns = {columns[0], columns[1], columns[2]};
  const int count = ws.ContentCount;
  for (int k = 1; k <= 9; ++k)
    if (count > k && count <= kMaxContentCount)
      layout.columns.push_back(static_cast<size_t>(k) < ws.ContentColumns.size()
                                   ? ws.ContentColumns[static_cast<size_t>(k)]
                                   : 0);
  return layout;
}

// The arrays the layout's columns are read into, in the same order.
struct Targets {
  std::vector<std::vector<double>*> plain;  // Mass, Content, Param
  std::vector<std::vector<double, ZeroedAllocator<double>>*> further;
  template <class F>
  void each(F&& f) const {
    std::size_t i = 0;
    for (auto* a : plain) f(i++, *a);
    for (auto* a : further) f(i++, *a);
  }
};
Targets targetsOf(Workspace& ws) {
  Targets t;
  t.plain = {&ws.Mass, &ws.Content, &ws.Param};
  const int count = ws.ContentCount;
  for (int k = 1; k <= 9; ++k)
    if (count > k && count <= kMaxContentCount) t.further.push_back(&ws.ExtraContents[k]);
  return t;
}

// A row the application takes, for the reads that only check the sheet and the columns (rows
// of delimited text go on past a sheet's last row).
std::int64_t probeRow(std::int32_t startRow) {
  return startRow <= Sheet::kMaxRows ? startRow : 1;
}

// Step 4: the application opens the file. Delimited text read by our own readers is read here
// straight into arrays, and the application opens a stand-in of it: its one sheet, named as
// the text's sheet is, with no cells, so that every member call answers as it would.
std::optional<StreamedLumps> openWorkbook(automation::Object& app, const std::string& file,
                                          const Workspace& ws, const int columns[3],
                                          const NumberFormat& fmt, Progress& progress) {
  const Variant fileArg[1] = {Variant(file)};
  auto* xl = dynamic_cast<ExcelApplication*>(&app);
  if (!xl || !xl->readsFilesItself() || !isDelimitedText(file)) {
    OpenProgress reporting(app, progress);
    app.get("workbooks").get("open", Args(fileArg));
    return std::nullopt;
  }
  std::optional<StreamedLumps> streamed =
      streamDelimitedLumps(file, layoutOf(ws, columns), fmt, progress);
  struct Restore {
    ExcelApplication& xl;
    ~Restore() { xl.setReader({}); }
  } restore{*xl};
  xl->setReader([](const std::string& path) {
    Workbook wb;
    wb.path = path;
    wb.sheets.emplace_back(delimitedSheetName(path));
    return wb;
  });
  app.get("workbooks").get("open", Args(fileArg));
  return streamed;
}

// Steps 8 and 9 with the lumps already read: the same arrays, and the same failure at the same
// cell with the lumps before it in place.
void applyStreamed(StreamedLumps& s, automation::Object& excel, Args sheetArg, const int columns[3],
                   Workspace& ws, const NumberFormat& fmt) {
  const Targets targets = targetsOf(ws);
  const LumpLayout layout = layoutOf(ws, columns);
  if (!s.failed) {
    // Each array read whole takes the streamed values (its element 0 as it was); the others are
    // re-sized as resizeLumps does.
    targets.each([&](std::size_t f, auto& a) {
      std::vector<double>& v = s.values[f];
      v[0] = a.empty() ? 0.0 : a[0];
      if constexpr (std::is_same_v<std::decay_t<decltype(a)>, std::vector<double>>) {
        a = std::move(v);
      } else {
        a.assign(v.begin(), v.end());
        v = {};
      }
    });
    const std::size_t size = static_cast<std::size_t>(ws.LumpCount) + 1;
    for (auto* a : {&ws.Mass, &ws.Content, &ws.Param}) a->resize(size);
    for (int k = 1; k <= 9; ++k) ws.ExtraContents[k].resize(size);
    return;
  }
  ws.resizeLumps(ws.LumpCount);
  targets.each([&](std::size_t f, auto& a) {
    std::copy(s.values[f].begin() + 1, s.values[f].end(), a.begin() + 1);
  });
  if (s.badColumn) {
    const std::int64_t row = static_cast<std::int64_t>(ws.StartRow) + s.failedLump - 1;
    readCell(excel, sheetArg, probeRow(static_cast<std::int32_t>(row)),
             layout.columns[s.failedField]);
  }
  Variant(s.failedText).toDouble(fmt);  // throws the conversion error of that cell's text
  throw Error("Ячейка не прочитана");   // not reached: the reads above fail as the cells do
}

}  // namespace

void fillSourceGrid(const Workspace& ws, const NumberFormat& fmt, TextGrid& grid) {
  const int n = ws.LumpCount;
  const int byParam = ws.PocketBasis == PocketBasis::ByParam ? 1 : 0;
  // Cleared first, so nothing of an earlier import's layout is left over.
  grid.resize(0, 0);
  grid.resize(ws.ContentCount + 2 + byParam, n + 1);
  grid.setCell(0, 0, "№");
  grid.setCell(1, 0, "Масса");
  grid.setCell(2, 0, "%");
  if (byParam) grid.setCell(3, 0, "параметр  ");
  // Further contents 6 to 9 are never shown; their columns stay empty.
  const int shownExtras = std::min(ws.ContentCount - 1, 5);
  for (int r = 1; r <= n; ++r) {
    grid.setWhole(0, r, r);  // a whole number: the general format's digits
    grid.setNumber(1, r, ws.Mass[r], fmt);
    grid.setNumber(2, r, ws.Content[r], fmt);
    if (byParam) grid.setNumber(3, r, ws.Param[r], fmt);
    for (int k = 1; k <= shownExtras; ++k)
      grid.setNumber(2 + byParam + k, r, ws.ExtraContents[k][r], fmt);
  }
}

void importWorkbook(const ImportTexts& texts, Workspace& ws, const NumberFormat& fmt,
                    ImportView& view, Progress& progress, const ObjectFactory& create) {
  // 1-2. The dialog's texts; nothing has happened when one of them is not an integer.
  ws.StartRow = fmt.parseInteger(texts.startRow);
  const std::int32_t sheet = fmt.parseInteger(texts.sheet);
  if (ws.ContentCount > kMaxContentCount)
    throw Error("Количество содержаний " + std::to_string(ws.ContentCount) +
                " больше 10: загружаются не более 10 содержаний (первое и девять дополнительных)");
  const int columns[3] = {columnNumberOf(texts.massColumn), columnNumberOf(texts.contentColumn),
                          columnNumberOf(texts.paramColumn)};

  // 3.
  view.drawDialogCaption(kCountWords);
  const std::string file = view.chooseFile();

  std::shared_ptr<automation::Object> excel;
  if (!file.empty()) {
    BusyScope busy(view);
    // 4.
    auto app = create("excel.application");
    if (!app) throw Error("Не удается создать объект автоматизации «excel.application»");
    std::optional<StreamedLumps> streamed = openWorkbook(*app, file, ws, columns, fmt, progress);
    excel = std::move(app);
    // 5.
    view.showButton3();
    // 6.
    view.hideDialog();
    const Variant sheetArg[1] = {Variant(sheet)};
    if (streamed) {
      // The count's first read, which a bad sheet, start row or mass column fails.
      readCell(*excel, sheetArg, probeRow(ws.StartRow), columns[0]);
      ws.LumpCount = streamed->count;
    } else {
      ws.LumpCount = countLumps(*excel, sheetArg, ws.StartRow, columns[0]);
    }
    // 7.
    view.drawCountText(fmt.format(ws.LumpCount) + kCountWords);
    // 8-9.
    if (streamed) {
      applyStreamed(*streamed, *excel, sheetArg, columns, ws, fmt);
    } else {
      ws.resizeLumps(ws.LumpCount);
      readLumps(*excel, sheetArg, columns, ws, fmt);
    }
    // 10.
    if (view.showsSourceGrid()) fillSourceGrid(ws, fmt, view.sourceGrid());
  }
  // 11.
  view.showGroup();
  // 12.
  if (excel) excel->get("workbooks").get("close");
  // 13.
  view.hideDialog();
}

}  // namespace ore
