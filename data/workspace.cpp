#include "data/workspace.h"

namespace ore {

void Workspace::resizeLumps(std::int32_t n) {
  size_t size = n < 0 ? 1 : static_cast<size_t>(n) + 1;
  Mass.resize(size);
  Content.resize(size);
  Param.resize(size);
  for (int k = 1; k <= 9; ++k) ExtraContents[k].resize(size);
  ++LumpDataSet;
}

}  // namespace ore
