#include "batch/batch_run.h"
#include "graph/bmp_file.h"
#include "graph/diagram_painter.h"
#include "graph/pixel_canvas.h"

namespace ore::batch {

// The window's drawing from the same results grid, on the core's pixel canvas (which draws the
// same pixels as the window's), saved as a 24-bit BMP under exactly the given name. A paint
// that fails writes no file: the message goes to standard error as the window would show it.
void graphStage(const Options& options, BatchState& state) {
  Workspace ws = state.ws;
  ws.ShowGraph4 = options.noGraph4 ? ShowGraph4::Hide : ShowGraph4::Show;
  const std::string point = options.point.value_or("2");
  graph::GraphFields fields;
  fields.fillSpanTables();
  graph::PixelCanvas canvas(graph::kDiagramWidth, graph::kDiagramHeight);
  graph::paintDiagram(canvas, graph::DiagramSource{state.results, ws, point, state.fmt}, fields);
  graph::writeBmp(*options.graphFile, canvas.picture());
}

}  // namespace ore::batch
