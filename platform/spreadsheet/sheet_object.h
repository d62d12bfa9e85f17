#pragma once
// The automation object of one worksheet, as the spreadsheet application hands it out.

#include "platform/spreadsheet/excel_book.h"
#include "platform/spreadsheet/member_args.h"

namespace ore {

using namespace automation::members;

class ExcelApplication::SheetObject : public automation::Object {
 public:
  SheetObject(std::shared_ptr<Link> link, Book* book, int sheet)
      : link_(std::move(link)), book_(book), sheet_(sheet) {}

  Variant get(std::string_view member, Args args) override {
    ExcelApplication& app = link_->use();
    book_->checkOpen();
    if (is(member, "cells")) {
      expectArgs(args, 2, "Worksheet", member);
      std::int64_t row = intArg(args[0]), col = intArg(args[1]);
      app.checkCell(*book_, sheet_, row, col);
      return app.range(*book_, sheet_, row, col);
    }
    if (is(member, "name")) {
      expectArgs(args, 0, "Worksheet", member);
      return Variant(book_->data.sheets[static_cast<size_t>(sheet_)].name());
    }
    if (is(member, "index")) {
      expectArgs(args, 0, "Worksheet", member);
      return Variant(sheet_ + 1);
    }
    if (is(member, "activate")) {
      expectArgs(args, 0, "Worksheet", member);
      app.activate(*book_, sheet_);
      return {};
    }
    unknownMember("Worksheet", member);
  }

  void put(std::string_view member, Args args, const Variant& value) override {
    ExcelApplication& app = link_->use();
    book_->checkOpen();
    if (is(member, "cells")) {
      expectArgs(args, 2, "Worksheet", member);
      std::int64_t row = intArg(args[0]), col = intArg(args[1]);
      app.checkCell(*book_, sheet_, row, col);
      app.write(*book_, sheet_, row, col, value);
      return;
    }
    if (is(member, "name")) {
      expectArgs(args, 0, "Worksheet", member);
      app.rename(*book_, sheet_, textArg(value));
      return;
    }
    if (is(member, "index") || is(member, "activate")) notAssignable("Worksheet", member);
    unknownMember("Worksheet", member);
  }

 private:
  std::shared_ptr<Link> link_;
  Book* book_;
  int sheet_;
};

}  // namespace ore
