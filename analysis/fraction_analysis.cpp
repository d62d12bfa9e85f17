#include "analysis/fraction_analysis.h"

#include "data/errors.h"

namespace ore::analysis {

AnalysisOutcome runFractionAnalysis(Workspace&, const TextGrid&, TextGrid&, const NumberFormat&,
                                    AnalysisView&) {
  throw Error("Расчет пока не реализован");
}

}  // namespace ore::analysis
