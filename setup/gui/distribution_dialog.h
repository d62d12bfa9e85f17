#pragma once
// TForm7, "Условие расчета 1": the distribution condition dialog; chooses whether the pockets are
// formed over the content or over the parameter (DistributionKind).

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "platform/gui/form.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm7 : public Form {
  Q_OBJECT
 public:
  explicit TForm7(WindowContext& ctx);

  void RadioButton1Click();
  void RadioButton2Click();
  void Button1Click();
  void Button2Click();

  QGroupBox* GroupBox1 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 signals:
  void accepted();  // "Принять>>>": the calculation parameters come next

 private:
  WindowContext& ctx_;
};

}  // namespace ore::gui
