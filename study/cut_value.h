#pragma once
// What a cut is worth: the value of a tonne of feed sorted at each cut of a sortability curve, from
// the prices of the elements, the plant's recoveries and the costs per tonne.

#include <array>
#include <cstddef>
#include <vector>

#include "data/number_format.h"
#include "data/workspace.h"
#include "study/cut_limits.h"
#include "study/sortability_curve.h"

namespace ore::study {

// Prices per tonne of an element, plant recoveries in per cent and costs per tonne, for elements
// k = 1..C (element 0 unused). Masses count only as shares: every value is per tonne of feed.
struct ValueInputs {
  std::array<double, kMaxSortabilityContents + 1> price{};  // P_k, 0 when not given
  std::array<double, kMaxSortabilityContents + 1> plantRecovery = filled(100);  // R_k, per cent
  double costProcess = 0;  // per tonne of concentrate processed
  double costReject = 0;   // per tonne of tails rejected
  double costSort = 0;     // per tonne of feed sorted

  // What a tonne of element k in the concentrate brings: P_k R_k / 100 / 100 (contents are per
  // cent), in extended precision.
  long double factor(int k) const {
    return static_cast<long double>(price[k]) * plantRecovery[k] / 100 / 100;
  }

 private:
  static std::array<double, kMaxSortabilityContents + 1> filled(double v) {
    std::array<double, kMaxSortabilityContents + 1> a;
    a.fill(v);
    return a;
  }
};

// The value per tonne of feed sorted at cut g: (sum f_k Q_c,k - C_p W_c - C_r W_t) / M - C_s, from
// the curve's concentrate and tails sums, in extended precision.
long double cutValue(const SortabilityCurve& curve, const ValueInputs& inputs, std::size_t cut);
// Without sorting, everything processed: (sum f_k T_k - C_p M) / M.
long double valueWithoutSorting(const SortabilityCurve& curve, const ValueInputs& inputs);

struct BestValueCut {
  std::size_t cut = 0;
  CutFigures figures;
  long double value = 0;           // V at the cut
  long double withoutSorting = 0;  // V0
  long double gain() const { return value - withoutSorting; }
  // Sorting pays only for a gain above 0.
  bool pays() const { return gain() > 0; }
};

// The cut of the largest value, every cut of the curve taking part (the top one, nothing kept in
// the concentrate, too), ties settled as study/figure_rules.h says, only the cuts meeting limits
// taking part. O(cuts). Throws ore::Error naming the limits when no cut meets them.
BestValueCut bestValueCut(const SortabilityCurve& curve, const ValueInputs& inputs,
                          const CutLimits& limits, const NumberFormat& fmt);

// Each place's worth in the concentrate before costs, sum f_k m c_k, in the curve's key order:
// what the bootstrap weighs. ws must hold the lumps the curve was built from.
std::vector<double> placeValues(const SortabilityCurve& curve, const Workspace& ws,
                                const ValueInputs& inputs);

}  // namespace ore::study
