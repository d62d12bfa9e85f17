#include "platform/workbook/xlsx/xlsx_writer.h"

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"
#include "platform/workbook/cell_values.h"
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
      return noFolderAccessReason(dir);
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

// A text as a cell of the file holds it. XML cannot hold most control characters nor U+FFFE and
// U+FFFF; the format writes those as _xHHHH_, and so an underscore that starts such a sequence in
// the text itself is written _x005F_. Readers turn both back into the text as it was.
std::string cellText(const std::string& s) {
  auto isHex = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
  };
  auto escape = [](std::string& out, unsigned code) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "_x%04X_", code);
    out += buf;
  };
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_' && isHex(s[i + 2]) &&
        isHex(s[i + 3]) && isHex(s[i + 4]) && isHex(s[i + 5])) {
      escape(out, '_');
    } else if (c < 0x20 && c != '\t' && c != '\n') {
      escape(out, c);  // a carriage return too: XML readers would turn it into a line feed
    } else if (c == 0xEF && i + 2 < s.size() && s[i + 1] == '\xBF' &&
               (s[i + 2] == '\xBE' || s[i + 2] == '\xBF')) {
      escape(out, s[i + 2] == '\xBE' ? 0xFFFE : 0xFFFF);
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The shortest text that reads back as the same double (libxlsxwriter prints 16 digits, which
// turns 0.30000000000000004 into 0.3 and the largest double into one past the range).
std::string exactNumber(double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, r.ptr);
  for (char& ch : s)
    if (ch == 'e') ch = 'E';
  return s;
}

// "AB12" to row and column from 1; false when it is not a cell reference.
bool parseRef(std::string_view ref, std::int64_t& row, std::int64_t& col) {
  size_t i = 0;
  col = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && col <= Sheet::kMaxCols; ++i)
    col = col * 26 + (ref[i] - 'A' + 1);
  if (i == 0 || i == ref.size()) return false;
  row = 0;
  for (; i < ref.size(); ++i) {
    if (ref[i] < '0' || ref[i] > '9' || row > Sheet::kMaxRows) return false;
    row = row * 10 + (ref[i] - '0');
  }
  return true;
}

// The sheet XML libxlsxwriter wrote, with the value of every number cell (a <c> without a type)
// written exactly. Returns false when nothing had to change.
bool exactNumbers(std::string& xml, const Sheet& sheet) {
  std::string out;
  size_t copied = 0;
  size_t at = xml.find("<sheetData");
  const size_t dataEnd = xml.find("</sheetData>");
  if (at == std::string::npos || dataEnd == std::string::npos) return false;
  while ((at = xml.find("<c ", at)) != std::string::npos && at < dataEnd) {
    const size_t tagEnd = xml.find('>', at);
    const size_t cellEnd = xml.find("</c>", at);
    if (tagEnd == std::string::npos || cellEnd == std::string::npos) break;
    const std::string_view tag(xml.data() + at, tagEnd - at);
    at = tagEnd;
    if (tag.back() == '/' || tag.find(" t=\"") != std::string_view::npos) continue;
    const size_t r = tag.find(" r=\"");
    std::int64_t row, col;
    if (r == std::string_view::npos ||
        !parseRef(tag.substr(r + 4, tag.find('"', r + 4) - (r + 4)), row, col))
      continue;
    const Cell& cell = sheet.cell(row, col);
    if (cell.type != Cell::Type::Number && cell.type != Cell::Type::Date &&
        !(cell.type == Cell::Type::Empty && !cell.formula.empty()))
      continue;
    const size_t v = xml.find("<v>", tagEnd);
    if (v == std::string::npos || v > cellEnd) continue;
    const size_t vEnd = xml.find("</v>", v);
    const std::string exact = exactNumber(cell.type == Cell::Type::Empty ? 0.0 : cell.number);
    if (xml.compare(v + 3, vEnd - (v + 3), exact) == 0) continue;
    out.append(xml, copied, v + 3 - copied);
    out += exact;
    copied = vEnd;
    at = vEnd;
  }
  if (copied == 0) return false;
  out.append(xml, copied, std::string::npos);
  xml = std::move(out);
  return true;
}

