#pragma once
// A grid of cell texts addressed (column, row), as the program's grids are: the source-data grid,
// the column grid, the pocket table and the results grid all are TextGrids.

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "data/block_allocator.h"
#include "data/number_format.h"

namespace ore {

class TextGrid {
 public:
  // Told about every change so a view can repaint; shape == true when the size changed.
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void gridChanged(bool shape) = 0;
  };

  TextGrid() = default;
  TextGrid(int cols, int rows) { resize(cols, rows); }
  TextGrid(const TextGrid& o)
      : cols_(o.cols_),
        rows_(o.rows_),
        cells_(o.cells_),
        texts_(o.texts_),
        fmt_(o.fmt_),
        hasNumbers_(o.hasNumbers_) {}
  TextGrid& operator=(const TextGrid& o);

  int colCount() const { return cols_; }
  int rowCount() const { return rows_; }

  // Re-sizing keeps the texts of the cells that remain; new cells are empty. Negative counts
  // are taken as 0.
  void resize(int cols, int rows);
  void setColCount(int cols) { resize(cols, rows_); }
  void setRowCount(int rows) { resize(cols_, rows); }

  // A cell outside the grid reads as the empty text.
  std::string cell(int col, int row) const;
  // Writing outside the grid does nothing (the cell is not part of the grid).
  void setCell(int col, int row, std::string text);
  // The cell reads as fmt.format(v) / std::to_string(v); the text is made only when it is read,
  // so a grid of a million lumps costs 8 bytes a cell and no formatting nobody looks at.
  void setNumber(int col, int row, double v, const NumberFormat& fmt);
  void setWhole(int col, int row, std::int64_t v);
  // The double a cell set by setNumber holds, and the separator its text is written with; false
  // for every other cell (its text is then all there is).
  bool numberAt(int col, int row, double& v, char& decimalSeparator) const {
    if (!inside(col, row)) return false;
    const Entry& e = cells_[static_cast<size_t>(row) * cols_ + col];
    if (e.kind() != Entry::Kind::Number) return false;
    v = e.number();
    decimalSeparator = fmt_.decimalSeparator();
    return true;
  }

  // Moves one row (column) to another position, shifting those between, as dragging does.
  void moveRow(int from, int to);
  void moveColumn(int from, int to);

  void setListener(Listener* l) { listener_ = l; }

 private:
  bool inside(int col, int row) const { return col >= 0 && row >= 0 && col < cols_ && row < rows_; }
  void changed(bool shape) {
    if (listener_) listener_->gridChanged(shape);
  }

  // A double as it is; the other kinds in the NaN space, which no stored number uses (a NaN
  // is kept as its text).
  class Entry {
   public:
    enum class Kind : std::uint8_t { Empty, Text, Number, Whole };
    static constexpr std::int64_t kMaxWhole = (std::int64_t{1} << 47) - 1;

    Kind kind() const {
      if ((bits_ & kTagMask) < kEmptyTag) return Kind::Number;
      if ((bits_ & kTagMask) == kTextTag) return Kind::Text;
      if ((bits_ & kTagMask) == kWholeTag) return Kind::Whole;
      return Kind::Empty;
    }
    std::uint64_t text() const { return bits_ & kPayload; }
    double number() const { return std::bit_cast<double>(bits_); }
    std::int64_t whole() const {
      return static_cast<std::int64_t>((bits_ & kPayload) << 16) >> 16;  // sign-extended
    }
    void setText(std::uint64_t index) { bits_ = kTextTag | index; }
    void setNumber(double v) { bits_ = std::bit_cast<std::uint64_t>(v); }  // not NaN
    void setWhole(std::int64_t v) {
      bits_ = kWholeTag | (static_cast<std::uint64_t>(v) & kPayload);
    }

   private:
    static constexpr std::uint64_t kTagMask = 0xFFFF000000000000u;
    static constexpr std::uint64_t kPayload = ~kTagMask;
    static constexpr std::uint64_t kEmptyTag = 0xFFF1000000000000u;
    static constexpr std::uint64_t kTextTag = 0xFFF2000000000000u;
    static constexpr std::uint64_t kWholeTag = 0xFFF3000000000000u;
    std::uint64_t bits_ = kEmptyTag;
  };
  static_assert(sizeof(Entry) == 8);
  Entry* entry(int col, int row) { return &cells_[static_cast<size_t>(row) * cols_ + col]; }

  int cols_ = 0;
  int rows_ = 0;
  std::vector<Entry, BlockAllocator<Entry>> cells_;  // row-major: row * cols_ + col
  std::vector<std::string> texts_;  // texts of Text cells; a cell keeps its slot when rewritten
  NumberFormat fmt_;                // of the Number cells
  bool hasNumbers_ = false;
  Listener* listener_ = nullptr;
};

}  // namespace ore
