#pragma once
// TForm3, "Параметры расчета 2": the pocket limits table; "Далее" runs the fraction analysis.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm3 : public Form {
  Q_OBJECT
 public:
  explicit TForm3(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
