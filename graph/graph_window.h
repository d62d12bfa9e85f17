#pragma once
// TForm8, "График": the separation diagram and its bitmap.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm8 : public Form {
  Q_OBJECT
 public:
  explicit TForm8(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
