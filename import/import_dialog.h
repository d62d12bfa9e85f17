#pragma once
// TForm6, "Загрузка файла": the import settings dialog.

#include "app/app_context.h"
#include "platform/form.h"

namespace ore::gui {

class TForm6 : public Form {
  Q_OBJECT
 public:
  explicit TForm6(AppContext& ctx);

 private:
  AppContext& ctx_;
};

}  // namespace ore::gui
