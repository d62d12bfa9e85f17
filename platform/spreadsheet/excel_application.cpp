#include "platform/spreadsheet/excel_application.h"

#include <algorithm>
#include <cmath>

#include "data/errors.h"
#include "platform/spreadsheet/cell_from_value.h"
#include "platform/spreadsheet/range_object.h"
#include "platform/spreadsheet/sheet_object.h"
#include "platform/spreadsheet/workbook_object.h"
#include "platform/spreadsheet/workbooks_object.h"
#include "platform/workbook/names.h"
#include "platform/workbook/workbook_reader.h"

namespace ore {

using automation::Args;
using automation::Variant;

namespace {

std::string columnText(std::int64_t col) {
  std::string s = std::to_string(col);
  if (col >= 1 && col <= Sheet::kMaxCols) s += " (" + columnLetters(col) + ")";
  return s;
}

std::string fileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ExcelApplication::ExcelApplication(Reader reader)
    : link_(std::make_shared<Link>()),
      reader_(std::move(reader)),
      booksMade_(std::make_shared<BookCounter>()) {
  link_->app = this;
  workbooks_ = std::make_shared<WorkbooksObject>(link_);
}

ExcelApplication::~ExcelApplication() {
  link_->app = nullptr;
}

void ExcelApplication::setReader(Reader reader) {
  reader_ = std::move(reader);
}

void ExcelApplication::shareBookCounter(std::shared_ptr<BookCounter> counter) {
  if (counter) booksMade_ = std::move(counter);
}

Variant ExcelApplication::get(std::string_view member, Args args) {
  checkUsable();
  // The import's chain comes first: it is called millions of times.
  if (is(member, "sheets") || is(member, "worksheets")) {
    expectArgs(args, 1, "Application", member);
    std::int64_t n = intArg(args[0]);
    if (!active_) noWorkbook("обращение к листу номер " + std::to_string(n) + " невозможно");
    return sheetObject(*active_, sheetAt(*active_, n));
  }
  if (is(member, "cells")) {
    expectArgs(args, 2, "Application", member);
    std::int64_t row = intArg(args[0]), col = intArg(args[1]);
    if (!active_) noWorkbook("чтение ячейки невозможно");
    checkCell(*active_, active_->activeSheet, row, col);
    return range(*active_, active_->activeSheet, row, col);
  }
  if (is(member, "workbooks")) {
    if (args.empty()) return Variant::fromObject(workbooks_);
    expectArgs(args, 1, "Application", member);
    return workbookObject(bookAt(intArg(args[0])));
  }
  if (is(member, "visible")) {
    expectArgs(args, 0, "Application", member);
    return Variant(visible_);
  }
  if (is(member, "activeworkbook")) {
    expectArgs(args, 0, "Application", member);
    return active_ ? workbookObject(*active_) : Variant();
  }
  if (is(member, "activesheet")) {
    expectArgs(args, 0, "Application", member);
    return active_ ? sheetObject(*active_, active_->activeSheet) : Variant();
  }
  if (is(member, "quit")) {
    expectArgs(args, 0, "Application", member);
    quit("Приложение электронных таблиц завершено: его книги больше недоступны");
    return {};
  }
  unknownMember("Application", member);
}

void ExcelApplication::put(std::string_view member, Args args, const Variant& value) {
  checkUsable();
  if (is(member, "cells")) {
    expectArgs(args, 2, "Application", member);
    std::int64_t row = intArg(args[0]), col = intArg(args[1]);
    if (!active_)
      noWorkbook("запись в ячейку (строка " + std::to_string(row) + ", столбец " +
                 std::to_string(col) + ") невозможна");
    checkCell(*active_, active_->activeSheet, row, col);
    write(*active_, active_->activeSheet, row, col, value);
    return;
  }
  if (is(member, "visible")) {
    expectArgs(args, 0, "Application", member);
    bool v = boolArg(value);
    if (v == visible_) return;
    visible_ = v;
    notify([v](Observer& o) { o.visibilityChanged(v); });
    return;
  }
  if (is(member, "sheets") || is(member, "worksheets") || is(member, "workbooks") ||
      is(member, "activeworkbook") || is(member, "activesheet") || is(member, "quit"))
    notAssignable("Application", member);
  unknownMember("Application", member);
}

void ExcelApplication::checkUsable() const {
  if (quit_) throw Error(quitMessage_);
}

ExcelApplication::Book& ExcelApplication::activeBook(const std::string& purpose) {
  if (!active_) noWorkbook(purpose);
  return *active_;
}

ExcelApplication::Book& ExcelApplication::bookAt(std::int64_t book) {
  if (book < 1 || book > static_cast<std::int64_t>(books_.size()))
    throw Error("Нет рабочей книги номер " + std::to_string(book) + ": открыто книг " +
                std::to_string(books_.size()));
  return *books_[static_cast<size_t>(book - 1)];
}

int ExcelApplication::bookNumber(const Book& b) const {
  for (size_t i = 0; i < books_.size(); ++i)
    if (books_[i].get() == &b) return static_cast<int>(i) + 1;
  return 0;
}

int ExcelApplication::sheetAt(const Book& b, std::int64_t sheet) const {
  std::int64_t n = static_cast<std::int64_t>(b.data.sheets.size());
  if (sheet < 1 || sheet > n)
    throw Error("В книге «" + b.name + "» нет листа номер " + std::to_string(sheet) +
                ": листов в ней " + std::to_string(n));
  return static_cast<int>(sheet - 1);
}

void ExcelApplication::checkCell(const Book& b, int sheet, std::int64_t row,
                                 std::int64_t col) const {
  bool rowOk = row >= 1 && row <= Sheet::kMaxRows;
  bool colOk = col >= 1 && col <= Sheet::kMaxCols;
  if (rowOk && colOk) return;
  std::string where =
      "Лист «" + b.data.sheets[static_cast<size_t>(sheet)].name() + "» книги «" + b.name + "», ";
  if (!rowOk)
    throw Error(where + "столбец " + columnText(col) + ": номер строки " + std::to_string(row) +
                " недопустим, строки листа нумеруются от 1 до " + std::to_string(Sheet::kMaxRows));
  throw Error(where + "строка " + std::to_string(row) + ": номер столбца " + std::to_string(col) +
              " недопустим, столбцы листа нумеруются от 1 (A) до " +
              std::to_string(Sheet::kMaxCols) + " (" + columnLetters(Sheet::kMaxCols) + ")");
}

Variant ExcelApplication::sheetObject(Book& b, int sheet) {
  if (b.sheetObjects.size() < b.data.sheets.size()) b.sheetObjects.resize(b.data.sheets.size());
  auto& slot = b.sheetObjects[static_cast<size_t>(sheet)];
  if (!slot) slot = std::make_shared<SheetObject>(link_, &b, sheet);
  return Variant::fromObject(slot);
}

Variant ExcelApplication::workbookObject(Book& b) {
  if (!b.object) b.object = std::make_shared<WorkbookObject>(link_, &b);
  return Variant::fromObject(b.object);
}

Variant ExcelApplication::range(Book& b, int sheet, std::int64_t row, std::int64_t col) {
  if (!spareRange_ || spareRange_.use_count() != 1)
    spareRange_ = std::make_shared<RangeObject>(link_);
  spareRange_->point(&b, sheet, row, col);
  return Variant::fromObject(spareRange_);
}

Variant ExcelApplication::cellValue(const Book& b, int sheet, std::int64_t row,
                                    std::int64_t col) const {
  const Cell& c = b.data.sheets[static_cast<size_t>(sheet)].cell(row, col);
  switch (c.type) {
    case Cell::Type::Empty:
      return {};
    case Cell::Type::Number:
      return Variant(c.number);
    case Cell::Type::Text:
      return Variant::fromText(c.text);
    case Cell::Type::Logical:
      return Variant(c.number != 0);
    case Cell::Type::Date:
      return Variant::fromDate(c.number);
    case Cell::Type::Error:
      return Variant::fromError(c.text);
  }
  return {};
}

void ExcelApplication::write(Book& b, int sheet, std::int64_t row, std::int64_t col,
                             const Variant& value) {
  b.data.sheets[static_cast<size_t>(sheet)].set(row, col, cellFromValue(value));
  int book = bookNumber(b);
  notify([&](Observer& o) { o.cellWritten(book, sheet + 1, row, col); });
}

Variant ExcelApplication::open(const std::string& path) {
  Workbook wb = reader_         ? reader_(path)
                : openProgress_ ? readWorkbook(path, *openProgress_)
                                : readWorkbook(path);
  // Every book has a sheet, so the active sheet always exists.
  if (wb.sheets.empty()) throw Error("В книге «" + fileNameOf(path) + "» нет ни одного листа");
  auto book = std::make_unique<Book>();
  book->data = std::move(wb);
  if (book->data.path.empty()) book->data.path = path;
  book->name = fileNameOf(path);
  books_.push_back(std::move(book));
  active_ = books_.back().get();
  int n = workbookCount();
  notify([n](Observer& o) { o.workbookAdded(n); });
  return workbookObject(*active_);
}

Variant ExcelApplication::add(Args args) {
  if (args.size() > 1)
    throw Error("Член «add» объекта «Workbooks» ожидает аргументов: 0 или 1, передано: " +
                std::to_string(args.size()));
  if (args.size() == 1) {
    if (args[0].kind() == Variant::Kind::Text)
      throw Error("Шаблон новой книги «" + args[0].rawText() +
                  "» не поддерживается: поддерживается только -4167 (книга из одного листа)");
    std::int64_t t = intArg(args[0]);
    if (t != kOneSheetTemplate)
      throw Error("Шаблон новой книги " + std::to_string(t) +
                  " не поддерживается: поддерживается только -4167 (книга из одного листа)");
  }
  auto book = std::make_unique<Book>();
  book->name = "Книга" + std::to_string(++booksMade_->made);
  book->data.sheets.emplace_back("Лист1");
  books_.push_back(std::move(book));
  active_ = books_.back().get();
  int n = workbookCount();
  notify([n](Observer& o) { o.workbookAdded(n); });
  return workbookObject(*active_);
}

void ExcelApplication::closeAll() {
  for (auto& b : books_) {
    b->closed = true;
    b->data = Workbook{};
    b->sheetObjects.clear();
    b->object.reset();
    closed_.push_back(std::move(b));
  }
  books_.clear();
  active_ = nullptr;
  notify([](Observer& o) { o.workbooksClosed(); });
}

void ExcelApplication::activate(Book& b, int sheet) {
  active_ = &b;
  b.activeSheet = sheet;
  int book = bookNumber(b);
  notify([&](Observer& o) { o.activeSheetChanged(book, sheet + 1); });
}

void ExcelApplication::rename(Book& b, int sheet, const std::string& name) {
  if (sheetNameFault(name) != SheetNameFault::None)
    throw Error("Недопустимое имя листа «" + name +
                "»: имя должно быть непустым, не длиннее 31 знака, без знаков : \\ / ? * [ ] и "
                "без апострофа в начале и в конце");
  for (size_t i = 0; i < b.data.sheets.size(); ++i)
    if (static_cast<int>(i) != sheet && sameSheetName(b.data.sheets[i].name(), name))
      throw Error("В книге «" + b.name + "» уже есть лист с именем «" + name + "»");
  b.data.sheets[static_cast<size_t>(sheet)].setName(name);
  int book = bookNumber(b);
  notify([&](Observer& o) { o.sheetRenamed(book, sheet + 1); });
}

template <class F>
void ExcelApplication::notify(F&& f) {
  struct Scope {
    ExcelApplication& app;
    explicit Scope(ExcelApplication& a) : app(a) { ++app.notifying_; }
    ~Scope() {
      if (--app.notifying_ == 0) std::erase(app.observers_, nullptr);
    }
  } scope(*this);
  // By index: an observer may add or remove observers while it is told.
  for (size_t i = 0; i < observers_.size(); ++i)
    if (Observer* o = observers_[i]) f(*o);
}

const Workbook& ExcelApplication::workbook(int book) const {
  return const_cast<ExcelApplication*>(this)->bookAt(book).data;
}

Workbook& ExcelApplication::workbook(int book) {
  return bookAt(book).data;
}

const std::string& ExcelApplication::workbookName(int book) const {
  return const_cast<ExcelApplication*>(this)->bookAt(book).name;
}

int ExcelApplication::activeWorkbook() const {
  return active_ ? bookNumber(*active_) : 0;
}

int ExcelApplication::activeSheet() const {
  return active_ ? active_->activeSheet + 1 : 0;
}

void ExcelApplication::setActiveWorkbook(int book) {
  Book& b = bookAt(book);
  activate(b, b.activeSheet);
}

void ExcelApplication::setActiveSheet(int sheet) {
  Book& b = activeBook("выбрать лист номер " + std::to_string(sheet) + " невозможно");
  activate(b, sheetAt(b, sheet));
}

int ExcelApplication::addSheet() {
  checkUsable();
  Book& b = activeBook("добавить лист невозможно");
  auto taken = [&](const std::string& name) {
    return std::any_of(b.data.sheets.begin(), b.data.sheets.end(),
                       [&](const Sheet& s) { return sameSheetName(s.name(), name); });
  };
  size_t n = b.data.sheets.size() + 1;
  while (taken("Лист" + std::to_string(n))) ++n;
  b.data.sheets.emplace_back("Лист" + std::to_string(n));
  int book = bookNumber(b);
  int sheet = static_cast<int>(b.data.sheets.size());
  notify([&](Observer& o) { o.sheetAdded(book, sheet); });
  return sheet;
}

void ExcelApplication::writeCell(int book, int sheet, std::int64_t row, std::int64_t col,
                                 const Variant& value) {
  checkUsable();
  Book& b = bookAt(book);
  int s = sheetAt(b, sheet);
  checkCell(b, s, row, col);
  write(b, s, row, col, value);
}

void ExcelApplication::quit(std::string message) {
  if (quit_) return;
  quit_ = true;
  quitMessage_ = std::move(message);
  for (auto& b : books_) {
    b->data.sheets.clear();
    b->sheetObjects.clear();
  }
}

void ExcelApplication::addObserver(Observer* o) {
  if (o && std::find(observers_.begin(), observers_.end(), o) == observers_.end())
    observers_.push_back(o);
}

void ExcelApplication::removeObserver(Observer* o) {
  auto it = std::find(observers_.begin(), observers_.end(), o);
  if (it == observers_.end()) return;
  if (notifying_)
    *it = nullptr;
  else
    observers_.erase(it);
}

}  // namespace ore
