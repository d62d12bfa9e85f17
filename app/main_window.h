#pragma once
// TForm1, "Программа": the main window with its menu, the source-data grid and "Перевести данные".

#include <QGroupBox>
#include <QMainWindow>
#include <QPushButton>

#include "import/source_window.h"
#include "platform/gui/open_file_dialog.h"
#include "platform/gui/string_grid.h"
#include "platform/gui/window_context.h"

class QAction;
class QFileDialog;

namespace ore::gui {

class TForm1 : public QMainWindow, public SourceWindow {
  Q_OBJECT
 public:
  explicit TForm1(WindowContext& ctx);

  // Used by the workbook import.
  void showButton3() override { Button3->show(); }
  void showGroupBox1() override { GroupBox1->show(); }
  // Draws "<LumpCount>  количество точек" at (10, 15) of the client area.
  void drawCountText(const std::string& text) override;
  const QString& countText() const { return countText_; }
  TextGrid& sourceGrid() override { return StringGrid1->grid(); }
  // The file-open dialog of the import: the chosen file, or empty when the user cancels.
  // Tests replace it through setOpenFileChooser.
  std::string chooseFileToOpen() override;
  void setOpenFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }
  // Asked before the window closes (and the program with it); false keeps it open.
  void setCloseCheck(std::function<bool()> check) { closeCheck_ = std::move(check); }

  void N2Click();
  void N5Click();
  void N7Click();
  void Button3Click();

  QAction* N2 = nullptr;
  QAction* N5 = nullptr;
  QAction* N7 = nullptr;
  // "Анализ" > "Кривые обогатимости по кускам"; app/ connects it to the sortability window.
  QAction* NSortability = nullptr;
  // "Анализ" > "Исследование сортировки"; app/ connects it to the study window.
  QAction* NStudy = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QPushButton* Button3 = nullptr;

 signals:
  void openSourceDataRequested();  // "Открыть исходные данные"
  void distributionRequested();    // "Перевести данные", from the menu or the button

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  WindowContext& ctx_;
  QWidget* client_ = nullptr;
  QString countText_;
  std::function<std::string()> chooser_;
  std::function<bool()> closeCheck_;
  OpenFileDialog OpenDialog1;
};

}  // namespace ore::gui
