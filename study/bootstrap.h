#pragma once
// How sure the best cut is: bootstrap intervals from resamples of the lumps.

#include <cstdint>
#include <optional>

#include "data/progress.h"
#include "study/best_cut.h"
#include "study/cut_value.h"
#include "study/sortability_curve.h"

namespace ore::study {

struct BootstrapSettings {
  int resamples = 1000;
  std::uint64_t seed = 1;
  unsigned threads = 0;  // 0: one per processor
  std::optional<double> minGrade;
  // Further limits each resample's own best cut keeps to: those on element 1 and on the yield (a
  // resample weighs no other element); with minGrade set, limits.minGrade is not looked at.
  CutLimits limits;
};

// How sure the best cut is, from resamples of the lumps drawn with replacement. Each resample's
// generator is seeded from (seed, resample number) alone, so the result does not depend on the
// number of threads. The intervals are nearest-rank percentiles of the sorted resample values:
// the ceil(0.025 B)-th and the ceil(0.975 B)-th of B (the 25th and 975th of 1000).
struct BootstrapResult {
  int resamples = 0;
  // Concentrate recovery of element 1 and concentrate yield at the best cut's key.
  long double recoveryLow = 0, recoveryHigh = 0;
  long double yieldLow = 0, yieldHigh = 0;
  // Resamples whose own best cut lies within |key| * 10 % of the best cut's key (a key of 0
  // admits only 0); a resample with no cut reaching minGrade never counts.
  int within = 0;
  double withinShare() const { return resamples ? 100.0 * within / resamples : 0; }
};

// Each resample's best cut follows the rules of bestCut. Reports the resamples done to progress
// (from the calling thread) and stops when asked (WorkStopped). Throws ore::Error, in the curve's
// words for totals beyond the range of numbers, when a resample's totals could pass that range.
BootstrapResult bootstrapBestCut(const SortabilityCurve& curve, const BestCut& best,
                                 const BootstrapSettings& settings, Progress& progress);

// How sure the value of a cut is: V at the cut's key in each resample, drawn as bootstrapBestCut
// draws them (the same resamples for the same seed), its interval the same nearest ranks.
// placeValue is placeValues() of the curve. Reports, stops and fails as bootstrapBestCut does.
struct ValueInterval {
  int resamples = 0;
  long double low = 0, high = 0;
};
ValueInterval bootstrapCutValue(const SortabilityCurve& curve, std::size_t cut,
                                const std::vector<double>& placeValue, const ValueInputs& inputs,
                                const BootstrapSettings& settings, Progress& progress);

}  // namespace ore::study
