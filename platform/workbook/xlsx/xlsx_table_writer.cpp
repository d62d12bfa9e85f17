#include "platform/workbook/xlsx/xlsx_table_writer.h"

#include <zip.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"
#include "platform/workbook/names.h"
#include "platform/workbook/workbook.h"

namespace ore {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
  throw Error("Не удается сохранить книгу в файл «" + path + "»: " + reason);
}

void appendEscaped(std::string& out, const std::string& s) {
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

void appendNumber(std::string& out, double v) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  for (char* p = buf; p < r.ptr; ++p)
    if (*p == 'e') *p = 'E';
  out.append(buf, r.ptr);
}

constexpr const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kPkg = "http://schemas.openxmlformats.org/package/2006/relationships";

// The parts beside the sheet, as small as a spreadsheet accepts them.
std::vector<std::pair<std::string, std::string>> fixedParts(const std::string& sheetName) {
  std::string name;
  appendEscaped(name, sheetName);
  const std::string ct = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
  return {
      {"[Content_Types].xml",
       "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
       "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
           ct +
           "sheet.main+xml\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
           ct + "worksheet+xml\"/><Override PartName=\"/xl/styles.xml\" ContentType=\"" + ct +
           "styles+xml\"/></Types>"},
      {"_rels/.rels", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                                  "<Relationships xmlns=\"") +
                          kPkg + "\"><Relationship Id=\"rId1\" Type=\"" + kRel +
                          "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" "
                                      "standalone=\"yes\"?><workbook xmlns=\"") +
                              kMain + "\" xmlns:r=\"" + kRel + "\"><sheets><sheet name=\"" + name +
                              "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels",
       std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><Relationships "
                   "xmlns=\"") +
           kPkg + "\"><Relationship Id=\"rId1\" Type=\"" + kRel +
           "/worksheet\" Target=\"worksheets/sheet1.xml\"/><Relationship Id=\"rId2\" Type=\"" +
           kRel + "/styles\" Target=\"styles.xml\"/></Relationships>"},
      {"xl/styles.xml", std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" "
                                    "standalone=\"yes\"?><styleSheet xmlns=\"") +
                            kMain +
                            "\"><fonts count=\"1\"><font><sz val=\"11\"/><name "
                            "val=\"Calibri\"/></font></fonts><fills count=\"1\"><fill><patternFill "
                            "patternType=\"none\"/></fill></fills><borders count=\"1\"><border/>"
                            "</borders><cellStyleXfs count=\"1\"><xf/></cellStyleXfs><cellXfs "
                            "count=\"1\"><xf xfId=\"0\"/></cellXfs></styleSheet>"},
  };
}

// The sheet's XML made as libzip reads it, a row block at a time, so it is never held whole.
struct SheetStream {
  const std::vector<std::string>& header;
  std::size_t rows;
  const NumberRowSource& row;
  Progress& progress;
  std::vector<std::string> letters;
  std::vector<double> values;
  std::string buf;
  std::size_t at = 0;    // read position in buf
  std::size_t next = 0;  // the next row to make; rows + 1: the end is made
  bool started = false, stopped = false;
  std::string failure;
  zip_error_t error{};

  void refill() {
    buf.clear();
    at = 0;
    if (!started) {
      started = true;
      buf += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><worksheet xmlns=\"";
      buf += kMain;
      buf += "\"><sheetData><row r=\"1\">";
      for (std::size_t c = 0; c < header.size(); ++c) {
        buf += "<c r=\"" + letters[c] + "1\" t=\"inlineStr\"><is><t>";
        appendEscaped(buf, header[c]);
        buf += "</t></is></c>";
      }
      buf += "</row>";
      return;
    }
    if (next > rows) return;
    const std::size_t end = std::min(rows, next + 4096);
    for (; next < end; ++next) {
      row(next, values.data());
      const std::string r = std::to_string(next + 2);
      buf += "<row r=\"" + r + "\">";
      for (std::size_t c = 0; c < values.size(); ++c) {
        if (!std::isfinite(values[c])) {
          failure = "значение ячейки «" + letters[c] + r + "» не является конечным числом";
          throw Error(failure);
        }
        buf += "<c r=\"";
        buf += letters[c];
        buf += r;
        buf += "\"><v>";
        appendNumber(buf, values[c]);
        buf += "</v></c>";
      }
      buf += "</row>";
    }
    progress.report(next, rows);
    progress.checkStop();
    if (next == rows) {
      buf += "</sheetData></worksheet>";
      next = rows + 1;
    }
  }

