#pragma once
// Which bars of a bar chart carry a label when the labels do not fit one per bar: the bars go in
// groups of an odd size, so that a group has a middle bar, and the middle bar of every whole group
// is labelled. The histogram window's axis and the histogram pictures follow this one rule.

#include <functional>
#include <vector>

namespace ore::graph {

// The smallest odd group size for which fits(size) holds; slots (at least 1) when no smaller size
// fits, so that one label at most is left.
int labelGroupSize(int slots, const std::function<bool(int size)>& fits);

// The labelled bars, left to right: the middle bar of every whole group of size places among
// slots places, as long as it is one of the first shown bars.
std::vector<int> labelledBars(int shown, int slots, int size);

}  // namespace ore::graph
