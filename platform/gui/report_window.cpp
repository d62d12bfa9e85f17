#include "platform/gui/report_window.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/spreadsheet/report_window_cells.h"
#include "platform/workbook/xlsx/xlsx_writer.h"

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
    QString name;
    for (int c = section + 1; c > 0; c = (c - 1) / 26) name.prepend(QChar('A' + (c - 1) % 26));
    return name;
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

namespace {
// Draws a text cell as a spreadsheet does: a text too wide for its cell runs on over the empty
// cells to its right (the report's titles rely on it) and is cut at the first cell that holds
// something; no grid line crosses the text where it runs on. Every cell draws its own part of
// the text and its own right and bottom grid lines, so a partial repaint stays right.
class SpillDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const QString own = index.data(Qt::DisplayRole).toString();
    QModelIndex source = index;
    if (own.isEmpty()) {
      source = {};
      // A title is rarely wider than a few dozen columns; looking further costs every paint.
      for (int c = index.column() - 1; c >= 0 && c >= index.column() - 64; --c) {
        QModelIndex left = index.sibling(index.row(), c);
        if (left.data(Qt::DisplayRole).toString().isEmpty()) continue;
        if (flowsRight(left)) source = left;
        break;
      }
    }
    if (!view || !source.isValid() || !flowsRight(source)) {
      QStyledItemDelegate::paint(painter, option, index);
      drawGridLines(painter, option, false);
      return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    QStyle* style = view->style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect from = view->visualRect(source);
    const QString shown = source.data(Qt::DisplayRole).toString();
    const QRect text(from.left() + margin, option.rect.top(), 1 << 20, option.rect.height());
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();

    // The text runs on into the next cell when it reaches past this one and that cell is empty.
    const int textRight = text.left() + QFontMetrics(opt.font).horizontalAdvance(shown);
    const QModelIndex next = index.sibling(index.row(), index.column() + 1);
    const bool runsOn = textRight > option.rect.right() && next.isValid() &&
                        next.data(Qt::DisplayRole).toString().isEmpty();
    drawGridLines(painter, option, runsOn);
  }

 private:
  static bool flowsRight(const QModelIndex& i) {
    return (i.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask) == Qt::AlignLeft;
  }

  // The lines the view would draw on the cell's right and bottom edges (its own grid is off).
  static void drawGridLines(QPainter* painter, const QStyleOptionViewItem& option, bool openRight) {
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    const QColor color = QColor::fromRgba(
        static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, w)));
    const QRect& r = option.rect;
    painter->save();
    painter->setPen(QPen(color, 0));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (!openRight) painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter->restore();
  }
};

std::vector<ReportWindow*>& openWindows() {
  static std::vector<ReportWindow*> windows;
  return windows;
}

bool hasCells(const Workbook* wb) {
  if (!wb) return false;
  for (const Sheet& s : wb->sheets)
    if (s.lastRow() > 0) return true;
  return false;
}

ReportWindow::CloseAnswer askToSave(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Сохранение отчета"), question,
                  QMessageBox::NoButton, parent);
  box.setObjectName(QStringLiteral("SaveQuestion"));
  QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
  QPushButton* discard =
      box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == save) return ReportWindow::CloseAnswer::Save;
  if (box.clickedButton() == discard) return ReportWindow::CloseAnswer::Discard;
  return ReportWindow::CloseAnswer::Cancel;
}
}  // namespace

