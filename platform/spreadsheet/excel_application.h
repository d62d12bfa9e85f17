#pragma once
// "excel.application": the spreadsheet application of the automation layer, over our workbook
// model. The import opens a workbook and reads cells through it; the report adds a one-sheet
// workbook and writes cells on the active sheet; a window may follow it through an Observer.
//
// Members, called by name whatever their case (books, sheets, rows and columns from 1):
//   Application  get  workbooks          -> the Workbooks collection
//                get  workbooks (i)      -> workbook i
//                get  sheets (i), worksheets (i) -> sheet i of the active workbook
//                get  cells (row, col)   -> cell of the active sheet
//                get  activeworkbook, activesheet, visible, quit
//                put  visible (bool), cells (row, col) = value (on the active sheet)
//   Workbooks    get  open (path)        -> reads the file, which becomes the active workbook
//                get  add [(-4167)]      -> a new workbook of one sheet "Лист1", made active
//                get  close              -> closes every workbook
//                get  count, item (i)
//   Workbook     get  worksheets (i), sheets (i), name, close, activate
//   Worksheet    get  cells (row, col), name, index, activate;  put name, cells (row, col)
//   Cell         get  value, formula, row, column;  put value
// Every call on this application or an object it handed out fails with a clear Russian message
// once quit() was called, once the application is gone, or when its workbook was closed.
//
// Member calls are cheap: no string is built and no cell copied on the way to a cell's value
// (the value's own text aside), and the objects of a sheets/cells/value chain are reused.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/progress.h"
#include "platform/spreadsheet/automation.h"
#include "platform/workbook/workbook.h"

namespace ore {

// How many workbooks "add" has made, for their names "Книга1", "Книга2", ...: an application
// counts its own unless it is given one shared with others, as the report applications of one
// program share theirs, so that a second report is "Книга2" as a spreadsheet would name it.
struct BookCounter {
  int made = 0;
};

class ExcelApplication : public automation::Object {
 public:
  using Reader = std::function<Workbook(const std::string& path)>;

  // Told about every change a window showing the application follows. Books and sheets are
  // numbered from 1, as the members number them.
  class Observer {
   public:
    virtual ~Observer() = default;
    virtual void visibilityChanged(bool /*visible*/) {}
    virtual void workbookAdded(int /*book*/) {}  // added or opened; it is the active one now
    virtual void workbooksClosed() {}            // "close" on the collection: no book is open
    virtual void sheetAdded(int /*book*/, int /*sheet*/) {}
    virtual void sheetRenamed(int /*book*/, int /*sheet*/) {}
    virtual void activeSheetChanged(int /*book*/, int /*sheet*/) {}
    virtual void cellWritten(int /*book*/, int /*sheet*/, std::int64_t /*row*/,
                             std::int64_t /*col*/) {}
  };

  // The argument of "add" that asks for a workbook of one worksheet.
  static constexpr int kOneSheetTemplate = automation::kOneSheetTemplate;
  // What every call answers after quit() (the report window closes the application so).
  static constexpr const char* kReportClosedMessage =
      "Окно отчета закрыто: книга отчета больше недоступна";

  // reader opens the files of "open" (the workbook readers by default; tests give their own).
  explicit ExcelApplication(Reader reader = {});
  ~ExcelApplication() override;
  ExcelApplication(const ExcelApplication&) = delete;
  ExcelApplication& operator=(const ExcelApplication&) = delete;

  automation::Variant get(std::string_view member, automation::Args args = {}) override;
  void put(std::string_view member, automation::Args args,
           const automation::Variant& value) override;

  void setReader(Reader reader);
  // Whether "open" reads files through the workbook readers (no reader of its own was given).
  bool readsFilesItself() const { return !reader_; }
  // Where the workbook readers report while "open" reads a file (nullptr: nobody); a reader
  // given above reports nothing. Not owned: reset it before the progress goes away.
  void setOpenProgress(Progress* progress) { openProgress_ = progress; }
  // Names the workbooks "add" makes from now on by counter (never null).
  void shareBookCounter(std::shared_ptr<BookCounter> counter);

  // --- For the window that shows the application; none of these is a member call.
  bool visible() const { return visible_; }
  int workbookCount() const { return static_cast<int>(books_.size()); }
  // Book i (1-based); throws ore::Error when there is no such book.
  const Workbook& workbook(int book) const;
  // The same book for the window that lets the user edit its cells in place.
  Workbook& workbook(int book);
  const std::string& workbookName(int book) const;  // "Книга1", or the file's name
  int activeWorkbook() const;                       // 0 when no workbook is open
  int activeSheet() const;  // of the active workbook; 0 when no workbook is open
  // Makes book i the active one / sheet i of the active book the active sheet (where "cells"
  // of the application reads and writes). Throw ore::Error for a number out of range.
  void setActiveWorkbook(int book);
  void setActiveSheet(int sheet);
  // Appends a sheet "ЛистN" to the active workbook and returns its number; it is not activated.
  int addSheet();
  // Writes a value as "cells" put does, into any sheet of any book.
  void writeCell(int book, int sheet, std::int64_t row, std::int64_t col,
                 const automation::Variant& value);

  // Closes the application for good: every later member call, on it or on an object it handed
  // out, throws ore::Error(message). The workbooks' cells are freed.
  void quit(std::string message = kReportClosedMessage);
  bool hasQuit() const { return quit_; }

  // Observers are not owned; remove one before it goes away.
  void addObserver(Observer* o);
  void removeObserver(Observer* o);

 private:
  struct Book;
  struct Link;
  class WorkbooksObject;
  class WorkbookObject;
  class SheetObject;
  class RangeObject;

  void checkUsable() const;
  Book& activeBook(const std::string& purpose);
  Book& bookAt(std::int64_t book);
  int bookNumber(const Book& b) const;
  int sheetAt(const Book& b, std::int64_t sheet) const;  // 0-based index, or throws
  void checkCell(const Book& b, int sheet, std::int64_t row, std::int64_t col) const;
  automation::Variant sheetObject(Book& b, int sheet);
  automation::Variant workbookObject(Book& b);
  automation::Variant range(Book& b, int sheet, std::int64_t row, std::int64_t col);
  automation::Variant cellValue(const Book& b, int sheet, std::int64_t row, std::int64_t col) const;
  void write(Book& b, int sheet, std::int64_t row, std::int64_t col,
             const automation::Variant& value);
  automation::Variant open(const std::string& path);
  automation::Variant add(automation::Args args);
  void closeAll();
  void activate(Book& b, int sheet);
  void rename(Book& b, int sheet, const std::string& name);
  template <class F>
  void notify(F&& f);

  std::shared_ptr<Link> link_;
  Reader reader_;
  Progress* openProgress_ = nullptr;
  bool visible_ = false;
  bool quit_ = false;
  std::string quitMessage_;
  std::shared_ptr<BookCounter> booksMade_;     // for the names "Книга1", "Книга2", ...
  std::vector<std::unique_ptr<Book>> books_;   // open, in the order of the collection
  std::vector<std::unique_ptr<Book>> closed_;  // emptied, kept so old objects fail cleanly
  Book* active_ = nullptr;
  std::shared_ptr<WorkbooksObject> workbooks_;  // stateless: one for all calls
  std::shared_ptr<RangeObject> spareRange_;     // reused once nobody holds it any more
  std::vector<Observer*> observers_;
  int notifying_ = 0;
};

}  // namespace ore
