#include "platform/string_grid.h"

#include <QHeaderView>

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
  auto undoVisualMove = [](QHeaderView* h, int logical, int oldVisual, int newVisual) {
    Q_UNUSED(logical);
    const QSignalBlocker block(h);
    h->moveSection(newVisual, oldVisual);
  };
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
