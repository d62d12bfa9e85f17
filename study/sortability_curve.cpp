#include "study/sortability_curve.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "analysis/lump_checks.h"
#include "analysis/lump_columns.h"
#include "data/errors.h"
#include "study/radix_sort.h"

namespace ore::study {

namespace {

// Lumps summed between two reports: a few hundred microseconds of work.
constexpr std::size_t kReportEvery = 1 << 14;

}  // namespace

CutFigures SortabilityCurve::figures(std::size_t cut) const {
  const std::size_t S = static_cast<std::size_t>(C_) + 1;
  const long double* t = &tails_[cut * S];
  const long double* q = &conc_[cut * S];
  CutFigures f;
  f.key = keys_[cut];
  f.tailsYield = quotient(t[0], M_) * 100;
  f.concentrateYield = quotient(q[0], M_) * 100;
  for (int k = 1; k <= C_; ++k) {
    f.tailsContent[k] = quotient(t[k], t[0]);
    f.tailsRecovery[k] = quotient(t[k], T_[k]) * 100;
    f.concentrateContent[k] = quotient(q[k], q[0]);
    f.concentrateRecovery[k] = quotient(q[k], T_[k]) * 100;
  }
  return f;
}

namespace {

CurveKey keyOf(const Workspace& ws) {
  analysis::checkContentCount(ws.ContentCount);
  analysis::checkDistributionKind(ws.DistributionKind);
  return ws.DistributionKind == DistributionKind::Param ? CurveKey::Param : CurveKey::Content;
}

}  // namespace

SortabilityCurve::SortabilityCurve(const Workspace& ws, Progress& progress)
    : SortabilityCurve(build(ws, keyOf(ws), ws.ContentCount, progress, nullptr)) {}

SortabilityCurve::SortabilityCurve(const Workspace& ws, CurveKey key, int contents,
                                   Progress& progress, std::vector<Place>* order)
    : SortabilityCurve(build(ws, key, contents, progress, order)) {}

SortabilityCurve SortabilityCurve::build(const Workspace& ws, CurveKey keyKind, int C,
                                         Progress& progress, std::vector<Place>* keepOrder) {
  analysis::checkContentCount(C);
  analysis::checkLumpArrays(ws, C);
  const std::int32_t n = ws.LumpCount;
  if (n == 0) throw Error("Куски не загружены: кривые обогатимости не строятся");
  // The work is two passes over the lumps: the tails' sums, then the concentrate's.
  const std::uint64_t total = 2 * static_cast<std::uint64_t>(n);
  progress.report(0, total);

  const bool byContent = keyKind == CurveKey::Content;
  const bool negate = keyKind == CurveKey::NegatedParam;
  const double* key = byContent ? ws.Content.data() : ws.Param.data();
  const double* m = ws.Mass.data();
  const auto c = analysis::contentColumns<kMaxSortabilityContents>(ws, C);

  std::vector<Place> order(static_cast<std::size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) {
    if (!std::isfinite(key[i]))
      throw Error(std::string(byContent ? "Содержание" : "Параметр") + " куска " +
                  std::to_string(i) + " вне диапазона чисел: расчет невозможен");
    order[i - 1] = {orderedBits(negate ? -key[i] : key[i]), i};
  }
  sortByKey(order);
  progress.checkStop();

  SortabilityCurve cv;
  cv.C_ = C;
  const std::size_t S = static_cast<std::size_t>(C) + 1;
  // Room for every cut at once: a million distinct keys would otherwise move the sums many times.
  std::size_t cutsAhead = order.empty() ? 0 : 1;
  for (std::size_t u = 1; u < order.size(); ++u) cutsAhead += order[u].bits != order[u - 1].bits;
  cv.keys_.reserve(cutsAhead);
  cv.cutEnd_.reserve(cutsAhead);
  cv.tails_.reserve(cutsAhead * S);
  // The lumps' masses and contents in key order, gathered once so both sums read them in sequence.
  std::vector<double> mass(order.size());
  std::vector<std::vector<double>> content(S);
  for (std::size_t u = 0; u < order.size(); ++u) mass[u] = m[order[u].lump];
  for (int k = 1; k <= C; ++k) {
    content[k].resize(order.size());
    for (std::size_t u = 0; u < order.size(); ++u) content[k][u] = c[k][order[u].lump];
  }

  std::array<long double, kMaxSortabilityContents + 1> sum{};
  auto add = [&](std::size_t u) {
    sum[0] += mass[u];
    for (int k = 1; k <= C; ++k) sum[k] += static_cast<long double>(mass[u]) * content[k][u];
  };
  for (std::size_t b = 0; b < order.size(); b += kReportEvery) {
    const std::size_t e = std::min(order.size(), b + kReportEvery);
    for (std::size_t u = b; u < e; ++u) {
      add(u);
      if (u + 1 == order.size() || order[u + 1].bits != order[u].bits) {
        // The key from its bits (the negated one's for NegatedParam), not from the lump: no load
        // from afar. A key of -0 comes back as the cut at 0.
        cv.keys_.push_back(keyOfBits(order[u].bits));
        cv.cutEnd_.push_back(static_cast<std::int32_t>(u + 1));
        cv.tails_.insert(cv.tails_.end(), sum.begin(), sum.begin() + S);
      }
    }
    progress.report(e, total);
    progress.checkStop();
  }
  cv.M_ = sum[0];
  cv.T_ = sum;
  // Finite as doubles, as the pocket analysis holds its totals: the extended range would pass
  // totals that no figure written from them could show.
  bool finite = true;
  for (std::size_t k = 0; k < S; ++k) finite = finite && std::isfinite(static_cast<double>(sum[k]));
  analysis::checkSampleTotals(finite, sum[0] == 0);

  // The concentrate of a cut is summed over its own lumps, from the top down, never as the total
  // minus the tails: near the top of the curve the difference would be mostly rounding.
  const std::size_t cuts = cv.keys_.size();
  cv.conc_.assign(cuts * S, 0.0L);
  sum.fill(0.0L);
  std::size_t summed = 0, reportedAt = 0;
  for (std::size_t g = cuts; g-- > 0;) {
    std::copy(sum.begin(), sum.begin() + S, cv.conc_.begin() + g * S);
    const std::size_t begin = g ? cv.cutEnd_[g - 1] : 0;
    for (std::size_t u = begin; u < static_cast<std::size_t>(cv.cutEnd_[g]); ++u) add(u);
    summed += cv.cutEnd_[g] - begin;
    if (summed - reportedAt >= kReportEvery) {
      reportedAt = summed;
      progress.report(order.size() + summed, total);
      progress.checkStop();
    }
  }

  // What the bootstrap walks: each lump's mass and metal of element 1, in key order.
  for (std::size_t u = 0; u < order.size(); ++u) content[1][u] *= mass[u];
  cv.metal1_ = std::move(content[1]);
  cv.mass_ = std::move(mass);
  cv.lump_.resize(order.size());
  for (std::size_t u = 0; u < order.size(); ++u) cv.lump_[u] = order[u].lump;
  if (keepOrder) *keepOrder = std::move(order);
  progress.report(total, total);
  return cv;
}

}  // namespace ore::study
