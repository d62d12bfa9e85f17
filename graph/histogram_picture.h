#pragma once
// The histogram without windows, for orefrac-batch and for saving as SVG: one red bar per pocket
// in pocket order, each with its limit text on the axis and in a mark joined to the bar's top by
// a 20-pixel connector, an automatic count scale, the title on top.

#include <string>
#include <vector>

#include "platform/canvas.h"

namespace ore::graph {

struct HistogramBar {
  std::string label;  // the pocket's limit text as typed
  double count = 0;   // lumps in the pocket
};

inline constexpr int kHistogramWidth = 921;
inline constexpr int kHistogramHeight = 441;

// Draws on canvas (its whole surface; white is assumed underneath). Every bar is drawn; when the
// labels do not fit one per bar, one bar in each group of bars carries its label and mark, as on
// the window's axis.
void drawHistogram(Canvas& canvas, const std::vector<HistogramBar>& bars, const std::string& title);

// The same drawing as an SVG document of the given size.
std::string histogramSvg(const std::vector<HistogramBar>& bars, const std::string& title,
                         int width = kHistogramWidth, int height = kHistogramHeight);

// Writes the histogram to path as PNG, SVG or PDF, chosen by the name's ending (.png, .svg,
// .pdf, in any case). Throws ore::Error for another ending or a file that cannot be written.
void saveHistogram(const std::string& path, const std::vector<HistogramBar>& bars,
                   const std::string& title);

}  // namespace ore::graph