ReportWindow::ReportWindow(ErrorBox& errors, const NumberFormat& fmt, QWidget* parent)
    : QMainWindow(parent), errors_(errors), fmt_(fmt) {
  setObjectName(QStringLiteral("ReportWindow"));

  QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
  file->setObjectName(QStringLiteral("FileMenu"));
  saveAs_ = file->addAction(QStringLiteral("Сохранить как…"));
  saveAs_->setObjectName(QStringLiteral("SaveAs"));
  saveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* closeAction = file->addAction(QStringLiteral("Закрыть"));
  closeAction->setObjectName(QStringLiteral("Close"));
  closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));

  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  model_ = new SheetModel(
      fmt_, [this] { markModified(); }, this);
  view_ = new QTableView(client);
  view_->setObjectName(QStringLiteral("Grid"));
  view_->setModel(model_);
  view_->setWordWrap(false);
  view_->setItemDelegate(new SpillDelegate(view_));
  view_->setShowGrid(false);  // the delegate draws the lines, leaving out those a text runs over
  view_->verticalHeader()->setMinimumSectionSize(view_->fontMetrics().height() + 4);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->horizontalHeader()->setDefaultSectionSize(80);
  tabs_ = new QTabBar(client);
  tabs_->setObjectName(QStringLiteral("SheetTabs"));
  tabs_->setShape(QTabBar::RoundedSouth);
  tabs_->setExpanding(false);
  tabs_->setDocumentMode(true);
  layout->addWidget(view_, 1);
  layout->addWidget(tabs_, 0, Qt::AlignLeft);
  setCentralWidget(client);
  resize(900, 600);

  flushTimer_ = new QTimer(this);
  flushTimer_->setSingleShot(true);
  flushTimer_->setInterval(50);
  sinceFlush_.start();

  connect(flushTimer_, &QTimer::timeout, this, &ReportWindow::flush);
  connect(saveAs_, &QAction::triggered, this, [this] { guarded(errors_, [this] { saveAs(); }); });
  connect(closeAction, &QAction::triggered, this, &QWidget::close);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int i) {
    showSheet(i);
    emit activeSheetChosen(i);
  });

  openWindows().push_back(this);
  setWorkbook(nullptr, {});
}

ReportWindow::~ReportWindow() {
  std::erase(openWindows(), this);
}

void ReportWindow::setWorkbook(Workbook* wb, const QString& name) {
  wb_ = wb;
  name_ = name;
  modified_ = hasCells(wb_);
  closeConfirmed_ = false;
  saveAs_->setEnabled(wb_ != nullptr);
  rebuildTabs(0);
  showSheet(activeSheet());
  updateTitle();
}

int ReportWindow::activeSheet() const {
  if (!wb_ || wb_->sheets.empty()) return -1;
  return std::clamp(tabs_->currentIndex(), 0, static_cast<int>(wb_->sheets.size()) - 1);
}

void ReportWindow::cellWritten(int sheet, int row, int col) {
  if (!wb_) return;
  if (tabs_->count() != static_cast<int>(wb_->sheets.size())) workbookChanged();
  markModified();
  if (sheet != activeSheet()) return;
  if (pendingTop_ == 0) {
    pendingTop_ = pendingBottom_ = row;
    pendingLeft_ = pendingRight_ = col;
  } else {
    pendingTop_ = std::min(pendingTop_, row);
    pendingBottom_ = std::max(pendingBottom_, row);
    pendingLeft_ = std::min(pendingLeft_, col);
    pendingRight_ = std::max(pendingRight_, col);
  }
  // A report is written in one blocking handler: without a repaint now and then the user would
  // see nothing until it ends.
  if (sinceFlush_.elapsed() >= 100) {
    flush();
    if (isVisible()) view_->viewport()->repaint();
  } else if (!flushTimer_->isActive()) {
    flushTimer_->start();
  }
}

void ReportWindow::flush() {
  flushTimer_->stop();
  sinceFlush_.restart();
  if (pendingTop_ == 0) return;
  model_->grow(pendingBottom_, pendingRight_);
  model_->changed(pendingTop_, pendingLeft_, pendingBottom_, pendingRight_);
  pendingTop_ = pendingLeft_ = pendingBottom_ = pendingRight_ = 0;
}

void ReportWindow::workbookChanged() {
  if (hasCells(wb_)) markModified();
  rebuildTabs(tabs_->currentIndex());
  showSheet(activeSheet());
  saveAs_->setEnabled(wb_ != nullptr);
  updateTitle();
}

