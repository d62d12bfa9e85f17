#pragma once
// Sortability curves at every lump: the tails and concentrate of a cut at each distinct key, the
// best cut by separation efficiency, and bootstrap intervals that say how sure that cut is.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/number_format.h"
#include "data/workspace.h"

namespace ore::study {

inline constexpr int kMaxSortabilityContents = 10;

// What a sorting at one cut gives. Per cent throughout; contents and recoveries are indexed by
// content k = 1..C (element 0 unused). A quotient whose divisor is 0 is 0.
struct CutFigures {
  double key = 0;
  long double tailsYield = 0;
  std::array<long double, kMaxSortabilityContents + 1> tailsContent{};
  std::array<long double, kMaxSortabilityContents + 1> tailsRecovery{};
  long double concentrateYield = 0;
  std::array<long double, kMaxSortabilityContents + 1> concentrateContent{};
  std::array<long double, kMaxSortabilityContents + 1> concentrateRecovery{};
  // Concentrate recovery of element 1 minus concentrate yield, in percentage points.
  long double efficiency() const { return concentrateRecovery[1] - concentrateYield; }
};

// One cut per distinct key, ascending: the tails of cut v are the lumps with key <= v, the
// concentrate the others. Holds the sums of every cut in extended precision: the tails' summed in
// ascending key order, the concentrate's over its own lumps from the largest key down; lumps of
// equal key are taken in data-set order in both.
class SortabilityCurve {
 public:
  int contentCount() const { return C_; }
  std::size_t cutCount() const { return keys_.size(); }
  double key(std::size_t cut) const { return keys_[cut]; }
  CutFigures figures(std::size_t cut) const;
  // The concentrate's mass and metal 1..C at a cut.
  const long double* concentrateSums(std::size_t cut) const {
    return &conc_[cut * (static_cast<std::size_t>(C_) + 1)];
  }

  long double totalMass() const { return M_; }
  long double totalMetal(int k) const { return T_[k]; }

 private:
  friend SortabilityCurve sortabilityCurve(const Workspace& ws);
  friend struct BootstrapWalk;
  friend struct BootstrapResult bootstrapBestCut(const SortabilityCurve&, const struct BestCut&,
                                                 const struct BootstrapSettings&);

  int C_ = 0;
  long double M_ = 0;
  std::array<long double, kMaxSortabilityContents + 1> T_{};
  std::vector<double> keys_;               // per cut
  std::vector<std::int32_t> cutEnd_;       // per cut: one past its last place in key order
  std::vector<long double> tails_, conc_;  // per cut, C + 1 sums each: mass, metal 1..C
  std::vector<double> mass_, metal1_;      // per place in key order: m and m * c_1
};

// Builds the curve of the lumps 1..LumpCount of ws, keyed on Content (DistributionKind::Content) or
// Param (DistributionKind::Param), for ContentCount contents. One sort: O(n log n). Throws
// ore::Error when there is no lump, a setting is out of range (ContentCount 1..10, no
// DistributionKind chosen), the arrays are shorter than LumpCount + 1, a key is not a finite
// number, or the total mass is 0 or a total is beyond the range of numbers (the fraction
// analysis's messages).
SortabilityCurve sortabilityCurve(const Workspace& ws);

// The cut with the largest separation efficiency, ties settled as study/figure_rules.h says
// (the smallest key of those equal to the largest). With minGrade, only the cuts whose concentrate
// content of element 1 as written is at least minGrade take part; throws ore::Error naming
// minGrade (written with fmt) when none does.
struct BestCut {
  std::size_t cut = 0;
  CutFigures figures;
};
BestCut bestCut(const SortabilityCurve& curve, std::optional<double> minGrade,
                const NumberFormat& fmt);

struct BootstrapSettings {
  int resamples = 1000;
  std::uint64_t seed = 1;
  unsigned threads = 0;  // 0: one per processor
  std::optional<double> minGrade;
};

// How sure the best cut is, from resamples of the lumps drawn with replacement. Each resample's
// generator is seeded from (seed, resample number) alone, so the result does not depend on the
// number of threads. The intervals are nearest-rank percentiles of the sorted resample values:
// the ceil(0.025 B)-th and the ceil(0.975 B)-th of B (the 25th and 975th of 1000). Each
// resample's best cut follows the rules of bestCut. Throws ore::Error, in the curve's words for
// totals beyond the range of numbers, when a resample's totals could pass that range.
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
BootstrapResult bootstrapBestCut(const SortabilityCurve& curve, const BestCut& best,
                                 const BootstrapSettings& settings);

}  // namespace ore::study
