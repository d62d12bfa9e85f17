#include "graph/span_rule.h"

namespace ore::graph {

std::vector<Span> deriveSpans(const Picture& picture) {
  std::vector<Span> spans;
  for (int y = 0; y < picture.height(); ++y) {
    int x = 0;
    while (x < picture.width()) {
      if (!isInk(picture.pixel(x, y))) {
        ++x;
        continue;
      }
      int start = x;
      while (x < picture.width() && isInk(picture.pixel(x, y))) ++x;
      spans.push_back({start, x, y});
    }
  }
  return spans;
}

}  // namespace ore::graph
