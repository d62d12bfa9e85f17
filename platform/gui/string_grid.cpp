#include "platform/gui/string_grid.h"

#include <QHeaderView>
#include <algorithm>
#include <vector>

namespace ore::gui {

StringGrid::StringGrid(QWidget* parent) : QTableView(parent) {
  model_ = new TextGridModel(grid_, this);
  setModel(model_);
  setShowGrid(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  // The headers are thin grips only: row 0 and column 0 of the grid are its fixed cells.
  for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
    h->setSectionsMovable(true);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setHighlightSections(false);
  }
  horizontalHeader()->setFixedHeight(6);
  verticalHeader()->setFixedWidth(6);
  horizontalHeader()->setDefaultSectionSize(64);
  horizontalHeader()->setMinimumSectionSize(4);
  verticalHeader()->setDefaultSectionSize(24);
  verticalHeader()->setMinimumSectionSize(4);
  // The header's own move is undone (sections stay in logical order, the texts move instead), but
  // the dragged section's size goes along with its texts, as the user sees it being dragged.
  auto undoVisualMove = [](QHeaderView* h, int logical, int oldVisual, int newVisual) {
    Q_UNUSED(logical);
    {
      const QSignalBlocker block(h);
      h->moveSection(newVisual, oldVisual);
    }
    const int lo = std::min(oldVisual, newVisual), hi = std::max(oldVisual, newVisual);
    std::vector<int> sizes;
    for (int i = lo; i <= hi; ++i) sizes.push_back(h->sectionSize(i));
    if (oldVisual < newVisual)
      std::rotate(sizes.begin(), sizes.begin() + 1, sizes.end());
    else
      std::rotate(sizes.begin(), sizes.end() - 1, sizes.end());
    for (int i = lo; i <= hi; ++i) h->resizeSection(i, sizes[i - lo]);
  };
  // The current cell never rests on a fixed cell (a focus-in, a click or an arrow key would put
  // it there): it goes to the nearest normal cell, where typing starts.
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!current.isValid()) return;
            const int r = std::max(current.row(), model_->fixedRows());
            const int c = std::max(current.column(), model_->fixedCols());
            if (r == current.row() && c == current.column()) return;
            if (r < grid_.rowCount() && c < grid_.colCount())
              selectionModel()->setCurrentIndex(model_->index(r, c), QItemSelectionModel::NoUpdate);
          });
  connect(verticalHeader(), &QHeaderView::sectionMoved, this,
          [this, undoVisualMove](int logical, int oldVisual, int newVisual) {
            undoVisualMove(verticalHeader(), logical, oldVisual, newVisual);
            grid_.moveRow(oldVisual, newVisual);
            viewport()->update();
          });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
          [this, undoVisualMove](int logical, int oldVisual, int newVisual) {
            undoVisualMove(horizontalHeader(), logical, oldVisual, newVisual);
            grid_.moveColumn(oldVisual, newVisual);
            viewport()->update();
          });
}

void StringGrid::setColWidth(int col, int width) {
  setColumnWidth(col, width);
}
void StringGrid::setDefaultRowHeight(int height) {
  verticalHeader()->setDefaultSectionSize(height);
}
void StringGrid::setDefaultColWidth(int width) {
  horizontalHeader()->setDefaultSectionSize(width);
}

}  // namespace ore::gui