  static zip_int64_t callback(void* self, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* s = static_cast<SheetStream*>(self);
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
        return 0;
      case ZIP_SOURCE_READ: {
        try {
          if (s->at == s->buf.size()) s->refill();
        } catch (const WorkStopped&) {
          s->stopped = true;
          zip_error_set(&s->error, ZIP_ER_CANCELLED, 0);
          return -1;
        } catch (const std::exception& e) {
          if (s->failure.empty()) s->failure = e.what();
          zip_error_set(&s->error, ZIP_ER_INTERNAL, 0);
          return -1;
        }
        const std::size_t n = std::min<std::size_t>(len, s->buf.size() - s->at);
        std::memcpy(data, s->buf.data() + s->at, n);
        s->at += n;
        return static_cast<zip_int64_t>(n);
      }
      case ZIP_SOURCE_CLOSE:
        return 0;
      case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        return sizeof(*st);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, len);
      case ZIP_SOURCE_FREE:
        return 0;
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
      default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }
};

}  // namespace

void writeNumberTableXlsx(const std::string& path, const std::string& sheetName,
                          const std::vector<std::string>& header, std::size_t rowCount,
                          const NumberRowSource& row, Progress& progress) {
  if (path.empty()) throw Error("Не указано имя файла для сохранения книги");
  if (rowCount + 1 > static_cast<std::size_t>(Sheet::kMaxRows))
    fail(path, "строк больше, чем помещается на лист (" + std::to_string(Sheet::kMaxRows) + ")");
  SheetStream sheet{header, rowCount, row, progress, {}, std::vector<double>(header.size()), {}};
  for (std::size_t c = 0; c < header.size(); ++c)
    sheet.letters.push_back(columnLetters(static_cast<std::int64_t>(c) + 1));
  zip_error_init(&sheet.error);
  {
    SafeFileWriter file(path);  // its refusals are in its own words
    int code = 0;
    zip_t* z = zip_open(file.temporaryPath().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!z) fail(path, "ошибка записи xlsx: не удалось создать архив");
    std::unique_ptr<zip_t, void (*)(zip_t*)> owned(z, zip_discard);
    const auto parts = fixedParts(sheetName);
    auto add = [&](const char* name, zip_source_t* src) {
      if (!src) fail(path, std::string("ошибка записи xlsx: ") + zip_strerror(z));
      const zip_int64_t i = zip_file_add(z, name, src, ZIP_FL_ENC_UTF_8);
      if (i < 0) {
        zip_source_free(src);
        fail(path, std::string("ошибка записи xlsx: ") + zip_strerror(z));
      }
      // The quickest deflate: the sheet is large and its text repeats itself.
      zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 1);
    };
    for (const auto& [name, text] : parts)
      add(name.c_str(), zip_source_buffer(z, text.data(), text.size(), 0));
    add("xl/worksheets/sheet1.xml", zip_source_function(z, &SheetStream::callback, &sheet));
    const int closed = zip_close(z);
    if (sheet.stopped) throw WorkStopped();
    if (!sheet.failure.empty()) fail(path, sheet.failure);
    if (closed != 0) fail(path, std::string("ошибка записи xlsx: ") + zip_strerror(z));
    owned.release();
    progress.checkStop();
    file.reopenTemporary();
    file.commit();
  }
  zip_error_fini(&sheet.error);
}

}  // namespace ore
