#include <ostream>

#include "analysis/sortability.h"
#include "analysis/sortability_table.h"
#include "batch/batch_run.h"
#include "data/errors.h"

namespace ore::batch {

SortabilityRequest sortabilityRequest(const Options& options, const NumberFormat& fmt) {
  SortabilityRequest r;
  if (options.minGrade) r.minGrade = fmt.parseReal(*options.minGrade);
  if (options.seed) {
    const std::int32_t seed = fmt.parseInteger(*options.seed);
    if (seed < 0)
      throw Error("--seed: ожидается целое число не меньше 0, получено '" + *options.seed + "'");
    r.seed = static_cast<std::uint64_t>(seed);
  }
  return r;
}

void sortabilityStage(const Options& options, const SortabilityRequest& request, BatchState& state,
                      std::ostream& out) {
  Workspace& ws = state.ws;
  ws.DistributionKind = options.distributionKind;
  const NumberFormat& fmt = state.fmt;
  const analysis::SortabilityCurve cv = analysis::sortabilityCurve(ws);
  if (options.curveFile)
    writeGridTsv(analysis::sortabilityCurveGrid(cv, fmt), *options.curveFile, out);
  if (!options.bestCut) return;

  const analysis::BestCut best = analysis::bestCut(cv, request.minGrade, fmt);
  analysis::BootstrapSettings settings;
  settings.seed = request.seed;
  settings.minGrade = request.minGrade;
  const analysis::BootstrapResult boot = analysis::bootstrapBestCut(cv, best, settings);
  const analysis::CutFigures& f = best.figures;
  const std::string key = fmt.format(f.key);
  out << "Лучшая граница: " << key << "\n"
      << "Эффективность разделения E: " << fmt.format(f.efficiency()) << "\n"
      << "Выход концентрата, %: " << fmt.format(f.concentrateYield) << "\n"
      << "Содержание в концентрате, %  №= 1: " << fmt.format(f.concentrateContent[1]) << "\n"
      << "Извлечение в концентрат, %  №= 1: " << fmt.format(f.concentrateRecovery[1]) << "\n"
      << "Повторных выборок: " << boot.resamples << ", начальное число: " << request.seed << "\n"
      << "95 % интервал извлечения в концентрат, %  №= 1: от " << fmt.format(boot.recoveryLow)
      << " до " << fmt.format(boot.recoveryHigh) << "\n"
      << "95 % интервал выхода концентрата, %: от " << fmt.format(boot.yieldLow) << " до "
      << fmt.format(boot.yieldHigh) << "\n"
      << "Лучшая граница выборки в пределах ±10 % от " << key << ": "
      << fmt.format(boot.withinShare()) << " % (" << boot.within << " из " << boot.resamples
      << ")\n";
}

}  // namespace ore::batch
