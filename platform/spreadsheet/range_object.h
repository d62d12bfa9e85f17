#pragma once
// The automation object of one cell, as the spreadsheet application hands it out.

#include "platform/spreadsheet/excel_book.h"
#include "platform/spreadsheet/member_args.h"

namespace ore {

using namespace automation::members;

// One cell. The application hands the same object out again for the next cell as soon as
// nobody holds it, so a sheets/cells/value chain allocates nothing.
class ExcelApplication::RangeObject : public automation::Object {
 public:
  explicit RangeObject(std::shared_ptr<Link> link) : link_(std::move(link)) {}

  Variant get(std::string_view member, Args args) override {
    ExcelApplication& app = link_->use();
    book_->checkOpen();
    if (is(member, "value")) {
      expectArgs(args, 0, "Range", member);
      return app.cellValue(*book_, sheet_, row_, col_);
    }
    if (is(member, "formula")) {
      expectArgs(args, 0, "Range", member);
      const Cell& c = book_->data.sheets[static_cast<size_t>(sheet_)].cell(row_, col_);
      if (!c.formula.empty()) return Variant(c.formula);
      Variant v = app.cellValue(*book_, sheet_, row_, col_);
      if (v.kind() == Variant::Kind::Error) return Variant(v.rawText());
      return Variant(v.toText(NumberFormat('.')));
    }
    if (is(member, "row")) {
      expectArgs(args, 0, "Range", member);
      return Variant(row_);
    }
    if (is(member, "column")) {
      expectArgs(args, 0, "Range", member);
      return Variant(col_);
    }
    unknownMember("Range", member);
  }

  void put(std::string_view member, Args args, const Variant& value) override {
    ExcelApplication& app = link_->use();
    book_->checkOpen();
    if (is(member, "value") || is(member, "formula")) {
      expectArgs(args, 0, "Range", member);
      app.write(*book_, sheet_, row_, col_, value);
      return;
    }
    if (is(member, "row") || is(member, "column")) notAssignable("Range", member);
    unknownMember("Range", member);
  }

  void point(Book* book, int sheet, std::int64_t row, std::int64_t col) {
    book_ = book;
    sheet_ = sheet;
    row_ = row;
    col_ = col;
  }

 private:
  std::shared_ptr<Link> link_;
  Book* book_ = nullptr;
  int sheet_ = 0;
  std::int64_t row_ = 0;
  std::int64_t col_ = 0;
};

}  // namespace ore
