#include "analysis/fraction_analysis.h"

#include <algorithm>
#include <cmath>

#include "analysis/grid_numbers.h"
#include "analysis/lump_checks.h"
#include "analysis/pocket_distribution.h"
#include "analysis/rounding.h"
#include "analysis/sample_index.h"
#include "analysis/tails_concentrate.h"
#include "data/errors.h"
#include "data/results_layout.h"

namespace ore::analysis {

namespace {

// Everything that would make the run meaningless or unsafe, checked before anything is shown, so a
// refused run changes nothing at all.
void checkSettings(const Workspace& ws) {
  if (ws.PocketCount < 1)
    throw Error("Количество карманов должно быть не меньше 1 (задано " +
                std::to_string(ws.PocketCount) + ")");
  checkContentCount(ws.ContentCount);
  if (!isKnownPrecision(ws.PrecisionText)) throw Error(unknownPrecisionMessage(ws.PrecisionText));
  if (ws.PocketBasis != PocketBasis::ByContent && ws.PocketBasis != PocketBasis::ByParam)
    throw Error("Не выбран расчет карманов: по концентрации или по параметру");
  checkDistributionKind(ws.DistributionKind);
}

void checkTotals(const Workspace& ws, int K, const SampleTotals& t) {
  if (ws.LumpCount == 0) return;
  bool finite = std::isfinite(t.M);
  for (int k = 1; k <= K; ++k) finite = finite && std::isfinite(t.T[k]);
  checkSampleTotals(finite, t.M == 0);
}

}  // namespace

std::string summaryLabel(PocketBasis pocketBasis, std::int32_t n, double index, bool defined,
                         const NumberFormat& fmt) {
  std::string s = "Число кусков  n=" + fmt.format(static_cast<double>(n)) + "       ";
  s += pocketBasis == PocketBasis::ByParam ? "П=" : "M=";
  s += defined ? fmt.format(index) : std::string(" не определен");
  return s;
}

std::string outsideNote(double lumps, std::int32_t lumpCount, double massShare,
                        const NumberFormat& fmt) {
  // Whole per cent reads at a glance; the ends are kept apart from "none" and "all".
  const double whole = std::floor(massShare + 0.5);
  std::string share = fmt.format(whole);
  if (whole == 0 && massShare > 0) share = "менее 1";
  if (whole == 100 && massShare < 100) share = "более 99";
  return "Вне карманов: " + fmt.format(lumps) + " из " +
         fmt.format(static_cast<double>(lumpCount)) + " кусков, " + share + " % массы";
}

std::vector<std::string> pocketNotes(const AnalysisOutcome& out, std::int32_t lumpCount,
                                     const NumberFormat& fmt) {
  std::vector<std::string> lines;
  if (out.outsideLumps > 0)
    lines.push_back(outsideNote(out.outsideLumps, lumpCount, out.outsideMassShare, fmt));
  if (out.limitsFall)
    lines.push_back("Границы карманов не возрастают: кусок может попасть в несколько карманов");
  return lines;
}

AnalysisOutcome runFractionAnalysis(Workspace& ws, const TextGrid& pocketTable, TextGrid& results,
                                    const NumberFormat& fmt, AnalysisView& view,
                                    Progress* progress) {
  const int C = ws.ContentCount;
  const int K = std::min(C, kMaxComputedContents);
  const int P = ws.PocketCount;
  checkSettings(ws);
  checkLumpArrays(ws, K);
  const long double f = scaleFactor(ws.PrecisionText);
  // The totals depend on the lump data only; forming them first lets a massless sample be
  // refused before anything is shown.
  const SampleTotals totals = sampleTotals(ws, K);
  checkTotals(ws, K, totals);

  // From here on the run writes as it goes, so a failure leaves the state it had reached.
  ws.AnalysedDataSet = ws.LumpDataSet;
  view.showResultsWindows();
  const ResultsLayout L(C);
  results.resize(L.columnCount(), P + 1);
  for (int j = 1; j <= P; ++j) results.setCell(L.pocketNumber(), j, fmt.format(j));
  for (int j = 1; j <= P; ++j)
    for (int c = L.limit(); c <= L.lastColumn(); ++c) results.setCell(c, j, "0");
  for (int j = 1; j <= P; ++j) results.setCell(L.limit(), j, pocketTable.cell(1, j));

  const double* key =
      ws.DistributionKind == DistributionKind::Param ? ws.Param.data() : ws.Content.data();
  auto limit = [&](int j) { return fmt.parseReal(pocketTable.cell(1, j)); };
  const PocketSums sums = distributeLumps(ws, key, K, P, totals.M, limit, progress);
  writePocketBlock(results, sums, totals, C, K, P, fmt);
  writeTailsAndConcentrate(results, C, K, P, totals.a, fmt);

  AnalysisOutcome out;
  out.histogram.reserve(static_cast<size_t>(P));
  for (int j = 1; j <= P; ++j)  // labelled with the limit as typed, not as rounded
    out.histogram.push_back({static_cast<double>(j), sums.N[j], pocketTable.cell(1, j), 0xFF0000});
  view.setHistogram(out.histogram);
  out.outsideLumps = sums.outsideN;
  out.outsideMassShare = totals.M != 0 ? sums.outsideW / totals.M * 100 : 0;
  view.showLabel();  // still the previous text until the index is known

  // G is read from the unrounded tails content of element 1 at the last pocket.
  const double G = cellNumber(results, L.tailsContent(1), P, fmt);
  const SampleIndexResult index = computeSampleIndex(ws, totals.M, G);
  double I = index.value;
  roundResults(results, C, P, f, fmt, index.defined ? &I : nullptr);

  out.indexDefined = index.defined;
  out.sampleIndex = index.defined ? I : 0;
  ws.SampleIndex = out.sampleIndex;
  ws.SampleIndexDefined = index.defined;
  out.label = summaryLabel(ws.PocketBasis, ws.LumpCount, I, index.defined, fmt);
  view.setLabel(out.label);
  // The rounding pass has converted every limit, so these conversions succeed.
  for (int j = 2; j <= P && !out.limitsFall; ++j)
    out.limitsFall =
        fmt.parseReal(pocketTable.cell(1, j)) < fmt.parseReal(pocketTable.cell(1, j - 1));
  out.notes = pocketNotes(out, ws.LumpCount, fmt);
  view.setNotes(out.notes);
  out.pointsPerPage = P;
  view.setPointsPerPage(P);
  return out;
}

}  // namespace ore::analysis
