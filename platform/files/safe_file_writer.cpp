#include "platform/files/safe_file_writer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace ore {

namespace {
namespace fs = std::filesystem;
using Stage = FileWriteError::Stage;

std::string messageOf(Stage stage, const std::string& path, const std::string& reason) {
  const char* head = stage == Stage::Target || stage == Stage::Create ? "Не удается создать файл "
                                                                      : "Ошибка записи в файл ";
  return head + path + ": " + reason;
}

std::string notRegularReason(mode_t mode) {
  if (S_ISDIR(mode)) return "это папка";
  if (S_ISBLK(mode)) return "это устройство, а не обычный файл";
  return "это не обычный файл";
}

// The number N when FOLDER/NAME is /proc/<this process>/fd/N (or a thread's view of the same
// table, /proc/<pid>/task/<tid>/fd/N); -1 otherwise. FOLDER has its links resolved, so /dev/fd
// and /proc/self arrive here spelled with the process number.
int ownDescriptor(const std::string& folder, const std::string& name) {
  if (name.empty() || name.size() > 9 || name.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  const std::string proc = "/proc/" + std::to_string(::getpid());
  if (!folder.starts_with(proc + "/")) return -1;
  const std::string rest = folder.substr(proc.size());
  const bool ownTable =
      rest == "/fd" ||
      (rest.starts_with("/task/") && rest.ends_with("/fd") && rest.size() > 9 &&
       rest.substr(6, rest.size() - 9).find_first_not_of("0123456789") == std::string::npos);
  return ownTable ? std::atoi(name.c_str()) : -1;
}

struct Resolved {
  std::string path;     // the file itself: every symbolic link on the way followed
  int descriptor = -1;  // one of this process's descriptors
  bool throughLink = false;
};

// Follows the links one at a time rather than with realpath(): the links in /proc/self/fd name
// files that another open() would replace or truncate, so a descriptor must be caught before its
// link is followed, and a dangling link must give the name it points to.
Resolved resolve(const std::string& path) {
  Resolved r{path};
  for (int hop = 0; hop < 40; ++hop) {
    const fs::path p(r.path);
    std::string parent = p.parent_path().string();
    if (parent.empty()) parent = ".";
    char* real = ::realpath(parent.c_str(), nullptr);
    if (!real) return r;  // the folder's fault shows when the file is made
    const std::string folder = real;
    std::free(real);
    r.descriptor = ownDescriptor(folder, p.filename().string());
    if (r.descriptor >= 0) return r;
    struct stat st {};
    if (::lstat(r.path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return r;
    std::string to(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(r.path.c_str(), to.data(), to.size());
    if (n <= 0 || static_cast<size_t>(n) >= to.size()) return r;
    to.resize(static_cast<size_t>(n));
    r.path = to.front() == '/' ? to : (fs::path(parent) / to).string();
    r.throughLink = true;
  }
  return r;  // a loop: stat() says so
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}
}  // namespace

std::string noFolderAccessReason(const std::string& folder) {
  return "нет прав на запись в папку «" + folder + "»";
}

namespace {
std::string reasonOf(FileWriteError::Stage stage, const std::string& folder, int err,
                     const std::string& reason) {
  if (stage == Stage::Create && (err == EACCES || err == EPERM))
    return noFolderAccessReason(folder);
  return err ? std::strerror(err) : reason;
}
}  // namespace

FileWriteError::FileWriteError(Stage stage, const std::string& path, const std::string& folder,
                               int err, const std::string& reason)
    : Error(messageOf(stage, path, reasonOf(stage, folder, err, reason))),
      stage(stage),
      folder(folder),
      err(err),
      reason(reasonOf(stage, folder, err, reason)) {}

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path), target_(path) {
  folder_ = fs::path(path).parent_path().string();
  if (folder_.empty()) folder_ = ".";
  auto refuse = [&](Stage stage, int err, const std::string& reason = {}) {
    return FileWriteError(stage, path_, folder_, err, reason);
  };
  if (path.empty()) throw refuse(Stage::Target, 0, "не указано имя файла");

  const Resolved resolved = resolve(path);
  if (resolved.descriptor >= 0) {
    const int flags = ::fcntl(resolved.descriptor, F_GETFL);
    if (flags < 0) throw refuse(Stage::Target, errno);
    if ((flags & O_ACCMODE) == O_RDONLY)
      throw refuse(Stage::Target, 0, "дескриптор открыт только для чтения");
    out_ = resolved.descriptor;
    descriptor_ = true;
    return;
  }
  // Saving through a link writes the file it points to, not the link.
  if (resolved.throughLink) {
    target_ = resolved.path;
    folder_ = fs::path(target_).parent_path().string();
    if (folder_.empty()) folder_ = ".";
  }

  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno != ENOENT && errno != ENOTDIR) throw refuse(Stage::Target, errno);
  if (exists && (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) {
    openInPlace(st.st_mode);
    return;
  }
  if (exists && !S_ISREG(st.st_mode)) throw refuse(Stage::Target, 0, notRegularReason(st.st_mode));
  if (exists && ::access(target_.c_str(), W_OK) != 0) throw refuse(Stage::Target, errno);

  makeTemporary(folder_);
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

// A FIFO without a reader is refused rather than waited on, and the writes block again once one
// is there. A socket file is reached by connecting to it.
void SafeFileWriter::openInPlace(mode_t mode) {
  auto refuse = [&](int err, const std::string& reason = {}) {
    return FileWriteError(Stage::Target, path_, folder_, err, reason);
  };
  if (S_ISSOCK(mode)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (target_.size() >= sizeof address.sun_path) throw refuse(ENAMETOOLONG);
    std::memcpy(address.sun_path, target_.c_str(), target_.size() + 1);
    out_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (out_ < 0) throw refuse(errno);
    ownsOut_ = true;
    if (::connect(out_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      const int err = errno;
      ::close(out_);
      out_ = -1;
      if (err == ECONNREFUSED) throw refuse(0, "это сокет, который никто не слушает");
      throw refuse(err);
    }
    return;
  }
  const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISFIFO(mode) ? O_NONBLOCK : 0);
  out_ = ::open(target_.c_str(), flags);
  if (out_ < 0) {
    if (errno == ENXIO && S_ISFIFO(mode)) throw refuse(0, "это канал, который никто не читает");
    throw refuse(errno);
  }
  ownsOut_ = true;
  if (S_ISFIFO(mode)) ::fcntl(out_, F_SETFL, ::fcntl(out_, F_GETFL) & ~O_NONBLOCK);
}

void SafeFileWriter::makeTemporary(const std::string& folder) {
  // A short fixed name: "." + name + suffix would pass the 255-byte limit for long names.
  std::string tmpl = folder + "/.orefrac-XXXXXX";
  fd_ = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd_ < 0) throw FileWriteError(Stage::Create, path_, folder, errno, {});
  tmp_ = tmpl;
  struct stat mine {};
  if (::fstat(fd_, &mine) != 0) {
    const int err = errno;
    ::unlink(tmp_.c_str());  // just made by mkostemp, not yet known by its number
    ::close(fd_);
    fd_ = -1;
    tmp_.clear();
    throw FileWriteError(Stage::Create, path_, folder, err, {});
  }
  dev_ = mine.st_dev;
  ino_ = mine.st_ino;
}

const std::string& SafeFileWriter::temporaryPath() {
  if (tmp_.empty() && inPlace()) {
    std::error_code ec;
    const fs::path dir = fs::temp_directory_path(ec);
    makeTemporary(ec ? std::string("/tmp") : dir.string());
    mode_ = 0600;
  }
  return tmp_;
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
  if (ownsOut_ && out_ >= 0) ::close(out_);
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

namespace {
// The error number of a failed write, 0 when every byte went.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}
}  // namespace

void SafeFileWriter::send(std::string_view bytes) {
  // What the program printed through the standard streams goes first.
  if (descriptor_) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
  }
  if (const int err = writeAll(out_, bytes))
    throw FileWriteError(Stage::Write, path_, folder_, err, {});
}

void SafeFileWriter::write(std::string_view bytes) {
  if (inPlace() && tmp_.empty()) return send(bytes);
  if (const int err = writeAll(fd_, bytes))
    throw FileWriteError(Stage::Write, path_, folder_, err, {});
}

void SafeFileWriter::commit() {
  auto failed = [&](Stage stage, int err) {
    return FileWriteError(stage, path_, folder_, err, {});
  };
  if (inPlace()) {
    if (!tmp_.empty()) {
      std::string chunk(1 << 16, '\0');
      for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd_, chunk.data(), chunk.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw failed(Stage::Write, errno);
        if (n == 0) break;
        send(std::string_view(chunk.data(), static_cast<size_t>(n)));
        at += n;
      }
      discard();
    }
    if (ownsOut_) {
      const int fd = out_;
      out_ = -1;
      ownsOut_ = false;
      if (::close(fd) != 0) throw failed(Stage::Write, errno);
    }
    committed_ = true;
    return;
  }
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
