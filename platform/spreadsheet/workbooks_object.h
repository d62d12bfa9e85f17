#pragma once
// The automation object of the Workbooks collection, as the spreadsheet application hands it out.

#include "platform/spreadsheet/excel_book.h"
#include "platform/spreadsheet/member_args.h"

namespace ore {

using namespace automation::members;

class ExcelApplication::WorkbooksObject : public automation::Object {
 public:
  explicit WorkbooksObject(std::shared_ptr<Link> link) : link_(std::move(link)) {}

  Variant get(std::string_view member, Args args) override {
    ExcelApplication& app = link_->use();
    if (is(member, "open")) {
      expectArgs(args, 1, "Workbooks", member);
      return app.open(textArg(args[0]));
    }
    if (is(member, "add")) return app.add(args);
    if (is(member, "close")) {
      expectArgs(args, 0, "Workbooks", member);
      app.closeAll();
      return {};
    }
    if (is(member, "count")) {
      expectArgs(args, 0, "Workbooks", member);
      return Variant(app.workbookCount());
    }
    if (is(member, "item")) {
      expectArgs(args, 1, "Workbooks", member);
      return app.workbookObject(app.bookAt(intArg(args[0])));
    }
    unknownMember("Workbooks", member);
  }

  void put(std::string_view member, Args, const Variant&) override {
    link_->use();
    if (is(member, "open") || is(member, "add") || is(member, "close") || is(member, "count") ||
        is(member, "item"))
      notAssignable("Workbooks", member);
    unknownMember("Workbooks", member);
  }

 private:
  std::shared_ptr<Link> link_;
};

}  // namespace ore
