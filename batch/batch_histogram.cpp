#include "batch/batch_run.h"
#include "graph/histogram_picture.h"

namespace ore::batch {

// The histogram window's bars (lumps per pocket, labelled with the limit texts) as a picture;
// the file's ending chooses PNG, SVG or PDF.
void histogramStage(const Options& options, BatchState& state) {
  std::vector<graph::HistogramBar> bars;
  bars.reserve(state.histogram.size());
  for (const analysis::HistogramPoint& p : state.histogram) bars.push_back({p.label, p.y});
  graph::saveHistogram(*options.histogramFile, bars, "Гистограмма");
}

}  // namespace ore::batch
