#include "analysis/pocket_window.h"

namespace ore::gui {

TForm3::TForm3(AppContext& ctx) : Form("TForm3", "Параметры расчета 2", 345, 468), ctx_(ctx) {}

}  // namespace ore::gui
