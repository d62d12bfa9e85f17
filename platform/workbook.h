#pragma once
// The workbook model: sheets of typed cells as a reader found them. A formula cell holds its
// cached value (and its formula text, when known). Rows and columns are numbered from 1, as the
// spreadsheet numbers them.

#include <cstdint>
#include <string>
#include <vector>

namespace ore {

struct Cell {
  enum class Type : std::uint8_t { Empty, Number, Text, Logical, Date, Error };
  Type type = Type::Empty;
  double number = 0;    // Number, Date (serial, 1900 system), Logical (1 true, 0 false)
  std::string text;     // Text, Error ("#DIV/0!")
  std::string formula;  // "=5" for a formula cell (the fields above hold its value); else empty
};

class Sheet {
 public:
  explicit Sheet(std::string name = {}) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  void setName(std::string n) { name_ = std::move(n); }

  // The cell at (row, col); an empty cell for any position not set (also row or col < 1).
  const Cell& cell(std::int64_t row, std::int64_t col) const;
  // Stores a cell; rows and columns from 1 up to kMaxRows / kMaxCols.
  void set(std::int64_t row, std::int64_t col, Cell c);

  // The last row holding a cell, 0 for an empty sheet.
  std::int64_t lastRow() const { return static_cast<std::int64_t>(rows_.size()); }
  // The last column holding a cell in any row, 0 for an empty sheet.
  std::int64_t lastCol() const { return lastCol_; }

  static constexpr std::int64_t kMaxRows = 1048576;
  static constexpr std::int64_t kMaxCols = 16384;

 private:
  std::string name_;
  std::vector<std::vector<Cell>> rows_;  // rows_[row - 1][col - 1]
  std::int64_t lastCol_ = 0;             // kept by set(), so that lastCol() costs nothing
};

struct Workbook {
  std::string path;
  std::vector<Sheet> sheets;  // in workbook order
};

}  // namespace ore
