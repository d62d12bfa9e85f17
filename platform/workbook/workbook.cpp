#include "platform/workbook/workbook.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace ore {

const Sheet::Slot* Sheet::slot(std::int64_t row, std::int64_t col) const {
  if (row < 1 || col < 1 || row > lastRow()) return nullptr;
  const Row& r = rows_[static_cast<size_t>(row - 1)];
  if (col > static_cast<std::int64_t>(r.width)) return nullptr;
  return &slots_[r.begin + static_cast<std::uint64_t>(col - 1)];
}

Cell Sheet::cell(std::int64_t row, std::int64_t col) const {
  Cell c;
  const Slot* s = slot(row, col);
  if (!s) return c;
  switch (s->kept) {
    case Kept::Plain:
      c.type = s->type;
      c.number = s->number;
      break;
    case Kept::PooledText:
      c.type = s->type;
      c.text.assign(texts_, s->textAt, s->textSize);
      break;
    case Kept::OutOfLine:
      c = outOfLine_.at(key(row, col));
      break;
  }
  return c;
}

void Sheet::widen(Row& r, std::size_t rowIndex, std::uint16_t width) {
  if (width <= r.capacity) {
    r.width = width;
    return;
  }
  if (r.capacity && r.begin + r.capacity == slots_.size()) {
    // The last row in the block grows where it is.
    slots_.resize(r.begin + std::size_t{width});
    r.capacity = width;
  } else {
    // Rows are mostly as wide as the one above: a new row takes that width at once. A row that
    // grows again later moves to the end with room to double, so scattered cells cost at most
    // a constant factor of the cells stored.
    std::size_t cap = std::max<std::size_t>(width, std::min<std::size_t>(2 * r.capacity, kMaxCols));
    if (!r.capacity && rowIndex > 0) cap = std::max<std::size_t>(cap, rows_[rowIndex - 1].width);
    const std::size_t begin = slots_.size();
    if (begin + cap > std::numeric_limits<std::uint32_t>::max())
      throw std::length_error("sheet too large");
    slots_.resize(begin + cap);
    std::copy_n(slots_.begin() + r.begin, r.width,
                slots_.begin() + static_cast<std::ptrdiff_t>(begin));
    r.begin = static_cast<std::uint32_t>(begin);
    r.capacity = static_cast<std::uint16_t>(cap);
  }
  r.width = width;
}

void Sheet::reserve(std::size_t rows, std::size_t cells) {
  rows_.reserve(std::min<std::size_t>(rows, kMaxRows));
  slots_.reserve(std::min<std::size_t>(cells, std::numeric_limits<std::uint32_t>::max()));
}

void Sheet::set(std::int64_t row, std::int64_t col, Cell c) {
  if (row < 1 || col < 1 || row > kMaxRows || col > kMaxCols) return;
  if (row > lastRow()) rows_.resize(static_cast<size_t>(row));
  const auto ri = static_cast<std::size_t>(row - 1);
  Row& r = rows_[ri];
  if (col > static_cast<std::int64_t>(r.width)) widen(r, ri, static_cast<std::uint16_t>(col));
  Slot& s = slots_[r.begin + static_cast<std::uint64_t>(col - 1)];
  if (s.kept == Kept::OutOfLine) outOfLine_.erase(key(row, col));
  s.type = c.type;
  s.textSize = 0;
  if (c.formula.empty() && c.text.empty()) {
    s.kept = Kept::Plain;
    s.number = c.number;
  } else if (c.formula.empty() && c.number == 0 && !std::signbit(c.number) &&
             c.text.size() <= std::numeric_limits<std::uint32_t>::max()) {
    s.kept = Kept::PooledText;
    s.textAt = texts_.size();
    s.textSize = static_cast<std::uint32_t>(c.text.size());
    texts_ += c.text;
  } else {
    s.kept = Kept::OutOfLine;
    s.number = 0;
    outOfLine_[key(row, col)] = std::move(c);
  }
  lastCol_ = std::max(lastCol_, col);
}

}  // namespace ore
