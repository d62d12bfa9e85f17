#pragma once
// The window of one report spreadsheet application: its workbook's sheets as tabs over a grid
// that fills as the report is written. The user switches sheets, edits cells and saves the
// workbook as .xlsx; the program never saves it by itself, and closing an unsaved workbook asks.

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <vector>

#include "data/number_format.h"
#include "platform/gui/error_box.h"
#include "platform/workbook/workbook.h"

class QAction;
class QTabBar;
class QTableView;
class QTimer;

namespace ore::gui {

class SheetModel;

class ReportWindow : public QMainWindow {
  Q_OBJECT
 public:
  enum class CloseAnswer { Save, Discard, Cancel };
  // Test seams: the file-save dialog (returns the chosen file, empty when cancelled) and the
  // question asked before an unsaved workbook is closed.
  using SaveChooser = std::function<QString(const QString& suggested)>;
  using ClosePrompt = std::function<CloseAnswer(const QString& question)>;

  ReportWindow(ErrorBox& errors, const NumberFormat& fmt, QWidget* parent = nullptr);
  ~ReportWindow() override;

  // The workbook shown, owned by the application object (nullptr while it holds none), and its
  // name for the title ("Книга1"). The workbook must outlive the window or be replaced first.
  void setWorkbook(Workbook* wb, const QString& name);
  Workbook* workbook() const { return wb_; }
  QString workbookName() const { return name_; }
  // Written or edited since the last save (or since it was set, for a workbook with cells).
  bool isModified() const { return modified_; }
  // The sheet shown, an index into workbook()->sheets; -1 without sheets.
  int activeSheet() const;

  // "Сохранить как…": asks for a file (".xlsx" is added when no extension was typed) and saves
  // the whole workbook there. False when the user cancels; throws ore::Error when it fails.
  bool saveAs();
  // Asks whether to save an unsaved workbook: true when the window may close (saved, or not to
  // be saved), false for Отмена or a save that failed or was cancelled.
  bool confirmClose();
  // For the program's close: asks every one of windows with an unsaved workbook in turn (one that
  // has gone meanwhile is passed over). False as soon as one answer keeps its window open; the
  // program must then stay open.
  static bool confirmCloseAll(const std::vector<ReportWindow*>& windows);

  void setSaveFileChooser(SaveChooser chooser) { chooser_ = std::move(chooser); }
  void setClosePrompt(ClosePrompt prompt) { prompt_ = std::move(prompt); }

  QTableView* grid() const { return view_; }
  QTabBar* sheetTabs() const { return tabs_; }
  QAction* saveAsAction() const { return saveAs_; }

 public slots:
  // A cell of sheet (index into workbook()->sheets) at (row, col), numbered from 1, was written.
  // Repaints are coalesced; a long burst still shows progress about ten times a second.
  void cellWritten(int sheet, int row, int col);
  // Sheets were added, removed or renamed, or the workbook was replaced: re-reads it all.
  void workbookChanged();
  // The application made another sheet active: shows it without emitting activeSheetChosen.
  void setActiveSheet(int sheet);
  // Shows the pending cell writes now.
  void flush();

 signals:
  // The user chose another sheet tab; the application should make that sheet active.
  void activeSheetChosen(int sheet);
  // The window was closed by the user (after the question, if any).
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void markModified();
  void updateTitle();
  void rebuildTabs(int keep);
  void showSheet(int sheet);

  ErrorBox& errors_;
  const NumberFormat& fmt_;
  Workbook* wb_ = nullptr;
  QString name_;
  bool modified_ = false;
  bool closeConfirmed_ = false;

  SheetModel* model_ = nullptr;
  QTableView* view_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QAction* saveAs_ = nullptr;
  QTimer* flushTimer_ = nullptr;
  QElapsedTimer sinceFlush_;
  int pendingTop_ = 0, pendingLeft_ = 0, pendingBottom_ = 0, pendingRight_ = 0;

  SaveChooser chooser_;
  ClosePrompt prompt_;
};

}  // namespace ore::gui
