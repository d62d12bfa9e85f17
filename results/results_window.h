#pragma once
// TForm4, "Результат": the results grid, report and graph options.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm4 : public Form {
  Q_OBJECT
 public:
  explicit TForm4(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
