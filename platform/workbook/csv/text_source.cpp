#include "platform/workbook/csv/text_source.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>

namespace ore::reader {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ > STDERR_FILENO) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Up to n bytes (fewer only at the end of the input).
std::size_t readSome(int fd, char* to, std::size_t n, ReadContext& ctx) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd, to + got, n - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      ctx.cannotOpen(errno);
    }
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  return got;
}

constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void tooMuchText(ReadContext& ctx) {
  ctx.tooBig("текстовый файл больше 1 ГиБ");
}

}  // namespace

TextSource::TextSource(const std::string& path, ReadContext& ctx, std::uint64_t maxBytes) {
  const bool stdinput = path == kStandardInput;
  Fd fd(stdinput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) ctx.cannotOpen(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) ctx.cannotOpen(errno);
  if (!stdinput) {
    if (S_ISDIR(st.st_mode)) ctx.cannotOpen(EISDIR);
    if (!S_ISREG(st.st_mode)) ctx.cannotOpen(EINVAL);
  }
  const bool regular = S_ISREG(st.st_mode);
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (regular && size == 0 && !stdinput) ctx.notWorkbook("файл пуст");

  char head[2] = {0, 0};
  bool gzip = false;
  if (regular && size >= 2) {
    gzip = ::pread(fd.get(), head, 2, 0) == 2 && isGzip(std::string_view(head, 2));
    if (!gzip && !stdinput) {
      if (size > maxBytes) tooMuchText(ctx);
      void* m = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
      if (m != MAP_FAILED) {
        ::madvise(m, size, MADV_SEQUENTIAL);
        map_ = m;
        mapBytes_ = size;
        text_ = std::string_view(static_cast<const char*>(m), size);
        ctx.setTotal(size);
        return;
      }
    }
  }
  if (regular) ctx.setTotal(size);
  readAll(fd.get(), ctx, maxBytes, gzip || !regular);
  if (text_.empty()) ctx.notWorkbook("файл пуст");
}

TextSource::~TextSource() {
  if (map_) ::munmap(map_, mapBytes_);
}

void TextSource::release(std::size_t upTo) {
  if (!map_) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t end = upTo / page * page;
  if (end <= released_) return;
  ::madvise(static_cast<char*>(map_) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

void TextSource::releaseBetween(const char* from, const char* upTo) const {
  if (!map_) return;
  const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const char* base = static_cast<const char*>(map_);
  const std::size_t begin = (static_cast<std::size_t>(from - base) + page - 1) / page * page;
  const std::size_t end = static_cast<std::size_t>(upTo - base) / page * page;
  if (end > begin) ::madvise(static_cast<char*>(map_) + begin, end - begin, MADV_DONTNEED);
}

void TextSource::releaseAll() {
  if (!map_) return;
  ::madvise(map_, mapBytes_, MADV_DONTNEED);
  released_ = 0;
}

// Reads the input to its end; inflated when it starts as gzip (for a pipe that shows only in
// its first bytes).
void TextSource::readAll(int fd, ReadContext& ctx, std::uint64_t maxBytes, bool mayBeGzip) {
  std::string raw(kBlock, '\0');
  std::size_t n = readSome(fd, raw.data(), raw.size(), ctx);
  raw.resize(n);
  std::uint64_t consumed = n;
  const bool gzip = mayBeGzip && isGzip(raw);
  if (!gzip) {
    owned_ = std::move(raw);
    for (;;) {
      if (owned_.size() > maxBytes) tooMuchText(ctx);
      const std::size_t at = owned_.size();
      owned_.resize(at + kBlock);
      const std::size_t got = readSome(fd, owned_.data() + at, kBlock, ctx);
      owned_.resize(at + got);
      if (got == 0) break;
      ctx.progressed(owned_.size());
    }
    text_ = owned_;
    return;
  }

  z_stream z{};
  if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) ctx.corrupt("не удается распаковать gzip");
  struct End {
    z_stream& z;
    ~End() { inflateEnd(&z); }
  } end{z};
  std::string in = std::move(raw);
  std::size_t inAt = 0;
  bool ended = false;  // the last gzip member is complete
  for (;;) {
    if (inAt == in.size()) {
      in.resize(kBlock);
      in.resize(readSome(fd, in.data(), kBlock, ctx));
      inAt = 0;
      consumed += in.size();
      ctx.progressed(consumed);
      if (in.empty()) break;
    }
    if (ended) {  // another member follows (concatenated gzip files)
      inflateReset(&z);
      ended = false;
    }
    if (owned_.size() + kBlock > owned_.capacity()) owned_.reserve(2 * owned_.capacity() + kBlock);
    const std::size_t at = owned_.size();
    owned_.resize(owned_.capacity());
    z.next_in = reinterpret_cast<Bytef*>(in.data() + inAt);
    z.avail_in = static_cast<uInt>(in.size() - inAt);
    z.next_out = reinterpret_cast<Bytef*>(owned_.data() + at);
    z.avail_out = static_cast<uInt>(std::min<std::size_t>(owned_.size() - at, 1u << 30));
    const int rc = inflate(&z, Z_NO_FLUSH);
    owned_.resize(owned_.size() - z.avail_out);
    inAt = in.size() - z.avail_in;
    if (rc == Z_STREAM_END)
      ended = true;
    else if (rc != Z_OK && rc != Z_BUF_ERROR)
      ctx.corrupt("сжатые данные gzip повреждены");
    if (owned_.size() > maxBytes) tooMuchText(ctx);
  }
  if (!ended) ctx.corrupt("сжатые данные gzip оборваны");
  text_ = owned_;
}

}  // namespace ore::reader
