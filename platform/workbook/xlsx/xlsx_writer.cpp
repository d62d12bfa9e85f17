#include "platform/workbook/xlsx/xlsx_writer.h"

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "data/errors.h"
#include "platform/workbook/names.h"

namespace ore {

namespace {
namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
  throw Error("Не удается сохранить книгу в файл «" + path + "»: " + reason);
}

std::string systemReason(int err, const std::string& dir) {
  switch (err) {
    case EACCES:
    case EPERM:
      return "нет прав на запись в папку «" + dir + "»";
    case ENOENT:
    case ENOTDIR:
      return "папка «" + dir + "» не найдена";
    case EROFS:
      return "папка «" + dir + "» находится на диске только для чтения";
    case ENOSPC:
    case EDQUOT:
      return "на диске нет места";
    case ENAMETOOLONG:
      return "слишком длинное имя файла";
    default:
      return std::strerror(err);
  }
}

std::string cellName(const Sheet& sheet, std::int64_t row, std::int64_t col) {
  return "«" + sheet.name() + "»!" + columnLetters(col) + std::to_string(row);
}

// The rules the format sets for sheet names, checked here so the message can say which.
void checkSheetNames(const Workbook& wb, const std::string& path) {
  if (wb.sheets.empty()) fail(path, "в книге нет листов");
  for (size_t i = 0; i < wb.sheets.size(); ++i) {
    const std::string& name = wb.sheets[i].name();
    for (size_t j = 0; j < i; ++j)
      if (sameSheetName(wb.sheets[j].name(), name))
        fail(path, "имя листа «" + name + "» повторяется");
    switch (sheetNameFault(name)) {
      case SheetNameFault::None:
        break;
      case SheetNameFault::Empty:
        fail(path, "у листа " + std::to_string(i + 1) + " нет имени");
      case SheetNameFault::TooLong:
        fail(path, "имя листа «" + name + "» длиннее 31 знака");
      case SheetNameFault::BadCharacter:
        fail(path, "имя листа «" + name + "» содержит недопустимый знак ([ ] : * ? / \\)");
      case SheetNameFault::Apostrophe:
        fail(path, "имя листа «" + name + "» начинается или кончается апострофом");
    }
  }
}

// Owns the libxlsxwriter workbook and the temporary file until the save is complete.
class Writer {
 public:
  Writer(const std::string& path, const std::string& tmp) : path_(path), tmp_(tmp) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    book_ = workbook_new_opt(tmp_.c_str(), &options);
    if (!book_) fail(path_, "недостаточно памяти");
  }
  ~Writer() {
    if (book_) lxw_workbook_free(book_);  // abandoned: nothing more is written
    if (!committed_) ::unlink(tmp_.c_str());
  }

  void addSheet(const Sheet& sheet) {
    lxw_error nameError = workbook_validate_sheet_name(book_, sheet.name().c_str());
    if (nameError == LXW_ERROR_SHEETNAME_ALREADY_USED)
      fail(path_, "имя листа «" + sheet.name() + "» повторяется");
    if (nameError != LXW_NO_ERROR)
      fail(path_,
           "недопустимое имя листа «" + sheet.name() + "» (" + lxw_strerror(nameError) + ")");
    lxw_worksheet* ws = workbook_add_worksheet(book_, sheet.name().c_str());
    if (!ws) fail(path_, "не удалось добавить лист «" + sheet.name() + "»");
    const std::int64_t lastCol = sheet.lastCol();
    for (std::int64_t r = 1; r <= sheet.lastRow(); ++r)
      for (std::int64_t c = 1; c <= lastCol; ++c) {
        const Cell& cell = sheet.cell(r, c);
        if (cell.type == Cell::Type::Empty && cell.formula.empty()) continue;
        writeCell(ws, sheet, r, c, cell);
      }
  }

  // The file is only written here: its result decides whether the save succeeded.
  void close() {
    errno = 0;
    lxw_error err = workbook_close(book_);
    book_ = nullptr;
    if (err == LXW_NO_ERROR) return;
    if (errno != 0) fail(path_, systemReason(errno, fs::path(path_).parent_path().string()));
    fail(path_, std::string("ошибка записи xlsx: ") + lxw_strerror(err));
  }

  void commit() {
    if (std::rename(tmp_.c_str(), path_.c_str()) != 0)
      fail(path_, systemReason(errno, fs::path(path_).parent_path().string()));
    committed_ = true;
  }

 private:
  lxw_format* dateFormat(bool withTime) {
    lxw_format*& f = withTime ? dateTime_ : date_;
    if (!f) {
      f = workbook_add_format(book_);
      format_set_num_format(f, withTime ? "dd.mm.yyyy hh:mm:ss" : "dd.mm.yyyy");
    }
    return f;
  }

