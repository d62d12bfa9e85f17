#pragma once
// TForm5, "Гистограмма": the histogram of lumps per pocket.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm5 : public Form {
  Q_OBJECT
 public:
  explicit TForm5(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
