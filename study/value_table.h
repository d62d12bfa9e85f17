#pragma once
// What a cut is worth as tables: the value curve's rows for orefrac-batch and for saving from the
// window (.xlsx, .csv), and the best value cut's figures in the wording of orefrac-batch --value.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/number_format.h"
#include "data/text_grid.h"
#include "study/bootstrap.h"
#include "study/cut_value.h"
#include "study/sortability_curve.h"

namespace ore::study {

// The header "Граница", "Стоимость тонны питания" and one row per cut, written by fmt.
TextGrid valueCurveGrid(const SortabilityCurve& curve, const ValueInputs& inputs,
                        const NumberFormat& fmt);

// Saves the value curve as .xlsx (sheet "Стоимость границы", numbers as numbers) or .csv (';',
// CR LF), chosen by the name's ending, replacing the file only when complete. Throws ore::Error
// for another ending, more cuts than a sheet holds, and the writers' failures.
void saveValueCurve(const SortabilityCurve& curve, const ValueInputs& inputs,
                    const NumberFormat& fmt, const std::string& path);

// The line said when the gain is not above 0.
inline constexpr const char* kSortingDoesNotPay = "Сортировка не окупается";

// The best value cut as (what, value) rows, the key first; the interval's row only with interval.
// When sorting does not pay, the row {kSortingDoesNotPay, ""} follows the gain's.
std::vector<std::pair<std::string, std::string>> bestValueRows(
    const BestValueCut& best, const std::optional<ValueInterval>& interval,
    const NumberFormat& fmt);

}  // namespace ore::study
