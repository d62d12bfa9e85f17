#include "data/text_grid.h"

#include <algorithm>
#include <cmath>

namespace ore {

TextGrid& TextGrid::operator=(const TextGrid& o) {
  if (this != &o) {
    cols_ = o.cols_;
    rows_ = o.rows_;
    cells_ = o.cells_;
    texts_ = o.texts_;
    fmt_ = o.fmt_;
    hasNumbers_ = o.hasNumbers_;
    changed(true);
  }
  return *this;
}

void TextGrid::resize(int cols, int rows) {
  cols = std::max(cols, 0);
  rows = std::max(rows, 0);
  if (cols == cols_ && rows == rows_) return;
  if (cols == 0 || rows == 0) {
    // The memory goes too: an emptied grid of millions of lumps is refilled from nothing.
    cells_ = {};
    texts_ = {};
    hasNumbers_ = false;
  } else if (cols == cols_) {
    cells_.resize(static_cast<size_t>(cols) * rows);
  } else {
    std::vector<Entry, BlockAllocator<Entry>> next(static_cast<size_t>(cols) * rows);
    int keepC = std::min(cols, cols_), keepR = std::min(rows, rows_);
    for (int r = 0; r < keepR; ++r)
      for (int c = 0; c < keepC; ++c)
        next[static_cast<size_t>(r) * cols + c] =
            std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
    cells_ = std::move(next);
  }
  cols_ = cols;
  rows_ = rows;
  changed(true);
}

std::string TextGrid::cell(int col, int row) const {
  if (!inside(col, row)) return {};
  const Entry& e = cells_[static_cast<size_t>(row) * cols_ + col];
  switch (e.kind()) {
    case Entry::Kind::Empty:
      return {};
    case Entry::Kind::Text:
      return texts_[e.text()];
    case Entry::Kind::Number:
      return fmt_.format(e.number());
    case Entry::Kind::Whole:
      return std::to_string(e.whole());
  }
  return {};
}

void TextGrid::setCell(int col, int row, std::string text) {
  if (!inside(col, row)) return;
  Entry* e = entry(col, row);
  if (e->kind() == Entry::Kind::Text) {
    texts_[e->text()] = std::move(text);
  } else {
    e->setText(texts_.size());
    texts_.push_back(std::move(text));
  }
  changed(false);
}

void TextGrid::setNumber(int col, int row, double v, const NumberFormat& fmt) {
  if (!inside(col, row)) return;
  // One format per grid: a number under another one is written out at once.
  if (std::isnan(v) || (hasNumbers_ && fmt.decimalSeparator() != fmt_.decimalSeparator()))
    return setCell(col, row, fmt.format(v));
  entry(col, row)->setNumber(v);
  fmt_ = fmt;
  hasNumbers_ = true;
  changed(false);
}

void TextGrid::setWhole(int col, int row, std::int64_t v) {
  if (!inside(col, row)) return;
  if (v > Entry::kMaxWhole || v < -Entry::kMaxWhole) return setCell(col, row, std::to_string(v));
  entry(col, row)->setWhole(v);
  changed(false);
}

void TextGrid::moveRow(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= rows_ || to >= rows_) return;
  auto rowBegin = [&](int r) { return cells_.begin() + static_cast<long>(r) * cols_; };
  if (from < to)
    std::rotate(rowBegin(from), rowBegin(from + 1), rowBegin(to + 1));
  else
    std::rotate(rowBegin(to), rowBegin(from), rowBegin(from + 1));
  changed(false);
}

void TextGrid::moveColumn(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= cols_ || to >= cols_) return;
  for (int r = 0; r < rows_; ++r) {
    auto b = cells_.begin() + static_cast<long>(r) * cols_;
    if (from < to)
      std::rotate(b + from, b + from + 1, b + to + 1);
    else
      std::rotate(b + to, b + from, b + from + 1);
  }
  changed(false);
}

}  // namespace ore
