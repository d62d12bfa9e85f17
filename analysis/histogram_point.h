#pragma once
// One bar of the histogram an analysis run hands to the histogram window.

#include <cstdint>
#include <string>

namespace ore::analysis {

struct HistogramPoint {
  double x = 0;
  double y = 0;
  std::string label;
  std::uint32_t rgb = 0xFF0000;  // pure red
};

}  // namespace ore::analysis
