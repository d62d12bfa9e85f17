#include "import/import_dialog.h"

namespace ore::gui {

TForm6::TForm6(AppContext& ctx) : Form("TForm6", "Загрузка файла", 599, 353), ctx_(ctx) {}

}  // namespace ore::gui
