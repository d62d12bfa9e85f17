#include <ostream>
#include <string>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "data/progress.h"
#include "study/sensor_study.h"
#include "study/sensor_table.h"

namespace ore::batch {

study::SensorSettings sensorRequest(const Options& options, const NumberFormat& fmt) {
  study::SensorSettings s;
  s.side = options.concentrateSide.value_or(study::ConcentrateSide::Above);
  if (options.cutoffGrade) {
    double grade = 0;
    if (!fmt.tryParseReal(*options.cutoffGrade, grade))
      throw Error(std::string("--cutoff-grade: ожидается число с десятичным разделителем «") +
                  fmt.decimalSeparator() + "», а не «" + *options.cutoffGrade + "»");
    s.cutoffGrade = grade;
  }
  return s;
}

void sensorStage(const Options& options, const study::SensorSettings& settings, BatchState& state,
                 std::ostream& out) {
  Progress silent;
  const study::SensorStudy s = study::sensorStudy(state.ws, settings, silent);
  for (const study::FigureRow& r : study::sensorRows(s, state.fmt))
    out << r.label << ": " << r.text << "\n";
  if (options.rocFile && s.oreWaste)
    writeGridTsv(study::rocGrid(*s.oreWaste, state.fmt, silent), *options.rocFile, out);
}

}  // namespace ore::batch
