#pragma once
// The workbook reading behind the import dialog's "Ok>>>": lets the user choose a workbook,
// reads one sheet lump by lump through the spreadsheet application ("excel.application") into
// the lump data set and fills the source-data grid. TForm6 and orefrac-batch both run it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "data/workspace.h"
#include "platform/spreadsheet/automation.h"

namespace ore {

// The dialog's texts as they stand when OK is pressed.
struct ImportTexts {
  std::string massColumn = "B";
  std::string contentColumn = "C";
  std::string paramColumn = "D";
  std::string startRow = "2";
  std::string sheet = "1";
};

// What the import does to the windows, in the order it does it.
class ImportView {
 public:
  virtual ~ImportView() = default;
  // Draws text ("  количество точек") once on the dialog's surface at (30, 45).
  virtual void drawDialogCaption(const std::string& text) = 0;
  // The main window's file-open dialog: the full path, or empty when the user cancels.
  virtual std::string chooseFile() = 0;
  virtual void showButton3() = 0;  // the main window's "Перевести данные"
  virtual void hideDialog() = 0;
  // Draws text ("120  количество точек") once on the main window at (10, 15).
  virtual void drawCountText(const std::string& text) = 0;
  virtual TextGrid& sourceGrid() = 0;  // the main window's source-data grid
  // False when nobody looks at the source grid: the import then leaves it as it is.
  virtual bool showsSourceGrid() const { return true; }
  virtual void showGroup() = 0;  // the main window's group "Исходные данные"
  // On while the workbook is opened and read (a busy cursor), off when that ends, also on failure.
  virtual void setBusy(bool /*on*/) {}
};

using ObjectFactory = std::function<std::shared_ptr<automation::Object>(std::string_view)>;

// The words after the lump count.
inline constexpr const char* kCountWords = "  количество точек";

// The reading. Uses ws.PocketBasis, ws.ContentCount and ws.ContentColumns as the dialog's timer
// left them; writes ws.StartRow, ws.LumpCount, the twelve arrays and, through view, the main
// window. A failure throws at the step where it happens and what was done before stays done:
//  - start row or sheet not an integer: ConversionError, nothing else has happened (StartRow
//    holds the parsed start row when only the sheet fails); a ContentCount above 10 is refused
//    here too, with ore::Error;
//  - the user cancels the file dialog: nothing is read, the group is shown, the dialog hidden;
//  - the application cannot be made or the file not opened: its error, data set unchanged;
//  - a bad sheet or mass column fails while counting (dialog hidden, Button3 shown, data set
//    unchanged); a bad content, parameter or further-content column, or a text cell that is not
//    a number, fails while reading, with LumpCount and the array sizes already new and the lumps
//    before it read; the grid is then not refilled.
// progress hears how far the file's reading has come (and may stop it: WorkStopped, the data set
// unchanged). create makes the application (automation::createObject; tests record its calls).
void importWorkbook(const ImportTexts& texts, Workspace& ws, const NumberFormat& fmt,
                    ImportView& view, Progress& progress,
                    const ObjectFactory& create = automation::createObject);

// The last part of an import on its own: lays out the source-data grid for the lumps of ws.
void fillSourceGrid(const Workspace& ws, const NumberFormat& fmt, TextGrid& grid);

}  // namespace ore
