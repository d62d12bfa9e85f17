#pragma once
// The sensor against the assay: sorting on the sensor's reading beside sorting on the content, the
// ideal; how much of the ideal's separation the sensor gives; how well its reading predicts the
// content; and, for a cut-off grade, how well its cuts tell ore from waste.

#include <cstddef>
#include <optional>

#include "data/progress.h"
#include "data/workspace.h"
#include "study/best_cut.h"
#include "study/sensor_figures.h"
#include "study/sortability_curve.h"

namespace ore::study {

struct SensorSettings {
  ConcentrateSide side = ConcentrateSide::Above;
  std::optional<double> cutoffGrade;  // the ore and waste figures only with one
};

struct SensorStudy {
  ConcentrateSide side = ConcentrateSide::Above;
  // Curves of element 1: the sensor's keyed on the parameter (Above) or on the parameter negated
  // (Below), the ideal's on the content. Both ascending in their keys.
  SortabilityCurve sensor, ideal;
  BestCut sensorBest, idealBest;   // by E, the first in key order of equal ones
  bool efficiencyDefined = false;  // the ideal's best E is above 0
  long double efficiency = 0;      // 100 * E of the sensor / E of the ideal
  Calibration calibration;
  std::optional<OreWaste> oreWaste;  // with a cut-off grade

  // A cut of the sensor curve as a parameter value: the key, negated back for Below.
  double sensorCut(std::size_t cut) const {
    const double key = sensor.key(cut);
    return (side == ConcentrateSide::Below ? -key : key) + 0.0;
  }
  double sensorBestCut() const { return sensorCut(sensorBest.cut); }
};

// Everything above from the lumps 1..LumpCount of ws (Mass, Content, Param), whatever
// DistributionKind says. O(n log n) (the sorts are linear). Reports to progress as it goes and
// stops when asked (WorkStopped). Throws ore::Error as SortabilityCurve does: no lump, arrays short
// of LumpCount + 1, a parameter or content that is not a finite number, a total mass of 0.
SensorStudy sensorStudy(const Workspace& ws, const SensorSettings& settings, Progress& progress);

}  // namespace ore::study
