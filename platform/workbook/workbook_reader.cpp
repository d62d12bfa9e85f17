#include "platform/workbook/workbook_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "data/errors.h"
#include "platform/workbook/csv/csv_reader.h"
#include "platform/workbook/csv/text_source.h"
#include "platform/workbook/ods/ods_reader.h"
#include "platform/workbook/xls/xls_reader.h"
#include "platform/workbook/xlsx/xlsx_reader.h"

namespace ore {

namespace {

using reader::isGzip;
using reader::kStandardInput;
using reader::kStandardInputName;
using reader::ReadContext;
using reader::TextSource;

class File {
 public:
  File(const std::string& path, const ReadContext& ctx)
      : ctx_(ctx), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) ctx.cannotOpen(errno);
    struct stat st;
    if (::fstat(fd_, &st) != 0) ctx.cannotOpen(errno);
    if (S_ISDIR(st.st_mode)) ctx.cannotOpen(EISDIR);
    if (!S_ISREG(st.st_mode)) ctx.cannotOpen(EINVAL);
    size_ = static_cast<std::uint64_t>(st.st_size);
  }
  ~File() { ::close(fd_); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  std::uint64_t size() const { return size_; }

  // Up to n bytes from the start.
  std::string head(std::size_t n) { return readFrom(0, n); }
  std::string all() { return readFrom(0, static_cast<std::size_t>(size_)); }

 private:
  std::string readFrom(off_t at, std::size_t n) {
    std::string out(n, '\0');
    std::size_t got = 0;
    while (got < n) {
      ssize_t r = ::pread(fd_, out.data() + got, n - got, at + static_cast<off_t>(got));
      if (r < 0) {
        if (errno == EINTR) continue;
        ctx_.cannotOpen(errno);
      }
      if (r == 0) break;
      got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    return out;
  }

  const ReadContext& ctx_;
  int fd_;
  std::uint64_t size_ = 0;
};

std::string lowerExtension(const std::string& path) {
  auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return ext;
}

std::string stem(const std::string& path) {
  auto slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

bool isZipHead(std::string_view head) {
  return head.size() >= 4 && head[0] == 'P' && head[1] == 'K' &&
         ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6) ||
          (head[2] == 7 && head[3] == 8));
}
bool isCompoundHead(std::string_view head) {
  return head == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
}

bool isDelimitedTextName(const std::string& path) {
  const std::string ext = lowerExtension(path);
  return ext == "csv" || ext == "txt" || ext == "tsv" || ext == "tab";
}

Workbook readZip(const std::string& path, std::uint64_t size, ReadContext& ctx) {
  auto zip = reader::ZipArchive::openFile(path, size, ctx);
  bool otherOdf = false;
  if (reader::looksLikeOds(zip, otherOdf)) return reader::readOds(zip, ctx);
  if (otherOdf) ctx.notWorkbook("это документ OpenDocument, но не электронная таблица");
  if (reader::looksLikeXlsx(zip)) return reader::readXlsx(zip, ctx);
  ctx.notWorkbook("это архив ZIP, но не книга xlsx или ods");
}

Workbook readDelimited(const std::string& path, ReadContext& ctx) {
  TextSource source(path, ctx, reader::kMaxFileBytes);
  return reader::readCsv(source.bytes(), delimitedSheetName(path), ctx);
}

Workbook read(const std::string& path, ReadContext& ctx) {
  if (path == kStandardInput) return readDelimited(path, ctx);
  File file(path, ctx);
  if (file.size() == 0) ctx.notWorkbook("файл пуст");
  ctx.setTotal(file.size());  // until a reader knows better
  ctx.progressed(0);
  const std::string head = file.head(8);
  if (isZipHead(head)) return readZip(path, file.size(), ctx);
  if (isCompoundHead(head)) {
    if (file.size() > reader::kMaxFileBytes) ctx.tooBig("файл xls больше 1 ГиБ");
    return reader::readXls(file.all(), ctx);
  }
  // Delimited text has no signature of its own: only its name tells it from a damaged file.
  if (isGzip(head) || isDelimitedTextName(path)) return readDelimited(path, ctx);
  ctx.notWorkbook();
}

}  // namespace

std::string delimitedSheetName(const std::string& path) {
  return path == kStandardInput ? "стандартный ввод" : stem(path);
}

bool isDelimitedText(const std::string& path) {
  if (path == kStandardInput) return true;
  try {
    ReadContext ctx(path);
    File file(path, ctx);
    const std::string head = file.head(8);
    if (isGzip(head)) return true;
    return !head.empty() && !isZipHead(head) && !isCompoundHead(head) && isDelimitedTextName(path);
  } catch (const Error&) {
    return false;
  }
}

Workbook readWorkbook(const std::string& path) {
  Progress silent;
  return readWorkbook(path, silent);
}

Workbook readWorkbook(const std::string& path, Progress& progress) {
  ReadContext ctx(path == kStandardInput ? kStandardInputName : path, progress);
  try {
    Workbook wb = read(path, ctx);
    ctx.finished();
    return wb;
  } catch (const std::bad_alloc&) {
    throw Error("Не хватает памяти, чтобы прочитать файл " + path);
  } catch (const std::length_error&) {
    throw Error("Не хватает памяти, чтобы прочитать файл " + path);
  }
}

}  // namespace ore
