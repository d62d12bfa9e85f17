#include "setup/distribution_dialog.h"

namespace ore::gui {

TForm7::TForm7(AppContext& ctx) : Form("TForm7", "Условие расчета 1", 258, 178), ctx_(ctx) {}

}  // namespace ore::gui
