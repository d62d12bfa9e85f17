#pragma once
// TForm1, "Программа": the main window with its menu, the source-data grid and "Перевести данные".

#include <QGroupBox>
#include <QMainWindow>
#include <QPushButton>

#include "app/app_context.h"
#include "platform/gui/open_file_dialog.h"
#include "platform/gui/string_grid.h"

class QAction;
class QFileDialog;

namespace ore::gui {

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(AppContext& ctx);

  // Used by the workbook import.
  void showButton3() { Button3->show(); }
  void showGroupBox1() { GroupBox1->show(); }
  // Draws "<LumpCount>  количество точек" at (10, 15) of the client area.
  void drawCountText(const std::string& text);
  const QString& countText() const { return countText_; }
  // The file-open dialog of the import: the chosen file, or empty when the user cancels.
  // Tests replace it through setOpenFileChooser.
  std::string chooseFileToOpen();
  void setOpenFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }

  void N2Click();
  void N5Click();
  void N7Click();
  void Button3Click();

  QAction* N2 = nullptr;
  QAction* N5 = nullptr;
  QAction* N7 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QPushButton* Button3 = nullptr;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  AppContext& ctx_;
  QWidget* client_ = nullptr;
  QString countText_;
  std::function<std::string()> chooser_;
  OpenFileDialog OpenDialog1;
};

}  // namespace ore::gui
