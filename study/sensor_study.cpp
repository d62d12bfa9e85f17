#include "study/sensor_study.h"

#include <cstdint>

#include "data/number_format.h"

namespace ore::study {

namespace {

// One piece of a longer work: its own done-of-total becomes the share from..to of the whole's,
// and a stop asked of the whole reaches it at its next report.
class StageProgress : public Progress {
 public:
  static constexpr std::uint64_t kWhole = 1000000;

  StageProgress(Progress& whole, double from, double to) : whole_(whole), from_(from), to_(to) {
    whole_.report(static_cast<std::uint64_t>(from_ * kWhole), kWhole);
    whole_.checkStop();
  }

 protected:
  void reported() override {
    whole_.report(static_cast<std::uint64_t>((from_ + fraction() * (to_ - from_)) * kWhole),
                  kWhole);
    if (whole_.stopRequested()) requestStop();
  }

 private:
  Progress& whole_;
  double from_, to_;
};

}  // namespace

SensorStudy sensorStudy(const Workspace& ws, const SensorSettings& settings, Progress& progress) {
  SensorStudy s;
  s.side = settings.side;
  // Shares of the whole by the passes over the lumps each piece makes.
  {
    StageProgress stage(progress, 0, 0.3);
    s.sensor = SortabilityCurve(
        ws, settings.side == ConcentrateSide::Below ? CurveKey::NegatedParam : CurveKey::Param, 1,
        stage);
  }
  {
    StageProgress stage(progress, 0.3, 0.6);
    s.ideal = SortabilityCurve(ws, CurveKey::Content, 1, stage);
  }
  // No minimum content: the format only words a refusal that cannot come.
  const NumberFormat fmt;
  s.sensorBest = bestCut(s.sensor, std::nullopt, fmt);
  s.idealBest = bestCut(s.ideal, std::nullopt, fmt);
  const long double sensorE = s.sensorBest.figures.efficiency();
  const long double idealE = s.idealBest.figures.efficiency();
  if (idealE > 0) {
    s.efficiencyDefined = true;
    s.efficiency = 100 * sensorE / idealE;
  }
  const std::int32_t n = ws.LumpCount;
  {
    StageProgress stage(progress, 0.6, 0.85);
    s.calibration = calibrate(ws.Param.data(), ws.Content.data(), n, stage);
  }
  if (settings.cutoffGrade) {
    StageProgress stage(progress, 0.85, 1);
    s.oreWaste = oreWaste(ws.Param.data(), ws.Mass.data(), ws.Content.data(), n, settings.side,
                          *settings.cutoffGrade, stage);
  }
  progress.report(StageProgress::kWhole, StageProgress::kWhole);
  return s;
}

}  // namespace ore::study
