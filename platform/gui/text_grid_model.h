#pragma once
// Qt model over a TextGrid, so a QTableView shows (and edits) the grid's texts without a widget
// per cell; a million-row grid opens at once.

#include <QAbstractTableModel>

#include "data/text_grid.h"

namespace ore::gui {

class TextGridModel : public QAbstractTableModel, private TextGrid::Listener {
  Q_OBJECT
 public:
  explicit TextGridModel(TextGrid& grid, QObject* parent = nullptr);
  ~TextGridModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // The view's headers show the fixed cells: the horizontal one row 0, the vertical one column 0.
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The fixed row and column (the header row 0, the label column 0) are labels, not editable.
  int fixedRows() const { return fixedRows_; }
  int fixedCols() const { return fixedCols_; }

  TextGrid& grid() { return grid_; }

 private:
  void gridChanged(bool shape) override;

  TextGrid& grid_;
  static constexpr int fixedRows_ = 1;
  static constexpr int fixedCols_ = 1;
  bool updatePending_ = false;
  bool inSetData_ = false;
};

}  // namespace ore::gui
