#pragma once
// The automation object of one workbook, as the spreadsheet application hands it out.

#include "platform/spreadsheet/excel_book.h"
#include "platform/spreadsheet/member_args.h"

namespace ore {

using namespace automation::members;

class ExcelApplication::WorkbookObject : public automation::Object {
 public:
  WorkbookObject(std::shared_ptr<Link> link, Book* book) : link_(std::move(link)), book_(book) {}

  Variant get(std::string_view member, Args args) override {
    ExcelApplication& app = link_->use();
    book_->checkOpen();
    if (is(member, "worksheets") || is(member, "sheets")) {
      expectArgs(args, 1, "Workbook", member);
      return app.sheetObject(*book_, app.sheetAt(*book_, intArg(args[0])));
    }
    if (is(member, "name")) {
      expectArgs(args, 0, "Workbook", member);
      return Variant(book_->name);
    }
    unknownMember("Workbook", member);
  }

  void put(std::string_view member, Args, const Variant&) override {
    link_->use();
    book_->checkOpen();
    if (is(member, "worksheets") || is(member, "sheets") || is(member, "name"))
      notAssignable("Workbook", member);
    unknownMember("Workbook", member);
  }

 private:
  std::shared_ptr<Link> link_;
  Book* book_;
};

}  // namespace ore
