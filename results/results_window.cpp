#include "results/results_window.h"

namespace ore::gui {

TForm4::TForm4(AppContext& ctx) : Form("TForm4", "Результат", 984, 437), ctx_(ctx) {}

}  // namespace ore::gui
