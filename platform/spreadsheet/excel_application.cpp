#include "platform/spreadsheet/excel_application.h"

#include <algorithm>
#include <cmath>

#include "data/errors.h"
#include "platform/workbook/workbook_reader.h"

namespace ore {

using automation::Args;
using automation::Variant;

namespace {

constexpr const char* kReleasedMessage =
    "Приложение электронных таблиц уже освобождено: его книги, листы и ячейки больше недоступны";

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Member names are compared without regard to case, as automation resolves them. The name
// asked for is given in lower case.
bool is(std::string_view member, std::string_view name) {
  if (member.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (lower(member[i]) != name[i]) return false;
  return true;
}

[[noreturn]] void noWorkbook(const std::string& purpose) {
  throw Error("Нет открытой рабочей книги: " + purpose);
}

[[noreturn]] void unknownMember(const char* object, std::string_view member) {
  throw Error("Объект «" + std::string(object) + "» не имеет члена «" + std::string(member) + "»");
}

[[noreturn]] void notAssignable(const char* object, std::string_view member) {
  throw Error("Члену «" + std::string(member) + "» объекта «" + std::string(object) +
              "» нельзя присвоить значение");
}

void expectArgs(Args args, size_t n, const char* object, std::string_view member) {
  if (args.size() == n) return;
  throw Error("Член «" + std::string(member) + "» объекта «" + std::string(object) +
              "» ожидает аргументов: " + std::to_string(n) +
              ", передано: " + std::to_string(args.size()));
}

// An integer argument, coerced as automation coerces (rounding half to even).
std::int64_t intArg(const Variant& v) {
  using K = Variant::Kind;
  switch (v.kind()) {
    case K::Empty:
      return 0;
    case K::Bool:
      return v.rawNumber() != 0 ? -1 : 0;
    case K::Double:
    case K::Date: {
      double x = std::nearbyint(v.rawNumber());
      if (x > -9.0e18 && x < 9.0e18) return static_cast<std::int64_t>(x);
      break;
    }
    case K::Text: {
      std::int32_t n = 0;
      if (NumberFormat(',').tryParseInteger(v.rawText(), n)) return n;
      break;
    }
    case K::Object:
    case K::Error:
      break;
  }
  throw Error(msg::variantConvert(v.typeName(), "Integer"));
}

std::string textArg(const Variant& v) {
  if (v.kind() == Variant::Kind::Text) return v.rawText();
  return v.toText(NumberFormat(','));
}

bool boolArg(const Variant& v) {
  using K = Variant::Kind;
  switch (v.kind()) {
    case K::Empty:
      return false;
    case K::Bool:
    case K::Double:
      return v.rawNumber() != 0;
    case K::Text: {
      std::string_view t = v.rawText();
      if (is(t, "true")) return true;
      if (is(t, "false")) return false;
      double x = 0;
      if (NumberFormat(',').tryParseReal(t, x)) return x != 0;
      break;
    }
    case K::Date:
    case K::Object:
    case K::Error:
      break;
  }
  throw Error(msg::variantConvert(v.typeName(), "Boolean"));
}

// "A".."Z", "AA".. as the spreadsheet names its columns.
std::string columnLetters(std::int64_t col) {
  std::string s;
  while (col > 0) {
    --col;
    s.insert(s.begin(), static_cast<char>('A' + col % 26));
    col /= 26;
  }
  return s;
}

std::string columnText(std::int64_t col) {
  std::string s = std::to_string(col);
  if (col >= 1 && col <= Sheet::kMaxCols) s += " (" + columnLetters(col) + ")";
  return s;
}

std::string fileNameOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A text that is "=" and a number is a formula showing that number; another formula cannot be
// computed here and shows the spreadsheet's "#NAME?".
Cell cellFromValue(const Variant& v) {
  using K = Variant::Kind;
  Cell c;
  switch (v.kind()) {
    case K::Empty:
      return c;
    case K::Double:
      c.type = Cell::Type::Number;
      c.number = v.rawNumber();
      return c;
    case K::Bool:
      c.type = Cell::Type::Logical;
      c.number = v.rawNumber() != 0 ? 1 : 0;
      return c;
    case K::Date:
      c.type = Cell::Type::Date;
      c.number = v.rawNumber();
      return c;
    case K::Error:
      c.type = Cell::Type::Error;
      c.text = v.rawText();
      return c;
    case K::Text: {
      const std::string& t = v.rawText();
      if (t.empty()) return c;  // writing the empty text clears the cell
      if (t[0] != '=') {
        c.type = Cell::Type::Text;
        c.text = t;
        return c;
      }
      c.formula = t;
      // Formulas are written in the spreadsheet's own language: a point before the decimals.
      if (NumberFormat('.').tryParseReal(std::string_view(t).substr(1), c.number)) {
        c.type = Cell::Type::Number;
      } else {
        c.type = Cell::Type::Error;
        c.text = "#NAME?";
      }
      return c;
    }
    case K::Object:
      break;
  }
  throw Error("В ячейку нельзя записать объект автоматизации");
}

size_t utf8Length(std::string_view s) {
  size_t n = 0;
  for (char ch : s)
    if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
  return n;
}

bool sameSheetName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace

// What the objects handed out reach the application through; the application clears it when
// it goes away, so an object kept longer fails with a message instead of touching freed memory.
struct ExcelApplication::Link {
  ExcelApplication* app = nullptr;

  ExcelApplication& use() const {
    if (!app) throw Error(kReleasedMessage);
    app->checkUsable();
    return *app;
  }
};

struct ExcelApplication::Book {
  Workbook data;
  std::string name;
  int activeSheet = 0;  // 0-based
  bool closed = false;
  std::vector<std::shared_ptr<SheetObject>> sheetObjects;  // made on first use
  std::shared_ptr<WorkbookObject> object;

  void checkOpen() const {
    if (closed)
      throw Error("Рабочая книга «" + name + "» закрыта: ее листы и ячейки больше недоступны");
  }
};

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

ExcelApplication::ExcelApplication(Reader reader)
    : link_(std::make_shared<Link>()), reader_(std::move(reader)) {
  link_->app = this;
  workbooks_ = std::make_shared<WorkbooksObject>(link_);
}

ExcelApplication::~ExcelApplication() {
  link_->app = nullptr;
}

void ExcelApplication::setReader(Reader reader) {
  reader_ = std::move(reader);
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
  Workbook wb = reader_ ? reader_(path) : readWorkbook(path);
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
  book->name = "Книга" + std::to_string(++booksMade_);
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
  size_t len = utf8Length(name);
  bool ok = len >= 1 && len <= 31 && name.find_first_of(":\\/?*[]") == std::string::npos &&
            name.front() != '\'' && name.back() != '\'';
  if (!ok)
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
