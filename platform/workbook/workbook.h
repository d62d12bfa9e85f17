#pragma once
// The workbook model: sheets of typed cells as a reader found them. A formula cell holds its
// cached value (and its formula text, when known). Rows and columns are numbered from 1, as the
// spreadsheet numbers them.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/block_allocator.h"

namespace ore {

// A formula's text, kept out of line: almost no cell read from a workbook has one, and a sheet of
// a million rows stores a Cell per value.
class FormulaText {
 public:
  FormulaText() = default;
  FormulaText(const FormulaText& o) : p_(o.p_ ? std::make_unique<std::string>(*o.p_) : nullptr) {}
  FormulaText(FormulaText&&) noexcept = default;
  FormulaText& operator=(const FormulaText& o) {
    if (this != &o) p_ = o.p_ ? std::make_unique<std::string>(*o.p_) : nullptr;
    return *this;
  }
  FormulaText& operator=(FormulaText&&) noexcept = default;
  FormulaText& operator=(std::string text) {
    if (text.empty())
      p_.reset();
    else
      p_ = std::make_unique<std::string>(std::move(text));
    return *this;
  }

  bool empty() const { return !p_; }
  const std::string& str() const {
    static const std::string none;
    return p_ ? *p_ : none;
  }
  operator const std::string&() const { return str(); }
  const char* c_str() const { return str().c_str(); }

  friend bool operator==(const FormulaText& a, const FormulaText& b) { return a.str() == b.str(); }
  friend bool operator==(const FormulaText& a, const std::string& b) { return a.str() == b; }
  friend bool operator==(const FormulaText& a, const char* b) { return a.str() == b; }
  friend std::ostream& operator<<(std::ostream& os, const FormulaText& f) { return os << f.str(); }

 private:
  std::unique_ptr<std::string> p_;
};

struct Cell {
  enum class Type : std::uint8_t { Empty, Number, Text, Logical, Date, Error };
  Type type = Type::Empty;
  double number = 0;    // Number, Date (serial, 1900 system), Logical (1 true, 0 false)
  std::string text;     // Text, Error ("#DIV/0!")
  FormulaText formula;  // "=5" for a formula cell (the fields above hold its value); else empty
};

// Cells are kept in 16 bytes each, in one block for the whole sheet: a number as it is, a text
// as a place in the sheet's text pool; the rare rest (formulas, a text beside a number) out of
// line. A million-row sheet is then one allocation, not one per row.
class Sheet {
 public:
  explicit Sheet(std::string name = {}) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  void setName(std::string n) { name_ = std::move(n); }

  // The cell at (row, col); an empty cell for any position not set (also row or col < 1).
  Cell cell(std::int64_t row, std::int64_t col) const;
  // Stores a cell; rows and columns from 1 up to kMaxRows / kMaxCols.
  void set(std::int64_t row, std::int64_t col, Cell c);
  // Room for about this many rows and cells, as a reader expects them (a hint only).
  void reserve(std::size_t rows, std::size_t cells);

  // The last row holding a cell, 0 for an empty sheet.
  std::int64_t lastRow() const { return static_cast<std::int64_t>(rows_.size()); }
  // The last column holding a cell in any row, 0 for an empty sheet.
  std::int64_t lastCol() const { return lastCol_; }

  static constexpr std::int64_t kMaxRows = 1048576;
  static constexpr std::int64_t kMaxCols = 16384;

 private:
  enum class Kept : std::uint8_t { Plain, PooledText, OutOfLine };
  struct Slot {
    Cell::Type type = Cell::Type::Empty;
    Kept kept = Kept::Plain;
    std::uint32_t textSize = 0;  // PooledText
    union {
      double number = 0;     // Plain
      std::uint64_t textAt;  // PooledText: offset in texts_
    };
  };
  static_assert(sizeof(Slot) == 16);
  struct Row {
    std::uint32_t begin = 0;  // first slot in slots_
    std::uint16_t width = 0;  // up to kMaxCols
    std::uint16_t capacity = 0;
  };
  static_assert(sizeof(Row) == 8 && kMaxCols <= UINT16_MAX);

  const Slot* slot(std::int64_t row, std::int64_t col) const;
  static std::uint64_t key(std::int64_t row, std::int64_t col) {
    return static_cast<std::uint64_t>(row) << 16 | static_cast<std::uint64_t>(col);
  }
  void widen(Row& r, std::size_t rowIndex, std::uint16_t width);

  std::string name_;
  std::vector<Row, BlockAllocator<Row>> rows_;     // rows_[row - 1]
  std::vector<Slot, BlockAllocator<Slot>> slots_;  // the rows' cells, each row's contiguous
  std::string texts_;  // texts of PooledText cells; a replaced text stays unused
  std::unordered_map<std::uint64_t, Cell> outOfLine_;
  std::int64_t lastCol_ = 0;  // kept by set(), so that lastCol() costs nothing
};

struct Workbook {
  std::string path;
  std::vector<Sheet> sheets;  // in workbook order
};

}  // namespace ore
