#include "platform/gui/text_grid_model.h"

#include <QApplication>
#include <QPalette>
#include <QTimer>

namespace ore::gui {

TextGridModel::TextGridModel(TextGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
  grid_.setListener(this);
}

TextGridModel::~TextGridModel() {
  grid_.setListener(nullptr);
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.rowCount();
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.colCount();
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  // A text wider than its column shows whole as the cell's tooltip.
  if (role == Qt::DisplayRole || role == Qt::EditRole || role == Qt::ToolTipRole)
    return QString::fromStdString(grid_.cell(index.column(), index.row()));
  if (role == Qt::BackgroundRole && (index.row() < fixedRows_ || index.column() < fixedCols_))
    return QApplication::palette().brush(QPalette::Button);
  return {};
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  inSetData_ = true;
  grid_.setCell(index.column(), index.row(), value.toString().toStdString());
  inSetData_ = false;
  emit dataChanged(index, index);
  if (index.row() < fixedRows_)
    emit headerDataChanged(Qt::Horizontal, index.column(), index.column());
  if (index.column() < fixedCols_) emit headerDataChanged(Qt::Vertical, index.row(), index.row());
  return true;
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Fixed cells are labels: they take neither the selection nor an editor.
  if (index.row() < fixedRows_ || index.column() < fixedCols_) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (orientation == Qt::Horizontal)
    return fixedRows_ > 0 ? QString::fromStdString(grid_.cell(section, 0)) : QVariant();
  return fixedCols_ > 0 ? QString::fromStdString(grid_.cell(0, section)) : QVariant();
}

void TextGridModel::gridChanged(bool shape) {
  if (shape) {
    // The size changed under us: the view must re-read everything.
    beginResetModel();
    endResetModel();
    return;
  }
  if (inSetData_ || updatePending_) return;
  // Cell writes from the work come in bursts (a whole grid at a time): repaint once after.
  updatePending_ = true;
  QTimer::singleShot(0, this, [this] {
    updatePending_ = false;
    if (grid_.rowCount() > 0 && grid_.colCount() > 0) {
      emit dataChanged(index(0, 0), index(grid_.rowCount() - 1, grid_.colCount() - 1),
                       {Qt::DisplayRole});
      emit headerDataChanged(Qt::Horizontal, 0, grid_.colCount() - 1);
      emit headerDataChanged(Qt::Vertical, 0, grid_.rowCount() - 1);
    }
  });
}

}  // namespace ore::gui
