#pragma once
// TForm2, "Параметры расчета 1": the calculation parameters dialog.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm2 : public Form {
  Q_OBJECT
 public:
  explicit TForm2(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
