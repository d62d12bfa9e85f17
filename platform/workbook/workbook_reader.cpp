#include "platform/workbook/workbook_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "data/errors.h"
#include "platform/workbook/csv/csv_reader.h"
#include "platform/workbook/ods/ods_reader.h"
#include "platform/workbook/xls/xls_reader.h"
#include "platform/workbook/xlsx/xlsx_reader.h"

namespace ore {

namespace {

using reader::ReadContext;

[[noreturn]] void cannotOpen(const std::string& path, int err) {
  throw Error("Не удается открыть файл " + path + ": " + std::strerror(err));
}

class File {
 public:
  explicit File(const std::string& path)
      : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) cannotOpen(path, errno);
    struct stat st;
    if (::fstat(fd_, &st) != 0) cannotOpen(path, errno);
    if (S_ISDIR(st.st_mode)) cannotOpen(path, EISDIR);
    if (!S_ISREG(st.st_mode)) cannotOpen(path, EINVAL);
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
        cannotOpen(path_, errno);
      }
      if (r == 0) break;
      got += static_cast<std::size_t>(r);
    }
    out.resize(got);
    return out;
  }

  std::string path_;
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

Workbook readZip(const std::string& path, std::uint64_t size, ReadContext& ctx) {
  auto zip = reader::ZipArchive::openFile(path, size, ctx);
  bool otherOdf = false;
  if (reader::looksLikeOds(zip, otherOdf)) return reader::readOds(zip, ctx);
  if (otherOdf) ctx.notWorkbook("это документ OpenDocument, но не электронная таблица");
  if (reader::looksLikeXlsx(zip)) return reader::readXlsx(zip, ctx);
  ctx.notWorkbook("это архив ZIP, но не книга xlsx или ods");
}

Workbook read(const std::string& path, ReadContext& ctx) {
  File file(path);
  if (file.size() == 0) ctx.notWorkbook("файл пуст");
  ctx.setTotal(file.size());  // until a reader knows better
  ctx.progressed(0);
  const std::string head = file.head(8);
  if (head.size() >= 4 && head[0] == 'P' && head[1] == 'K' &&
      ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6) ||
       (head[2] == 7 && head[3] == 8)))
    return readZip(path, file.size(), ctx);
  if (head == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
    if (file.size() > reader::kMaxFileBytes) ctx.tooBig("файл xls больше 1 ГиБ");
    return reader::readXls(file.all(), ctx);
  }
  // Delimited text has no signature of its own: only its name tells it from a damaged file.
  const std::string ext = lowerExtension(path);
  if (ext == "csv" || ext == "txt" || ext == "tsv" || ext == "tab") {
    if (file.size() > reader::kMaxFileBytes) ctx.tooBig("текстовый файл больше 1 ГиБ");
    return reader::readCsv(file.all(), stem(path), ctx);
  }
  ctx.notWorkbook();
}

}  // namespace

Workbook readWorkbook(const std::string& path) {
  Progress silent;
  return readWorkbook(path, silent);
}

Workbook readWorkbook(const std::string& path, Progress& progress) {
  ReadContext ctx(path, progress);
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
