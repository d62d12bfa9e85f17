#pragma once
// TForm2, "Параметры расчета 1": the calculation parameters dialog; takes the table precision and
// the number of pockets, prepares the pocket table and opens the pocket parameters window.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/gui/form.h"
#include "platform/gui/string_grid.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm2 : public Form {
  Q_OBJECT
 public:
  explicit TForm2(WindowContext& ctx);

  // The pocket parameters window OK brings up and its table it prepares; app/ sets them.
  void setPocketWindow(QWidget* window, StringGrid* table) {
    pocketWindow_ = window;
    pocketTable_ = table;
  }

  void Button1Click();
  void Button2Click();

  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  WindowContext& ctx_;
  QWidget* pocketWindow_ = nullptr;
  StringGrid* pocketTable_ = nullptr;
};

}  // namespace ore::gui
