#include "import/source_read_back.h"

namespace ore {

void readBackSourceGrid(const TextGrid& grid, const NumberFormat& fmt, Workspace& ws) {
  ++ws.LumpDataSet;
  if (ws.PocketBasis == PocketBasis::ByParam) {
    for (int r = 1; r <= ws.LumpCount; ++r) {
      ws.Mass[r] = fmt.parseReal(grid.cell(1, r));
      ws.Content[r] = fmt.parseReal(grid.cell(2, r));
      ws.Param[r] = fmt.parseReal(grid.cell(3, r));
    }
  }
  if (ws.PocketBasis == PocketBasis::ByContent) {
    for (int r = 1; r <= ws.LumpCount; ++r) {
      ws.Mass[r] = fmt.parseReal(grid.cell(1, r));
      ws.Content[r] = fmt.parseReal(grid.cell(2, r));
    }
  }
}

}  // namespace ore
