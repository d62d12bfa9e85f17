#include "graph/graph_window.h"

namespace ore::gui {

TForm8::TForm8(AppContext& ctx) : Form("TForm8", "График", 689, 688), ctx_(ctx) {}

}  // namespace ore::gui