void ReportWindow::setActiveSheet(int sheet) {
  if (!wb_ || sheet < 0 || sheet >= static_cast<int>(wb_->sheets.size())) return;
  if (tabs_->count() != static_cast<int>(wb_->sheets.size())) rebuildTabs(sheet);
  {
    QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(sheet);
  }
  showSheet(sheet);
}

bool ReportWindow::saveAs() {
  if (!wb_) return false;
  QString suggested = QString::fromStdString(wb_->path);
  if (suggested.isEmpty())
    suggested = QDir::home().filePath((name_.isEmpty() ? QStringLiteral("Книга") : name_) +
                                      QStringLiteral(".xlsx"));
  QString file;
  if (chooser_) {
    file = chooser_(suggested);
  } else {
    QFileDialog dialog(this, QStringLiteral("Сохранить как"), QFileInfo(suggested).path(),
                       QStringLiteral("Книга Excel (*.xlsx)"));
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xlsx"));
    dialog.selectFile(suggested);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      file = dialog.selectedFiles().first();
  }
  if (file.isEmpty()) return false;
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".xlsx");

  const std::string path = QFile::encodeName(file).toStdString();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    writeXlsx(*wb_, path);
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
  wb_->path = path;
  name_ = QFileInfo(file).completeBaseName();
  modified_ = false;
  updateTitle();
  return true;
}

bool ReportWindow::confirmClose() {
  if (!wb_ || !modified_) return true;
  const QString question = QStringLiteral("Сохранить изменения в книге «%1»?").arg(name_);
  switch (prompt_ ? prompt_(question) : askToSave(this, question)) {
    case CloseAnswer::Save: {
      bool saved = false;
      guarded(errors_, [&] { saved = saveAs(); });
      return saved;
    }
    case CloseAnswer::Discard:
      return true;
    case CloseAnswer::Cancel:
      break;
  }
  return false;
}

bool ReportWindow::confirmCloseAll() {
  std::vector<ReportWindow*> confirmed;
  const std::vector<ReportWindow*> windows = openWindows();
  for (ReportWindow* w : windows) {
    // A window may have gone while an earlier question was open.
    if (std::find(openWindows().begin(), openWindows().end(), w) == openWindows().end()) continue;
    if (!w->wb_ || !w->modified_) continue;
    w->show();
    w->raise();
    w->activateWindow();
    if (!w->confirmClose()) {
      for (ReportWindow* c : confirmed)
        if (std::find(openWindows().begin(), openWindows().end(), c) != openWindows().end())
          c->closeConfirmed_ = false;
      return false;
    }
    w->closeConfirmed_ = true;
    confirmed.push_back(w);
  }
  return true;
}

void ReportWindow::closeEvent(QCloseEvent* e) {
  if (!closeConfirmed_ && !confirmClose()) {
    e->ignore();
    return;
  }
  e->accept();
  emit closed();
}

void ReportWindow::markModified() {
  closeConfirmed_ = false;
  if (modified_) return;
  modified_ = true;
  setWindowModified(true);
}

void ReportWindow::updateTitle() {
  setWindowTitle(wb_ ? name_ + QStringLiteral("[*] — отчет orefrac")
                     : QStringLiteral("Отчет orefrac"));
  setWindowModified(modified_);
}

void ReportWindow::rebuildTabs(int keep) {
  QSignalBlocker quiet(tabs_);
  while (tabs_->count() > 0) tabs_->removeTab(0);
  if (!wb_) return;
  for (const Sheet& s : wb_->sheets) tabs_->addTab(QString::fromStdString(s.name()));
  if (tabs_->count() > 0) tabs_->setCurrentIndex(std::clamp(keep, 0, tabs_->count() - 1));
}

void ReportWindow::showSheet(int sheet) {
  pendingTop_ = pendingLeft_ = pendingBottom_ = pendingRight_ = 0;
  model_->show(wb_, sheet);
}

}  // namespace ore::gui
