#include "setup/calc_params_dialog.h"

namespace ore::gui {

TForm2::TForm2(AppContext& ctx) : Form("TForm2", "Параметры расчета 1", 369, 221), ctx_(ctx) {}

}  // namespace ore::gui
