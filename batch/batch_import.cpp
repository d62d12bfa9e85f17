#include <algorithm>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "import/content_columns.h"
#include "import/source_read_back.h"
#include "import/workbook_import.h"

namespace ore::batch {

namespace {

// The import's windows without windows: the file is the one on the command line, the grid is
// the batch state's source-data grid, and nothing is drawn.
class BatchImportView : public ImportView {
 public:
  BatchImportView(std::string file, TextGrid& grid, bool showsGrid)
      : file_(std::move(file)), grid_(grid), showsGrid_(showsGrid) {}
  void drawDialogCaption(const std::string&) override {}
  std::string chooseFile() override { return file_; }
  void showButton3() override {}
  void hideDialog() override {}
  void drawCountText(const std::string&) override {}
  TextGrid& sourceGrid() override { return grid_; }
  bool showsSourceGrid() const override { return showsGrid_; }
  void showGroup() override {}

 private:
  std::string file_;
  TextGrid& grid_;
  bool showsGrid_;
};

}  // namespace

void importStage(const Options& options, BatchState& state) {
  Workspace& ws = state.ws;
  if (options.workbook.empty()) throw Error("Не задана рабочая книга (см. orefrac-batch --help)");
  if (options.contents.empty()) throw Error("--contents: не задано количество содержаний");

  // What the dialog's creation, its radio buttons and its timer leave in the shared record.
  ws.PocketBasis = options.pocketBasis;
  const int count = state.fmt.parseInteger(options.contents);
  const size_t further = static_cast<size_t>(std::max(count - 1, 0));
  if (options.extra.size() > further)
    throw Error("--extra: задано столбцов " + std::to_string(options.extra.size()) +
                ", а при --contents " + options.contents + " дополнительных содержаний " +
                std::to_string(further));
  TextGrid columnGrid(2, static_cast<int>(options.extra.size()) + 1);
  for (size_t k = 0; k < options.extra.size(); ++k)
    columnGrid.setCell(1, static_cast<int>(k) + 1, options.extra[k]);
  updateContentColumns(options.contents, columnGrid, ws, state.fmt);

  ImportTexts texts;
  texts.massColumn = options.mass;
  texts.contentColumn = options.content;
  texts.paramColumn = options.param;
  texts.startRow = options.startRow;
  texts.sheet = options.sheet;
  // Only --lumps writes the source grid; without it the grid of a large log is not built at all.
  const bool grid = options.lumpsFile.has_value();
  BatchImportView view(options.workbook, state.sourceGrid, grid);
  Progress silent;
  importWorkbook(texts, ws, state.fmt, view, state.progress ? *state.progress : silent,
                 state.objects);
  // "Перевести данные": the analysis works on the lumps as the source-data grid shows them.
  if (grid)
    readBackSourceGrid(state.sourceGrid, state.fmt, ws);
  else
    readBackLumps(state.fmt, ws);
}

}  // namespace ore::batch