  void writeCell(lxw_worksheet* ws, const Sheet& sheet, std::int64_t r, std::int64_t c,
                 const Cell& cell) {
    const auto row = static_cast<lxw_row_t>(r - 1);
    const auto col = static_cast<lxw_col_t>(c - 1);
    const bool numeric = cell.type == Cell::Type::Number || cell.type == Cell::Type::Date ||
                         cell.type == Cell::Type::Logical;
    if (numeric && !std::isfinite(cell.number))
      fail(path_, "значение ячейки " + cellName(sheet, r, c) + " не является конечным числом");
    lxw_format* format = nullptr;
    if (cell.type == Cell::Type::Date) format = dateFormat(cell.number != std::floor(cell.number));

    lxw_error err = LXW_NO_ERROR;
    if (!cell.formula.empty()) {
      if (cell.type == Cell::Type::Text || cell.type == Cell::Type::Error)
        err = worksheet_write_formula_str(ws, row, col, cell.formula.c_str(), format,
                                          cell.text.c_str());
      else
        err = worksheet_write_formula_num(ws, row, col, cell.formula.c_str(), format,
                                          cell.type == Cell::Type::Empty ? 0 : cell.number);
    } else {
      switch (cell.type) {
        case Cell::Type::Number:
        case Cell::Type::Date:
          err = worksheet_write_number(ws, row, col, cell.number, format);
          break;
        case Cell::Type::Text:
          err = worksheet_write_string(ws, row, col, cell.text.c_str(), nullptr);
          break;
        case Cell::Type::Logical:
          err = worksheet_write_boolean(ws, row, col, cell.number != 0, nullptr);
          break;
        case Cell::Type::Error:
          // An error value can only be stored as the formula that yields it.
          err = worksheet_write_formula_str(ws, row, col, cell.text.c_str(), nullptr,
                                            cell.text.c_str());
          break;
        case Cell::Type::Empty:
          break;
      }
    }
    if (err == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
      fail(path_, "текст ячейки " + cellName(sheet, r, c) + " длиннее 32767 знаков");
    if (err != LXW_NO_ERROR)
      fail(path_, "ячейка " + cellName(sheet, r, c) + ": " + lxw_strerror(err));
  }

  std::string path_;
  std::string tmp_;
  lxw_workbook* book_ = nullptr;
  lxw_format* date_ = nullptr;
  lxw_format* dateTime_ = nullptr;
  bool committed_ = false;
};

// libxlsxwriter prints numbers with the C library's printf, which follows the locale: under a
// locale with a decimal comma it would write 12,5 into the XML and the file would not open.
// The writing runs with the C number rules on this thread only.
class CNumbers {
 public:
  CNumbers() {
    locale_t base = ::duplocale(::uselocale(static_cast<locale_t>(0)));
    if (base) own_ = ::newlocale(LC_NUMERIC_MASK, "C", base);
    if (own_)
      previous_ = ::uselocale(own_);
    else if (base)
      ::freelocale(base);
  }
  ~CNumbers() {
    if (!own_) return;
    ::uselocale(previous_);
    ::freelocale(own_);
  }
  CNumbers(const CNumbers&) = delete;
  CNumbers& operator=(const CNumbers&) = delete;

 private:
  locale_t own_ = static_cast<locale_t>(0);
  locale_t previous_ = static_cast<locale_t>(0);
};

// Reserves a temporary file beside the target, with the permissions the target will have.
std::string reserveTemporary(const std::string& path, const fs::path& dir) {
  std::string tmpl = (dir / ("." + fs::path(path).filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) fail(path, systemReason(errno, dir.string()));
  struct stat st {};
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  ::close(fd);
  return tmpl;
}
}  // namespace

void writeXlsx(const Workbook& wb, const std::string& path) {
  if (path.empty()) throw Error("Не указано имя файла для сохранения книги");
  std::error_code ec;
  fs::path target(path);
  // Saving through a link replaces the file it points to, not the link.
  if (fs::is_symlink(target, ec)) target = fs::weakly_canonical(target, ec);
  const std::string file = target.string();
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";

  if (fs::is_directory(target, ec)) fail(path, "это папка");
  if (!fs::is_directory(dir, ec)) fail(path, "папка «" + dir.string() + "» не найдена");
  if (fs::exists(target, ec) && ::access(file.c_str(), W_OK) != 0)
    fail(path, "файл доступен только для чтения");
  checkSheetNames(wb, path);

  CNumbers numbers;
  Writer writer(file, reserveTemporary(file, dir));
  for (const Sheet& sheet : wb.sheets) writer.addSheet(sheet);
  writer.close();
  writer.commit();
}

}  // namespace ore
