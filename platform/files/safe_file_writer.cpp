#include "platform/files/safe_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace ore {

namespace {
namespace fs = std::filesystem;
using Stage = FileWriteError::Stage;

std::string messageOf(Stage stage, const std::string& path, const std::string& reason) {
  const char* head = stage == Stage::Target || stage == Stage::Create ? "Не удается создать файл "
                                                                      : "Ошибка записи в файл ";
  return head + path + ": " + reason;
}

// The target exists and is not a regular file: writing there would block on a FIFO, and
// renaming over it would put a regular file in place of a device.
std::string notRegularReason(mode_t mode) {
  if (S_ISDIR(mode)) return "это папка";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "это устройство, а не обычный файл";
  if (S_ISFIFO(mode)) return "это канал, а не обычный файл";
  if (S_ISSOCK(mode)) return "это сокет, а не обычный файл";
  return "это не обычный файл";
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}
}  // namespace

FileWriteError::FileWriteError(Stage stage, const std::string& path, const std::string& folder,
                               int err, const std::string& reason)
    : Error(messageOf(stage, path, err ? std::strerror(err) : reason)),
      stage(stage),
      folder(folder),
      err(err),
      reason(err ? std::strerror(err) : reason) {}

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path), target_(path) {
  folder_ = fs::path(path).parent_path().string();
  if (folder_.empty()) folder_ = ".";
  auto refuse = [&](Stage stage, int err, const std::string& reason = {}) {
    return FileWriteError(stage, path_, folder_, err, reason);
  };
  if (path.empty()) throw refuse(Stage::Target, 0, "не указано имя файла");

  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (!exists && errno != ENOENT && errno != ENOTDIR) throw refuse(Stage::Target, errno);
  if (exists && !S_ISREG(st.st_mode)) throw refuse(Stage::Target, 0, notRegularReason(st.st_mode));
  if (exists && ::access(path.c_str(), W_OK) != 0) throw refuse(Stage::Target, errno);

  // Saving through a link replaces the file it points to, not the link.
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (!ec) {
      target_ = resolved.string();
      folder_ = resolved.parent_path().string();
    }
  }

  // A short fixed name: "." + name + suffix would pass the 255-byte limit for long names.
  std::string tmpl = folder_ + "/.orefrac-XXXXXX";
  fd_ = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd_ < 0) throw refuse(Stage::Create, errno);
  tmp_ = tmpl;
  struct stat mine {};
  if (::fstat(fd_, &mine) != 0) {
    const int err = errno;
    ::unlink(tmp_.c_str());  // just made by mkostemp, not yet known by its number
    ::close(fd_);
    fd_ = -1;
    tmp_.clear();
    throw refuse(Stage::Create, err);
  }
  dev_ = mine.st_dev;
  ino_ = mine.st_ino;
  if (exists) {
    replaced_ = true;
    uid_ = st.st_uid;
    gid_ = st.st_gid;
    mode_ = st.st_mode & 07777;
  } else {
    mode_ = newFileMode();
  }
  if (!keepOwnerAndMode()) {
    const int err = errno;
    discard();
    throw refuse(Stage::Create, err);
  }
}

// The replacement keeps the owner and the permissions of the file it replaces. Only root may
// give a file away: for anyone else a refused owner just leaves the new file theirs.
bool SafeFileWriter::keepOwnerAndMode() {
  if (replaced_ && (uid_ != ::geteuid() || gid_ != ::getegid())) {
    [[maybe_unused]] const int kept = ::fchown(fd_, uid_, gid_);
  }
  return ::fchmod(fd_, mode_) == 0;
}

void SafeFileWriter::reopenTemporary() {
  const int fd = ::open(tmp_.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) throw FileWriteError(Stage::Write, path_, folder_, errno, {});
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = errno ? errno : EIO;
    ::close(fd);
    throw FileWriteError(Stage::Write, path_, folder_, err, {});
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
  dev_ = st.st_dev;
  ino_ = st.st_ino;
  if (!keepOwnerAndMode()) throw FileWriteError(Stage::Write, path_, folder_, errno, {});
}

SafeFileWriter::~SafeFileWriter() {
  if (!committed_) discard();
}

void SafeFileWriter::discard() noexcept {
  // Only the file this writer made: whatever else may since have taken its name stays.
  struct stat named {};
  if (!tmp_.empty() && ::lstat(tmp_.c_str(), &named) == 0 && named.st_dev == dev_ &&
      named.st_ino == ino_)
    ::unlink(tmp_.c_str());
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void SafeFileWriter::write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileWriteError(Stage::Write, path_, folder_, n < 0 ? errno : EIO, {});
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void SafeFileWriter::commit() {
  auto failed = [&](Stage stage, int err) {
    return FileWriteError(stage, path_, folder_, err, {});
  };
  // EINVAL: the file system keeps no cache to flush.
  if (::fsync(fd_) != 0 && errno != EINVAL) throw failed(Stage::Write, errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw failed(Stage::Write, errno);
  if (std::rename(tmp_.c_str(), target_.c_str()) != 0) throw failed(Stage::Replace, errno);
  committed_ = true;
}

void writeFileSafely(const std::string& path, std::string_view bytes) {
  SafeFileWriter file(path);
  file.write(bytes);
  file.commit();
}

}  // namespace ore
