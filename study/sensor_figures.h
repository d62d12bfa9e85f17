#pragma once
// The sensor against the assay, without the curves: how well the sensor's reading predicts the
// content (a least-squares line and Spearman's rank correlation), and how well a sensor cut tells
// ore from waste for a cut-off grade (the ROC curve, its areas and Youden's cut).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/progress.h"
#include "study/radix_sort.h"

namespace ore::study {

// Which lumps a sensor cut v sends to the concentrate: Above, those with p > v; Below, those with
// p < v (the curve keyed on -p, its cuts written as parameter values).
enum class ConcentrateSide { Above, Below };

// The content y against the parameter x over all lumps, unweighted, in extended precision.
struct Calibration {
  bool lineDefined = false;  // Sxx != 0
  long double slope = 0, intercept = 0;
  bool r2Defined = false;  // Sxx != 0 and Syy != 0
  long double r2 = 0;
  bool spearmanDefined = false;  // neither all x nor all y tied
  long double spearman = 0;
};

// x[1..n] and y[1..n] (element 0 unused, as in the lump arrays). Both must be finite.
Calibration calibrate(const double* x, const double* y, std::int32_t n, Progress& progress);
// The same from the lumps already sorted: xOrder ascending in x (or, with xDescending, in -x),
// yOrder ascending in y, as radix_sort.h sorts them.
Calibration calibrate(const double* x, const double* y, std::int32_t n,
                      const std::vector<Place>& xOrder, bool xDescending,
                      const std::vector<Place>& yOrder, Progress& progress);

// One point of the ROC curve: the shares (0..1) of the ore and of the waste that a cut accepts,
// by count and by mass.
struct RocPoint {
  double cut = 0;                                      // the sensor cut as a parameter value
  long double orePassed = 0, wastePassed = 0;          // by count: TPR, FPR
  long double oreMassPassed = 0, wasteMassPassed = 0;  // by mass
};

// The sensor cuts of a ROC curve with what each accepts, kept as counts and sums so that a
// million cuts cost 48 bytes each; the shares are formed when a point is asked for.
class RocCurve {
 public:
  RocCurve() = default;
  RocCurve(std::int64_t ore, std::int64_t waste, long double oreMass, long double wasteMass)
      : ore_(ore), waste_(waste), oreMass_(oreMass), wasteMass_(wasteMass) {}
  // A cut and what it accepts: ore and waste lumps, ore and waste mass.
  void add(double cut, std::int32_t oreIn, std::int32_t wasteIn, long double oreMassIn,
           long double wasteMassIn);
  std::size_t size() const { return cut_.size(); }
  RocPoint point(std::size_t i) const;

 private:
  std::int64_t ore_ = 0, waste_ = 0;
  long double oreMass_ = 0, wasteMass_ = 0;
  std::vector<double> cut_;
  std::vector<std::int32_t> oreIn_, wasteIn_;
  std::vector<long double> oreMassIn_, wasteMassIn_;
};

struct OreWaste {
  double cutoffGrade = 0;
  std::int64_t oreLumps = 0, lumps = 0;
  long double oreMassShare = 0;  // per cent of the total mass
  // One point per sensor cut in ascending key order (for Below: descending parameter), the last
  // being the top cut's (0, 0); the point (1, 1) of everything accepted comes before them.
  RocCurve roc;
  bool defined = false;  // ore and waste both present; otherwise the figures below are 0
  long double aucCount = 0;
  bool aucMassDefined = false;  // ore and waste both of some mass
  long double aucMass = 0;
  double youdenCut = 0;
  long double sensitivity = 0, specificity = 0;  // per cent, at Youden's cut
};

// The lumps 1..n with parameter p, mass m and content c (element 0 unused); lump i is ore when
// c[i] >= grade. The sums of the masses are taken from the top cut down, in extended precision;
// the areas by count are exact quotients of whole numbers. Youden's cut: the largest TPR - FPR
// by count, figures within 1e-12 of the larger counting as equal, the first in key order winning.
OreWaste oreWaste(const double* p, const double* m, const double* c, std::int32_t n,
                  ConcentrateSide side, double grade, Progress& progress);
// The same from the lumps already sorted in the key order of side (ascending p, or -p for Below).
OreWaste oreWaste(const std::vector<Place>& order, const double* m, const double* c,
                  ConcentrateSide side, double grade, Progress& progress);

}  // namespace ore::study
