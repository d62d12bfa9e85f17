#pragma once
// The sortability curve and its best cut as tables: the curve's rows for orefrac-batch and for
// saving from the window (.xlsx, .csv), the best cut's figures for the window's small table. The
// writers of the curve's rows report the rows done to progress and stop when asked (WorkStopped).

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "platform/workbook/workbook.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/sortability_curve.h"

namespace ore::study {

// The header row and one row per cut: the key, tails yield, tails contents 1..C, tails recoveries
// 1..C, concentrate yield, concentrate contents 1..C, concentrate recoveries 1..C, each number
// written by fmt (15 significant digits, unrounded).
TextGrid sortabilityCurveGrid(const SortabilityCurve& curve, const NumberFormat& fmt,
                              Progress& progress);

// The same rows on one sheet "Кривые обогатимости", the numbers as numbers. Throws ore::Error
// when the rows do not fit on a sheet (more than 1048575 cuts).
Workbook sortabilityCurveWorkbook(const SortabilityCurve& curve, Progress& progress);

// The same rows as text separated by ';' (the separator the program's own csv reader takes first,
// and one that never meets a decimal comma), lines ending in CR LF.
std::string sortabilityCurveCsv(const SortabilityCurve& curve, const NumberFormat& fmt,
                                Progress& progress);

// The name ends in ending, letters of either case alike: how a table's save chooses its format.
bool endsWithIgnoringCase(const std::string& path, const char* ending);

// Saves the curve as .xlsx or .csv, chosen by the name's ending (either case), written under a
// temporary name and renamed over the file only when complete: a stop (WorkStopped) at any point
// leaves the file as it was. Throws ore::Error for any other ending and for the writers' failures.
void saveSortabilityCurve(const SortabilityCurve& curve, const NumberFormat& fmt,
                          const std::string& path, Progress& progress);

// The best cut and how sure it is, as (what, value) rows, in the wording of orefrac-batch
// --best-cut: the key first. With a precision's scale factor (data/precision.h) the figures are
// rounded to it as the results grid's are, the key keeping one decimal more; without, they keep
// 15 significant digits. The rows from kBestCutBootstrapRowsFrom on hold the resamples' figures.
std::vector<std::pair<std::string, std::string>> bestCutRows(
    const BestCut& best, const BootstrapResult& boot, std::uint64_t seed, const NumberFormat& fmt,
    std::optional<long double> precisionFactor = std::nullopt);
inline constexpr std::size_t kBestCutBootstrapRowsFrom = 7;

}  // namespace ore::study
