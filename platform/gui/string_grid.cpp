#include "platform/gui/string_grid.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStyleOptionHeader>
#include <algorithm>
#include <vector>

#include "platform/gui/grid_clipboard.h"

namespace ore::gui {

namespace {
constexpr int kGrip = 4;  // how near the corner's edge a press resizes column 0 or row 0
}

StringGrid::StringGrid(QWidget* parent) : QTableView(parent) {
  model_ = new TextGridModel(grid_, this);
  setModel(model_);
  setUpLook();
  connectHeaderMoves();
  // A column the user widens or narrows keeps that width; the others follow their header text.
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int) {
    if (!fitting_) sizedCols_.insert(logical);
  });
  // A new shape re-creates the sections: the fixed ones are hidden again.
  connect(model_, &QAbstractItemModel::modelReset, this, [this] { applyFixed(); });
  connect(model_, &QAbstractItemModel::headerDataChanged, this, [this] { fitHeaderTexts(); });

  auto* copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
  copy->setContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QShortcut::activated, this, [this] { copyTable(); });
  applyFixed();
}

void StringGrid::setUpLook() {
  setShowGrid(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  // Scrolling by pixels: a row or column passes under the fixed cells instead of jumping.
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  // Row 0 and column 0 of the grid are shown by the headers (see applyFixed); a press on a
  // header cell starts a drag or a resize, never a range selection.
  for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
    h->setSectionsMovable(true);
    h->setSectionsClickable(false);
    h->setSectionResizeMode(QHeaderView::Interactive);
    h->setHighlightSections(false);
  }
  horizontalHeader()->setDefaultSectionSize(64);
  horizontalHeader()->setMinimumSectionSize(4);
  verticalHeader()->setDefaultSectionSize(24);
  verticalHeader()->setMinimumSectionSize(4);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  setCornerButtonEnabled(false);
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_) {
    corner_->installEventFilter(this);
    corner_->setMouseTracking(true);
  }
}

void StringGrid::connectHeaderMoves() {
  // The header's own move is undone (sections stay in logical order, the texts move instead), but
  // the dragged section's size goes along with its texts, as the user sees it being dragged.
  auto undoVisualMove = [](QHeaderView* h, int oldVisual, int newVisual) {
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
          [this, undoVisualMove](int, int oldVisual, int newVisual) {
            newVisual = std::max(newVisual, model_->fixedRows());
            undoVisualMove(verticalHeader(), oldVisual, newVisual);
            grid_.moveRow(oldVisual, newVisual);
            viewport()->update();
          });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
          [this, undoVisualMove](int, int oldVisual, int newVisual) {
            newVisual = std::max(newVisual, model_->fixedCols());
            undoVisualMove(horizontalHeader(), oldVisual, newVisual);
            grid_.moveColumn(oldVisual, newVisual);
            viewport()->update();
          });
}

void StringGrid::applyFixed() {
  for (int r = 0; r < std::min(model_->fixedRows(), grid_.rowCount()); ++r) setRowHidden(r, true);
  for (int c = 0; c < std::min(model_->fixedCols(), grid_.colCount()); ++c)
    setColumnHidden(c, true);
  horizontalHeader()->setVisible(model_->fixedRows() > 0);
  verticalHeader()->setVisible(model_->fixedCols() > 0);
  const int h = row0Height_ >= 0 ? row0Height_ : verticalHeader()->defaultSectionSize();
  horizontalHeader()->setFixedHeight(h);
  fitHeaderTexts();
}

void StringGrid::fitHeaderTexts() {
  const QFontMetrics fm(horizontalHeader()->font());
  const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
  const bool wrap = horizontalHeader()->defaultAlignment() & Qt::TextWordWrap;
  auto needed = [&](const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (!wrap) return fm.horizontalAdvance(t) + margin;
    int widest = 0;  // wrapped: the longest word must fit
    for (const QString& w : t.split(' ', Qt::SkipEmptyParts))
      widest = std::max(widest, fm.horizontalAdvance(w));
    return widest + margin;
  };
  fitting_ = true;
  for (int c = model_->fixedCols(); c < grid_.colCount(); ++c) {
    if (sizedCols_.count(c)) continue;
    const int w = std::max(horizontalHeader()->defaultSectionSize(), needed(grid_.cell(c, 0)));
    if (horizontalHeader()->sectionSize(c) != w) horizontalHeader()->resizeSection(c, w);
  }
  fitting_ = false;
  if (col0Width_ >= 0) {
    verticalHeader()->setFixedWidth(col0Width_);
  } else {
    // Column 0 holds the row labels and, in its corner, the text of cell (0, 0).
    int w = std::max(horizontalHeader()->defaultSectionSize(), needed(grid_.cell(0, 0)));
    verticalHeader()->setMinimumWidth(0);
    verticalHeader()->setMaximumWidth(QWIDGETSIZE_MAX);
    w = std::max(w, verticalHeader()->sizeHint().width());
    verticalHeader()->setFixedWidth(w);
  }
  if (corner_) corner_->update();
}

