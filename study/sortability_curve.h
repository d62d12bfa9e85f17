#pragma once
// Sortability curves at every lump: the tails and concentrate of a cut at each distinct key.

#include <array>
#include <cstdint>
#include <vector>

#include "data/progress.h"
#include "data/workspace.h"
#include "study/radix_sort.h"

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

// What a curve is keyed on: the content of element 1, the parameter, or the parameter negated (the
// concentrate then takes the lumps of the lower readings).
enum class CurveKey { Content, Param, NegatedParam };

// a / b, or 0 when b is 0: the rule of every figure of a cut.
inline long double quotient(long double a, long double b) {
  return b != 0 ? a / b : 0.0L;
}

// One cut per distinct key, ascending: the tails of cut v are the lumps with key <= v, the
// concentrate the others. Holds the sums of every cut in extended precision: the tails' summed in
// ascending key order, the concentrate's over its own lumps from the largest key down; lumps of
// equal key are taken in data-set order in both.
class SortabilityCurve {
 public:
  SortabilityCurve() = default;
  // Builds the curve of the lumps 1..LumpCount of ws, keyed on Content (DistributionKind::Content)
  // or Param (DistributionKind::Param), for ContentCount contents. One sort: O(n log n). Reports
  // to progress as it goes and stops when asked (WorkStopped). Throws ore::Error when there is no
  // lump, a setting is out of range (ContentCount 1..10, no DistributionKind chosen), the arrays
  // are shorter than LumpCount + 1, a key is not a finite number, or the total mass is 0 or a
  // total is beyond the range of numbers as a double (the fraction analysis's messages).
  SortabilityCurve(const Workspace& ws, Progress& progress);
  // The same curve keyed on key whatever DistributionKind says, for the contents 1..contents
  // (1..10, whatever ContentCount says); the same failures otherwise. The keys of NegatedParam
  // are the negated parameters, ascending. With order, the lumps in key order are left there too
  // (ties in data-set order), for figures of the same key that need them.
  SortabilityCurve(const Workspace& ws, CurveKey key, int contents, Progress& progress,
                   std::vector<Place>* order = nullptr);

  int contentCount() const { return C_; }
  std::size_t cutCount() const { return keys_.size(); }
  double key(std::size_t cut) const { return keys_[cut]; }
  CutFigures figures(std::size_t cut) const;
  // The concentrate's mass and metal 1..C at a cut.
  const long double* concentrateSums(std::size_t cut) const {
    return &conc_[cut * (static_cast<std::size_t>(C_) + 1)];
  }

  // The tails' mass and metal 1..C at a cut.
  const long double* tailsSums(std::size_t cut) const {
    return &tails_[cut * (static_cast<std::size_t>(C_) + 1)];
  }

  long double totalMass() const { return M_; }
  long double totalMetal(int k) const { return T_[k]; }

  // The lumps in key order (places 0..placeCount()-1): each one's mass and metal of element 1,
  // and where each cut's lumps end (one past the last place of the cut's key).
  std::size_t placeCount() const { return mass_.size(); }
  const double* placeMass() const { return mass_.data(); }
  const double* placeMetal1() const { return metal1_.data(); }
  std::size_t cutEnd(std::size_t cut) const { return static_cast<std::size_t>(cutEnd_[cut]); }
  // The lump (1..LumpCount of the data set the curve was built from) at each place.
  const std::int32_t* placeLump() const { return lump_.data(); }

 private:
  static SortabilityCurve build(const Workspace& ws, CurveKey key, int contents, Progress& progress,
                                std::vector<Place>* keepOrder);

  int C_ = 0;
  long double M_ = 0;
  std::array<long double, kMaxSortabilityContents + 1> T_{};
  std::vector<double> keys_;               // per cut
  std::vector<std::int32_t> cutEnd_;       // per cut: one past its last place in key order
  std::vector<long double> tails_, conc_;  // per cut, C + 1 sums each: mass, metal 1..C
  std::vector<double> mass_, metal1_;      // per place in key order: m and m * c_1
  std::vector<std::int32_t> lump_;         // per place in key order: the lump's number
};

inline SortabilityCurve sortabilityCurve(const Workspace& ws, Progress& progress) {
  return SortabilityCurve(ws, progress);
}

}  // namespace ore::study