// Owns the libxlsxwriter workbook until it is written to the temporary file.
class Writer {
 public:
  Writer(const std::string& path, const std::string& tmp) : path_(path), tmp_(tmp) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;  // rows go to disk as they are written
    book_ = workbook_new_opt(tmp.c_str(), &options);
    if (!book_) fail(path_, "недостаточно памяти");
  }
  ~Writer() {
    if (book_) lxw_workbook_free(book_);  // abandoned: nothing more is written
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

  // Writes the exact values of number cells into the closed file, sheet by sheet, in place.
  void exactNumberValues(const Workbook& wb) {
    int code = 0;
    zip_t* z = zip_open(tmp_.c_str(), 0, &code);
    if (!z) fail(path_, "ошибка записи xlsx: не удалось открыть записанный архив");
    std::unique_ptr<zip_t, void (*)(zip_t*)> owned(z, zip_discard);
    std::vector<std::string> parts;  // libzip reads them at zip_close
    parts.reserve(wb.sheets.size());
    for (size_t i = 0; i < wb.sheets.size(); ++i) {
      const std::string name = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
      const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
      zip_file_t* f = index < 0 ? nullptr : zip_fopen_index(z, static_cast<zip_uint64_t>(index), 0);
      if (!f) fail(path_, "ошибка записи xlsx: в архиве нет части " + name);
      std::string xml;
      char buf[1 << 16];
      zip_int64_t n;
      while ((n = zip_fread(f, buf, sizeof buf)) > 0) xml.append(buf, static_cast<size_t>(n));
      zip_fclose(f);
      if (n < 0) fail(path_, "ошибка записи xlsx: не удалось прочитать часть " + name);
      if (!exactNumbers(xml, wb.sheets[i])) continue;
      parts.push_back(std::move(xml));
      zip_source_t* src = zip_source_buffer(z, parts.back().data(), parts.back().size(), 0);
      if (!src || zip_file_replace(z, static_cast<zip_uint64_t>(index), src, 0) < 0) {
        if (src) zip_source_free(src);
        fail(path_, std::string("ошибка записи xlsx: ") + zip_strerror(z));
      }
    }
    errno = 0;
    if (zip_close(z) != 0) {
      zip_error_t* e = zip_get_error(z);
      const int sys = zip_error_system_type(e) == ZIP_ET_SYS ? zip_error_code_system(e) : 0;
      if (sys != 0) fail(path_, systemReason(sys, fs::path(path_).parent_path().string()));
      fail(path_, std::string("ошибка записи xlsx: ") + zip_strerror(z));
    }
    owned.release();
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

    std::string text;
    if (cell.type == Cell::Type::Text || cell.type == Cell::Type::Error) {
      if (!reader::isValidUtf8(cell.text))
        fail(path_, "текст ячейки " + cellName(sheet, r, c) +
                        " содержит байты, которые не являются знаками в кодировке UTF-8");
      text = cellText(cell.text);
    }

    lxw_error err = LXW_NO_ERROR;
    if (!cell.formula.empty()) {
      if (cell.type == Cell::Type::Text || cell.type == Cell::Type::Error)
        err = worksheet_write_formula_str(ws, row, col, cell.formula.c_str(), format, text.c_str());
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
          err = worksheet_write_string(ws, row, col, text.c_str(), nullptr);
          break;
        case Cell::Type::Logical:
          err = worksheet_write_boolean(ws, row, col, cell.number != 0, nullptr);
          break;
        case Cell::Type::Error:
          // An error value can only be stored as the formula that yields it.
          err = worksheet_write_formula_str(ws, row, col, cell.text.c_str(), nullptr, text.c_str());
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

// The reason of a refused or failed file in the words of this writer's other messages.
std::string fileReason(const FileWriteError& e) {
  if (e.stage == FileWriteError::Stage::Target && (e.err == EACCES || e.err == EPERM))
    return "файл доступен только для чтения";
  return e.err ? systemReason(e.err, e.folder) : e.reason;
}
}  // namespace

void writeXlsx(const Workbook& wb, const std::string& path) {
  if (path.empty()) throw Error("Не указано имя файла для сохранения книги");
  try {
    SafeFileWriter file(path);
    checkSheetNames(wb, path);
    CNumbers numbers;
    Writer writer(path, file.temporaryPath());
    for (const Sheet& sheet : wb.sheets) writer.addSheet(sheet);
    writer.close();
    writer.exactNumberValues(wb);
    file.reopenTemporary();  // libzip wrote the archive anew under the same name
    file.commit();
  } catch (const FileWriteError& e) {
    fail(path, fileReason(e));
  }
}

}  // namespace ore
