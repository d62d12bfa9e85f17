#include "results/histogram_window.h"

namespace ore::gui {

TForm5::TForm5(AppContext& ctx) : Form("TForm5", "Гистограмма", 957, 534), ctx_(ctx) {}

}  // namespace ore::gui
