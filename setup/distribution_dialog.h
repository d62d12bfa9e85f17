#pragma once
// TForm7, "Условие расчета 1": the distribution condition dialog.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm7 : public Form {
  Q_OBJECT
 public:
  explicit TForm7(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
