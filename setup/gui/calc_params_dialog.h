#pragma once
// TForm2, "Параметры расчета 1": the calculation parameters dialog; takes the table precision and
// the number of pockets, prepares the pocket table and opens the pocket parameters window.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/app_context.h"
#include "platform/gui/form.h"

namespace ore::gui {

class TForm2 : public Form {
  Q_OBJECT
 public:
  explicit TForm2(AppContext& ctx);

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
  AppContext& ctx_;
};

}  // namespace ore::gui
