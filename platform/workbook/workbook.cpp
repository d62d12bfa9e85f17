#include "platform/workbook/workbook.h"

#include <algorithm>

namespace ore {

namespace {
const Cell kEmptyCell;
}

const Cell& Sheet::cell(std::int64_t row, std::int64_t col) const {
  if (row < 1 || col < 1 || row > lastRow()) return kEmptyCell;
  const auto& r = rows_[static_cast<size_t>(row - 1)];
  if (col > static_cast<std::int64_t>(r.size())) return kEmptyCell;
  return r[static_cast<size_t>(col - 1)];
}

void Sheet::set(std::int64_t row, std::int64_t col, Cell c) {
  if (row < 1 || col < 1 || row > kMaxRows || col > kMaxCols) return;
  if (row > lastRow()) rows_.resize(static_cast<size_t>(row));
  auto& r = rows_[static_cast<size_t>(row - 1)];
  // Rows are mostly as wide as the one above: one allocation instead of a doubling series.
  // (Bounded by that row's real width, so scattered cells cannot inflate it.)
  if (r.empty() && row > 1)
    r.reserve(std::max(static_cast<size_t>(col), rows_[static_cast<size_t>(row - 2)].size()));
  if (col > static_cast<std::int64_t>(r.size())) r.resize(static_cast<size_t>(col));
  r[static_cast<size_t>(col - 1)] = std::move(c);
  lastCol_ = std::max(lastCol_, col);
}

}  // namespace ore
