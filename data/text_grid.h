#pragma once
// A grid of cell texts addressed (column, row), as the program's grids are: the source-data grid,
// the column grid, the pocket table and the results grid all are TextGrids.

#include <string>
#include <vector>

namespace ore {

class TextGrid {
 public:
  // Told about every change so a view can repaint; shape == true when the size changed.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void gridChanged(bool shape) = 0;
  };

  TextGrid() = default;
  TextGrid(int cols, int rows) { resize(cols, rows); }
  TextGrid(const TextGrid& o) : cols_(o.cols_), rows_(o.rows_), cells_(o.cells_) {}
  TextGrid& operator=(const TextGrid& o);

  int colCount() const { return cols_; }
  int rowCount() const { return rows_; }

  // Re-sizing keeps the texts of the cells that remain; new cells are empty. Negative counts
  // are taken as 0.
  void resize(int cols, int rows);
  void setColCount(int cols) { resize(cols, rows_); }
  void setRowCount(int rows) { resize(cols_, rows); }

  // A cell outside the grid reads as the empty text.
  const std::string& cell(int col, int row) const;
  // Writing outside the grid does nothing (the cell is not part of the grid).
  void setCell(int col, int row, std::string text);

  // Moves one row (column) to another position, shifting those between, as dragging does.
  void moveRow(int from, int to);
  void moveColumn(int from, int to);

  void setListener(Listener* l) { listener_ = l; }

 private:
  bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }
  void changed(bool shape) {
    if (listener_) listener_->gridChanged(shape);
  }

  int cols_ = 0;
  int rows_ = 0;
  std::vector<std::string> cells_;  // row-major: row * cols_ + col
  Listener* listener_ = nullptr;
};

}  // namespace ore
