#include <limits>
#include <ostream>
#include <string>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "data/progress.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/curve_table.h"
#include "study/sortability_curve.h"

namespace ore::batch {

namespace {

// Decimal digits, optionally after a plus sign, within 64 bits.
bool parseSeed(const std::string& text, std::uint64_t& seed) {
  std::size_t i = text.size() > 1 && text[0] == '+' ? 1 : 0;
  if (i == text.size()) return false;
  seed = 0;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch < '0' || ch > '9') return false;
    const unsigned digit = static_cast<unsigned>(ch - '0');
    if (seed > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
    seed = seed * 10 + digit;
  }
  return true;
}

}  // namespace

SortabilityRequest sortabilityRequest(const Options& options, const NumberFormat& fmt) {
  SortabilityRequest r;
  if (options.minGrade) {
    double grade = 0;
    if (!fmt.tryParseReal(*options.minGrade, grade))
      throw Error(std::string("--min-grade: ожидается число с десятичным разделителем «") +
                  fmt.decimalSeparator() + "», а не «" + *options.minGrade + "»");
    r.minGrade = grade;
  }
  if (options.seed && !parseSeed(*options.seed, r.seed))
    throw Error("--seed: ожидается целое число от 0 до " +
                std::to_string(std::numeric_limits<std::uint64_t>::max()) + ", а не «" +
                *options.seed + "»");
  r.limits.minGrade = r.minGrade;
  valueRequest(options, fmt, r);
  return r;
}

namespace {

void bestCutStage(const SortabilityRequest& request, const study::SortabilityCurve& cv,
                  const NumberFormat& fmt, std::ostream& out) {
  Progress silent;
  const study::BestCut best = study::bestCut(cv, request.limits, fmt);
  study::BootstrapSettings settings;
  settings.seed = request.seed;
  settings.limits = request.limits;
  const study::BootstrapResult boot = study::bootstrapBestCut(cv, best, settings, silent);
  const study::CutFigures& f = best.figures;
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

}  // namespace

void sortabilityStage(const Options& options, const SortabilityRequest& given, BatchState& state,
                      std::ostream& out) {
  Workspace& ws = state.ws;
  ws.DistributionKind = options.distributionKind;
  SortabilityRequest request = given;
  applyElementOptions(request, ws.ContentCount);
  const NumberFormat& fmt = state.fmt;
  Progress silent;
  const study::SortabilityCurve cv(ws, silent);
  if (options.curveFile)
    writeGridTsv(study::sortabilityCurveGrid(cv, fmt, silent), *options.curveFile, out);
  if (options.bestCut) bestCutStage(request, cv, fmt, out);
  if (options.value || options.valueCurveFile) valueStage(options, request, cv, state, out);
}

}  // namespace ore::batch
