#include "platform/workbook/package/zip_archive.h"

#include <zip.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

namespace ore::reader {

namespace {

std::string zipErrorText(int code) {
  switch (code) {
    case ZIP_ER_NOZIP:
      return "архив ZIP оборван или испорчен (не найден его каталог)";
    case ZIP_ER_INCONS:
      return "каталог архива ZIP противоречив";
    case ZIP_ER_CRC:
      return "контрольная сумма части архива не совпадает";
    case ZIP_ER_COMPNOTSUPP:
      return "часть архива сжата неизвестным методом";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
      return "часть архива зашифрована";
    case ZIP_ER_READ:
    case ZIP_ER_EOF:
      return "архив ZIP оборван";
    case ZIP_ER_ZLIB:
      return "сжатые данные архива испорчены";
    case ZIP_ER_MEMORY:
      return "не хватает памяти";
    default: {
      zip_error_t e;
      zip_error_init_with_code(&e, code);
      std::string s = std::string("ошибка архива ZIP: ") + zip_error_strerror(&e);
      zip_error_fini(&e);
      return s;
    }
  }
}

// Members from this compressed size on are inflated on a second thread (every member under the
// fuzzer, so that hostile archives meet that path too).
#ifndef OREFRAC_FUZZING
constexpr std::uint64_t kAheadMinBytes = 256 * 1024;
#else
constexpr std::uint64_t kAheadMinBytes = 0;
#endif

// Inflates one member on a thread of its own into a ring of chunks; the reader takes them in
// order. A read error travels as a chunk (size < 0) so that it is met where it occurred.
class Inflater {
 public:
  struct Chunk {
    std::vector<char> data = std::vector<char>(kChunkBytes);
    zip_int64_t size = 0;
    int error = 0;
  };

  explicit Inflater(zip_file_t* f) : f_(f), thread_([this] { run(); }) {}
  ~Inflater() {
    {
      std::lock_guard<std::mutex> lock(m_);
      stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // The next chunk in order (size 0 at the end of the member); valid until release().
  const Chunk& next() {
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait(lock, [&] { return filled_ > taken_; });
    return ring_[taken_ % kRing];
  }
  void release() {
    {
      std::lock_guard<std::mutex> lock(m_);
      ++taken_;
    }
    cv_.notify_all();
  }

 private:
  static constexpr std::size_t kRing = 4;
  static constexpr std::size_t kChunkBytes = 128 * 1024;

  void run() {
    for (;;) {
      std::size_t slot;
      {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait(lock, [&] { return stop_ || filled_ - taken_ < kRing; });
        if (stop_) return;
        slot = filled_ % kRing;
      }
      Chunk& c = ring_[slot];
      c.size = zip_fread(f_, c.data.data(), c.data.size());
      c.error = c.size < 0 ? zip_error_code_zip(zip_file_get_error(f_)) : 0;
      {
        std::lock_guard<std::mutex> lock(m_);
        ++filled_;
      }
      cv_.notify_all();
      if (c.size <= 0) return;
    }
  }

  zip_file_t* f_;
  Chunk ring_[kRing];
  std::mutex m_;
  std::condition_variable cv_;
  std::size_t filled_ = 0, taken_ = 0;
  bool stop_ = false;
  std::thread thread_;  // last: starts once the ring exists
};

}  // namespace

ZipArchive::ZipArchive(zip* z, std::uint64_t archiveBytes, ReadContext& ctx)
    : zip_(z),
      budget_(std::min(kMaxInflatedTotal, kInflatedFloor + kInflatedPerByte * archiveBytes)),
      ctx_(ctx) {
  // Progress counts inflated bytes against the sizes the directory declares: not trusted for
  // the limits, good enough to tell how far the reading has come.
  std::uint64_t declared = 0;
  const zip_int64_t n = zip_get_num_entries(z, 0);
  for (zip_int64_t i = 0; i < n; ++i) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
      declared += std::min<std::uint64_t>(st.size, kMaxInflatedTotal);
  }
  ctx_.setTotal(declared);
}

ZipArchive::ZipArchive(ZipArchive&& o) noexcept
    : zip_(o.zip_), budget_(o.budget_), inflated_(o.inflated_), ctx_(o.ctx_) {
  o.zip_ = nullptr;
}

ZipArchive::~ZipArchive() {
  if (zip_) zip_discard(zip_);
}

ZipArchive ZipArchive::openFile(const std::string& path, std::uint64_t fileSize, ReadContext& ctx) {
  int err = 0;
  zip* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &err);
  if (!z) ctx.corrupt(zipErrorText(err));
  return ZipArchive(z, fileSize, ctx);
}

ZipArchive ZipArchive::openBuffer(std::string_view bytes, ReadContext& ctx) {
  zip_error_t e;
  zip_error_init(&e);
  zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &e);
  if (!src) {
    zip_error_fini(&e);
    ctx.corrupt(zipErrorText(ZIP_ER_MEMORY));
  }
  zip* z = zip_open_from_source(src, ZIP_RDONLY | ZIP_CHECKCONS, &e);
  if (!z) {
    int code = zip_error_code_zip(&e);
    zip_source_free(src);
    zip_error_fini(&e);
    ctx.corrupt(zipErrorText(code));
  }
  zip_error_fini(&e);
  return ZipArchive(z, bytes.size(), ctx);
}

