#pragma once
// The program's text grid control: a QTableView over a TextGridModel whose fixed header row and
// fixed label column are the view's own header sections (so they stay put while the body
// scrolls and are drawn as header cells), lines between all cells, resizable and movable rows
// and columns (moving really moves the texts, so the work reads cells by position) and no range
// selection.

#include <QTableView>
#include <set>

#include "data/text_grid.h"
#include "platform/gui/text_grid_model.h"

class QAbstractButton;

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
  std::string cell(int col, int row) const { return grid_.cell(col, row); }
  void setCell(int col, int row, std::string text) { grid_.setCell(col, row, std::move(text)); }
  // Column 0 and row 0 are the header sections: their width and height are the headers' own.
  void setColWidth(int col, int width);
  void setRowHeight(int row, int height);
  int columnWidth(int col) const;
  int rowHeight(int row) const;
  void setDefaultRowHeight(int height);
  void setDefaultColWidth(int width);
  // Header texts wrap onto more lines instead of being cut (the header row must be high enough).
  void setHeaderWordWrap(bool on);

  // The whole grid, header row included, to the clipboard ("Копировать таблицу", Ctrl+Shift+C).
  void copyTable() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // The constructor's parts: lines, selection, scrolling and header looks; the header moves that
  // move texts and keep the current cell off the fixed cells.
  void setUpLook();
  void connectHeaderMoves();
  void applyFixed();
  void fitHeaderTexts();
  void paintCorner();

  TextGrid grid_;
  TextGridModel* model_;
  QAbstractButton* corner_ = nullptr;
  int col0Width_ = -1;       // set width of column 0, -1 while it follows its texts
  int row0Height_ = -1;      // set height of row 0, -1 while it follows the default row height
  std::set<int> sizedCols_;  // columns with a width set by the program or the user
  enum class CornerDrag { None, Width, Height } cornerDrag_ = CornerDrag::None;
  bool fitting_ = false;
};

}  // namespace ore::gui
