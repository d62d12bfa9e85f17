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
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/gui/busy_cursor.h"
#include "platform/gui/sheet_model.h"
#include "platform/gui/spill_delegate.h"
#include "platform/spreadsheet/report_window_cells.h"
#include "platform/workbook/xlsx/xlsx_writer.h"

namespace ore::gui {

namespace {
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

  setWorkbook(nullptr, {});
}

ReportWindow::~ReportWindow() = default;

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
  {
    BusyCursor busy;
    writeXlsx(*wb_, path);
  }
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

bool ReportWindow::confirmCloseAll(const std::vector<ReportWindow*>& windows) {
  // A window may go while an earlier question is open.
  const std::vector<QPointer<ReportWindow>> live(windows.begin(), windows.end());
  std::vector<QPointer<ReportWindow>> confirmed;
  for (const QPointer<ReportWindow>& w : live) {
    if (!w || !w->wb_ || !w->modified_) continue;
    w->show();
    w->raise();
    w->activateWindow();
    if (!w->confirmClose()) {
      for (const QPointer<ReportWindow>& c : confirmed)
        if (c) c->closeConfirmed_ = false;
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
