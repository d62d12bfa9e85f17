#include <ostream>

#include "analysis/sortability.h"
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

namespace {

// The curve as rows of cell texts under a header row, one row per cut.
TextGrid curveGrid(const analysis::SortabilityCurve& cv, const NumberFormat& fmt) {
  const int C = cv.contentCount();
  TextGrid g(4 * C + 3, static_cast<int>(cv.cutCount()) + 1);
  g.setCell(0, 0, "Граница");
  g.setCell(1, 0, "Выход хвостов, %");
  g.setCell(2 * C + 2, 0, "Выход концентрата, %");
  for (int k = 1; k <= C; ++k) {
    const std::string n = std::to_string(k);
    g.setCell(1 + k, 0, "Содержание в хвостах, %  №= " + n);
    g.setCell(C + 1 + k, 0, "Извлечение в хвосты, %  №= " + n);
    g.setCell(2 * C + 2 + k, 0, "Содержание в концентрате, %  №= " + n);
    g.setCell(3 * C + 2 + k, 0, "Извлечение в концентрат, %  №= " + n);
  }
  for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
    const int r = static_cast<int>(cut) + 1;
    const analysis::CutFigures f = cv.figures(cut);
    g.setCell(0, r, fmt.format(f.key));
    g.setCell(1, r, fmt.format(f.tailsYield));
    g.setCell(2 * C + 2, r, fmt.format(f.concentrateYield));
    for (int k = 1; k <= C; ++k) {
      g.setCell(1 + k, r, fmt.format(f.tailsContent[k]));
      g.setCell(C + 1 + k, r, fmt.format(f.tailsRecovery[k]));
      g.setCell(2 * C + 2 + k, r, fmt.format(f.concentrateContent[k]));
      g.setCell(3 * C + 2 + k, r, fmt.format(f.concentrateRecovery[k]));
    }
  }
  return g;
}

}  // namespace

void sortabilityStage(const Options& options, const SortabilityRequest& request, BatchState& state,
                      std::ostream& out) {
  Workspace& ws = state.ws;
  ws.DistributionKind = options.distributionKind;
  const NumberFormat& fmt = state.fmt;
  const analysis::SortabilityCurve cv = analysis::sortabilityCurve(ws);
  if (options.curveFile) writeGridTsv(curveGrid(cv, fmt), *options.curveFile, out);
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
