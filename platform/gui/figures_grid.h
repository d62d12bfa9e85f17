#pragma once
// The two-column table of figures beside the study's charts: "Показатель", "Значение", read-only,
// the labels wrapped in a column of their own width and the values taking the rest.

#include <QHeaderView>

#include "platform/gui/string_grid.h"

namespace ore::gui {

inline StringGrid* newFiguresGrid(const char* objectName, int labelWidth) {
  auto* grid = new StringGrid;
  grid->setObjectName(objectName);
  grid->setColCount(2);
  grid->setRowCount(1);
  grid->setCell(0, 0, "Показатель");
  grid->setCell(1, 0, "Значение");
  grid->setColWidth(0, labelWidth);
  grid->horizontalHeader()->setStretchLastSection(true);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setWordWrap(true);
  return grid;
}

}  // namespace ore::gui
