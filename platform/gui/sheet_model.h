#pragma once
// The report window's grid model over one sheet of a workbook.

#include <QAbstractTableModel>
#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <functional>

#include "data/number_format.h"
#include "platform/spreadsheet/report_window_cells.h"
#include "platform/workbook/names.h"
#include "platform/workbook/workbook.h"

namespace ore::gui {

// The grid's model: one sheet of the workbook, read in place (never a copy, never a widget per
// cell), a little larger than the sheet's used range so there is room to type beyond it.
class SheetModel : public QAbstractTableModel {
 public:
  SheetModel(const NumberFormat& fmt, std::function<void()> edited, QObject* parent)
      : QAbstractTableModel(parent), fmt_(fmt), edited_(std::move(edited)) {}

  void show(Workbook* wb, int index) {
    beginResetModel();
    wb_ = wb;
    index_ = index;
    rows_ = cols_ = 0;
    if (Sheet* s = sheet()) {
      rows_ = wantedRows(static_cast<int>(s->lastRow()));
      cols_ = wantedCols(static_cast<int>(s->lastCol()));
    }
    endResetModel();
  }

  // Makes room for a cell at (row, col), numbered from 1.
  void grow(int row, int col) {
    if (!sheet()) return;
    const int rows = std::max(rows_, wantedRows(row));
    if (rows > rows_) {
      beginInsertRows({}, rows_, rows - 1);
      rows_ = rows;
      endInsertRows();
    }
    const int cols = std::max(cols_, wantedCols(col));
    if (cols > cols_) {
      beginInsertColumns({}, cols_, cols - 1);
      cols_ = cols;
      endInsertColumns();
    }
  }

  // Cells (top, left) to (bottom, right), numbered from 1, have new values.
  void changed(int top, int left, int bottom, int right) {
    bottom = std::min(bottom, rows_);
    right = std::min(right, cols_);
    if (top < 1 || left < 1 || bottom < top || right < left) return;
    emit dataChanged(index(top - 1, left - 1), index(bottom - 1, right - 1), {Qt::DisplayRole});
  }

  Sheet* sheet() const {
    if (!wb_ || index_ < 0 || index_ >= static_cast<int>(wb_->sheets.size())) return nullptr;
    return &wb_->sheets[static_cast<size_t>(index_)];
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : rows_;
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : cols_;
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const Sheet* s = sheet();
    if (!s || !index.isValid()) return {};
    const Cell& c = s->cell(index.row() + 1, index.column() + 1);
    switch (role) {
      case Qt::DisplayRole:
        return QString::fromStdString(cellDisplayText(c, fmt_));
      case Qt::EditRole:
        return QString::fromStdString(cellEditText(c, fmt_));
      case Qt::TextAlignmentRole:
        if (c.type == Cell::Type::Number || c.type == Cell::Type::Date)
          return int(Qt::AlignRight | Qt::AlignVCenter);
        if (c.type == Cell::Type::Logical || c.type == Cell::Type::Error)
          return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    return QString::fromStdString(columnLetters(section + 1));
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    Sheet* s = sheet();
    if (!s || !index.isValid() || role != Qt::EditRole) return false;
    Cell typed = cellFromTyped(value.toString().toStdString(), fmt_);
    const Cell& old = s->cell(index.row() + 1, index.column() + 1);
    if (typed.type == old.type && typed.number == old.number && typed.text == old.text &&
        typed.formula == old.formula)
      return true;  // confirmed unchanged: nothing to save
    s->set(index.row() + 1, index.column() + 1, std::move(typed));
    emit dataChanged(index, index);
    grow(index.row() + 1, index.column() + 1);
    edited_();
    return true;
  }

 private:
  static int wantedRows(int lastRow) {
    return static_cast<int>(std::min<std::int64_t>(std::max(100, lastRow + 50), Sheet::kMaxRows));
  }
  static int wantedCols(int lastCol) {
    return static_cast<int>(std::min<std::int64_t>(std::max(26, lastCol + 10), Sheet::kMaxCols));
  }

  const NumberFormat& fmt_;
  std::function<void()> edited_;
  Workbook* wb_ = nullptr;
  int index_ = -1;
  int rows_ = 0;
  int cols_ = 0;
};

}  // namespace ore::gui
