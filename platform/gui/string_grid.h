#pragma once
// The program's text grid control: a QTableView over a TextGridModel with one fixed header row
// and one fixed label column, lines between all cells, resizable and movable rows and columns
// (moving really moves the texts, so the work reads cells by position) and no range selection.

#include <QTableView>

#include "data/text_grid.h"
#include "platform/gui/text_grid_model.h"

namespace ore::gui {

class StringGrid : public QTableView {
  Q_OBJECT
 public:
  explicit StringGrid(QWidget* parent = nullptr);

  TextGrid& grid() { return grid_; }
  const TextGrid& grid() const { return grid_; }
  TextGridModel& model() { return *model_; }

  // Delphi-grid shaped helpers over the grid.
  int colCount() const { return grid_.colCount(); }
  int rowCount() const { return grid_.rowCount(); }
  void setColCount(int n) { grid_.setColCount(n); }
  void setRowCount(int n) { grid_.setRowCount(n); }
  const std::string& cell(int col, int row) const { return grid_.cell(col, row); }
  void setCell(int col, int row, std::string text) { grid_.setCell(col, row, std::move(text)); }
  void setColWidth(int col, int width);
  void setDefaultRowHeight(int height);
  void setDefaultColWidth(int width);

 private:
  TextGrid grid_;
  TextGridModel* model_;
};

}  // namespace ore::gui