std::optional<std::string> ZipArchive::find(std::string_view name) const {
  std::string n(name);
  zip_int64_t i = zip_name_locate(zip_, n.c_str(), 0);
  if (i < 0) i = zip_name_locate(zip_, n.c_str(), ZIP_FL_NOCASE);
  if (i < 0) return std::nullopt;
  const char* stored = zip_get_name(zip_, static_cast<zip_uint64_t>(i), 0);
  if (!stored) return std::nullopt;
  return std::string(stored);
}

void ZipArchive::read(const std::string& name, const std::function<void(std::string_view)>& sink) {
  zip_int64_t index = zip_name_locate(zip_, name.c_str(), 0);
  if (index < 0) ctx_.corrupt("в архиве нет части " + name);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &st) != 0)
    ctx_.corrupt(zipErrorText(zip_error_code_zip(zip_get_error(zip_))));
  const std::uint64_t compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;

  std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(
      zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0), &zip_fclose);
  if (!f) ctx_.corrupt(name + ": " + zipErrorText(zip_error_code_zip(zip_get_error(zip_))));

  std::uint64_t total = 0;
  // Every check is made here, on the caller's thread, chunk by chunk in the member's order, so
  // a limit or a damaged stream is met at the same byte whether or not inflating ran ahead.
  auto deliver = [&](zip_int64_t n, int errorCode, std::string_view data) {
    if (n < 0) ctx_.corrupt(name + ": " + zipErrorText(errorCode));
    auto got = static_cast<std::uint64_t>(n);
    total += got;
    if (got > budget_)
      ctx_.tooBig(
          "распакованное содержимое архива больше допустимого (не более 2 ГиБ и не более чем "
          "в 100 раз больше самого файла)");
    budget_ -= got;
    if (total > kRatioMinBytes && total > kMaxRatio * std::max<std::uint64_t>(compressed, 1))
      ctx_.tooBig("часть " + name + " сжата более чем в 1000 раз (похоже на «zip-бомбу»)");
    ctx_.addInput(got);
    inflated_ += got;
    ctx_.progressed(inflated_);
    sink(data);
  };

  // A large member: inflating runs on a thread of its own, a few chunks ahead of the parser
  // (here, when no thread is to be had).
  std::optional<Inflater> ahead;
  if (compressed >= kAheadMinBytes) {
    try {
      ahead.emplace(f.get());
    } catch (const std::system_error&) {
    }
  }
  if (!ahead) {
    std::vector<char> buf(64 * 1024);
    for (;;) {
      zip_int64_t n = zip_fread(f.get(), buf.data(), buf.size());
      if (n == 0) break;
      deliver(n, n < 0 ? zip_error_code_zip(zip_file_get_error(f.get())) : 0,
              std::string_view(buf.data(), n < 0 ? 0 : static_cast<std::size_t>(n)));
    }
    return;
  }

  for (;;) {
    const Inflater::Chunk& c = ahead->next();
    if (c.size == 0) break;
    deliver(c.size, c.error,
            std::string_view(c.data.data(), c.size < 0 ? 0 : static_cast<std::size_t>(c.size)));
    ahead->release();
  }
}

std::string ZipArchive::readAll(const std::string& name, std::size_t maxBytes) {
  std::string out;
  read(name, [&](std::string_view chunk) {
    if (out.size() + chunk.size() > maxBytes)
      ctx_.tooBig("часть " + name + " больше " + std::to_string(maxBytes >> 20) + " МиБ");
    out.append(chunk);
  });
  return out;
}

}  // namespace ore::reader
