#pragma once
// The main window as the import dialog works on it: its file-open dialog, its source-data grid
// and what it shows when an import has read the lumps.

#include <string>

#include "data/text_grid.h"

namespace ore {

class SourceWindow {
 public:
  virtual ~SourceWindow() = default;
  // The file-open dialog: the full path, or empty when the user cancels.
  virtual std::string chooseFileToOpen() = 0;
  virtual void showButton3() = 0;  // "Перевести данные"
  // Draws text ("120  количество точек") once at (10, 15).
  virtual void drawCountText(const std::string& text) = 0;
  virtual TextGrid& sourceGrid() = 0;
  virtual void showGroupBox1() = 0;  // the group "Исходные данные"
};

}  // namespace ore
