#include "platform/workbook.h"

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
  if (col > static_cast<std::int64_t>(r.size())) r.resize(static_cast<size_t>(col));
  r[static_cast<size_t>(col - 1)] = std::move(c);
}

std::int64_t Sheet::lastCol() const {
  size_t m = 0;
  for (const auto& r : rows_) m = std::max(m, r.size());
  return static_cast<std::int64_t>(m);
}

}  // namespace ore