void StringGrid::setColWidth(int col, int width) {
  if (col < model_->fixedCols()) {
    col0Width_ = width;
    fitHeaderTexts();
    return;
  }
  sizedCols_.insert(col);
  setColumnWidth(col, width);
}

void StringGrid::setRowHeight(int row, int height) {
  if (row < model_->fixedRows()) {
    row0Height_ = height;
    horizontalHeader()->setFixedHeight(height);
    return;
  }
  QTableView::setRowHeight(row, height);
}

int StringGrid::columnWidth(int col) const {
  return col < model_->fixedCols() ? verticalHeader()->width() : QTableView::columnWidth(col);
}

int StringGrid::rowHeight(int row) const {
  return row < model_->fixedRows() ? horizontalHeader()->height() : QTableView::rowHeight(row);
}

void StringGrid::setDefaultRowHeight(int height) {
  verticalHeader()->setDefaultSectionSize(height);
  if (row0Height_ < 0) horizontalHeader()->setFixedHeight(height);
}

void StringGrid::setDefaultColWidth(int width) {
  horizontalHeader()->setDefaultSectionSize(width);
  fitHeaderTexts();
}

void StringGrid::setHeaderWordWrap(bool on) {
  horizontalHeader()->setDefaultAlignment(on ? Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap)
                                             : Qt::Alignment(Qt::AlignCenter));
  fitHeaderTexts();
}

void StringGrid::copyTable() const {
  copyGridToClipboard(grid_);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(QStringLiteral("Копировать таблицу"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  if (menu.exec(event->globalPos()) == copy) copyTable();
}

// The corner shows cell (0, 0) as a header cell; dragging its right or bottom edge resizes
// column 0 or row 0, as the edges of the other fixed cells do.
bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != corner_) return QTableView::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Paint:
      paintCorner();
      return true;
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = me->position().toPoint();
      if (p.x() >= corner_->width() - kGrip)
        cornerDrag_ = CornerDrag::Width;
      else if (p.y() >= corner_->height() - kGrip)
        cornerDrag_ = CornerDrag::Height;
      return true;
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = me->position().toPoint();
      if (cornerDrag_ == CornerDrag::Width) {
        setColWidth(0, std::max(p.x(), kGrip));
      } else if (cornerDrag_ == CornerDrag::Height) {
        setRowHeight(0, std::max(p.y(), kGrip));
      } else {
        const bool w = p.x() >= corner_->width() - kGrip;
        const bool h = p.y() >= corner_->height() - kGrip;
        if (w || h)
          corner_->setCursor(w ? Qt::SplitHCursor : Qt::SplitVCursor);
        else
          corner_->unsetCursor();
      }
      return true;
    }
    case QEvent::MouseButtonRelease:
      cornerDrag_ = CornerDrag::None;
      return true;
    default:
      return false;
  }
}

void StringGrid::paintCorner() {
  QPainter painter(corner_);
  QStyleOptionHeader opt;
  opt.initFrom(corner_);
  // The corner button is disabled (a click must not select the grid), but it shows a label.
  opt.palette.setCurrentColorGroup(QPalette::Active);
  opt.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
  opt.rect = corner_->rect();
  opt.position = QStyleOptionHeader::OnlyOneSection;
  opt.orientation = Qt::Horizontal;
  opt.text = QString::fromStdString(grid_.cell(0, 0));
  opt.textAlignment = Qt::AlignCenter;
  style()->drawControl(QStyle::CE_Header, &opt, &painter, corner_);
}

}  // namespace ore::gui
