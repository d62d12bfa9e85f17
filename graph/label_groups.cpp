#include "graph/label_groups.h"

#include <algorithm>

namespace ore::graph {

int labelGroupSize(int slots, const std::function<bool(int size)>& fits) {
  slots = std::max(slots, 1);
  for (int size = 1;; size += 2)
    if (size >= slots || fits(size)) return std::min(size, slots);
}

std::vector<int> labelledBars(int shown, int slots, int size) {
  std::vector<int> out;
  if (size < 1) return out;
  for (int end = size; end <= slots; end += size) {
    const int middle = end - size + size / 2;
    if (middle >= shown) break;
    out.push_back(middle);
  }
  return out;
}

}  // namespace ore::graph
