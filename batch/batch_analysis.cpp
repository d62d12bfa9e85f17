#include "analysis/fraction_analysis.h"
#include "batch/batch_run.h"
#include "data/errors.h"
#include "data/precision.h"
#include "results/results_header.h"
#include "setup/pocket_table.h"

namespace ore::batch {

namespace {

// "L1;L2;..." as the texts of the limit cells; an empty text gives no pocket at all.
std::vector<std::string> splitLimits(const std::string& text) {
  std::vector<std::string> limits;
  if (text.empty()) return limits;
  size_t start = 0;
  while (true) {
    size_t semi = text.find(';', start);
    limits.push_back(text.substr(start, semi == std::string::npos ? semi : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return limits;
}

}  // namespace

void analysisStage(const Options& options, BatchState& state) {
  Workspace& ws = state.ws;
  const std::vector<std::string> limits = splitLimits(options.limits.value_or(""));
  const int P = static_cast<int>(limits.size());

  // What the distribution dialog's radio buttons and the calculation dialog's OK store, and the
  // pocket table as that OK prepares it, with the limits typed in. The OK's refusals come first,
  // in the dialog's own words.
  checkPrecisionText(options.precision);
  setup::checkPocketCount(P);
  ws.DistributionKind = options.distributionKind;
  ws.PocketBasis = options.pocketBasis;
  ws.PrecisionText = options.precision;
  ws.PocketCount = P;
  TextGrid& table = state.pocketTable;
  setup::preparePocketTable(table, P, state.fmt);
  for (int r = 1; r <= P; ++r) table.setCell(1, r, limits[r - 1]);

  analysis::AnalysisView noWindows;
  analysis::AnalysisOutcome outcome =
      analysis::runFractionAnalysis(ws, table, state.results, state.fmt, noWindows);
  // The results window's timer writes the header row after the run has sized the grid.
  results::writeResultsHeader(state.results, ws.ContentCount);
  state.label = outcome.label;
  state.histogram = std::move(outcome.histogram);
}

}  // namespace ore::batch
