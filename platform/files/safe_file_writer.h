#pragma once
// Output files that are replaced whole or not at all: the diagram, the grids of orefrac-batch and
// the saved workbook are written under a temporary name beside the target and renamed over it
// only when every byte is on disk. A target that cannot be replaced (one of the process's own
// descriptors, a character device, a FIFO, a socket) is written in place instead, as a shell
// redirection would.

#include <sys/types.h>

#include <string>
#include <string_view>

#include "data/errors.h"

namespace ore {

// Why a safe write failed. what() is "Не удается создать файл PATH: REASON" when the target or
// the temporary file could not be made, "Ошибка записи в файл PATH: REASON" when writing or
// replacing failed; writers with messages of their own build them from the fields.
class FileWriteError : public Error {
 public:
  enum class Stage {
    Target,   // the target refused: a folder, a block device, not writable, a bad name
    Create,   // the temporary file could not be made in the target's folder
    Write,    // writing, flushing or closing the temporary file failed
    Replace,  // renaming it over the target failed
  };
  FileWriteError(Stage stage, const std::string& path, const std::string& folder, int err,
                 const std::string& reason);
  Stage stage;
  std::string folder;  // where the temporary file goes ("." for a bare name)
  int err;             // the system's error number; 0 when the reason is the program's own
  std::string reason;  // the program's own reason in Russian, or the system's text
};

// One output file in the making. The constructor follows symbolic links (a dangling one names
// the file to create; the link stays) and sorts the target:
// - one of this process's open descriptors (/dev/stdout, /dev/fd/N, /proc/self/fd/N, a link to
//   one): written to that descriptor where it stands, after the standard streams are flushed, so
//   what the program printed before comes first and what it prints later follows;
// - a character device, a FIFO (it must have a reader: a window would hang waiting for one) or a
//   socket that listens: opened and written in place, never replaced;
// - a folder, a block device, an existing file without write permission: refused before anything
//   is opened;
// - a missing or a regular file: a temporary file ".orefrac-XXXXXX" is made in its folder with the
//   permissions of the file it replaces (or of a new file); nothing touches the target before
//   commit(). A folder that refuses the temporary file is named as the reason, even when the file
//   itself is writable: an in-place write could leave it cut short.
class SafeFileWriter {
 public:
  explicit SafeFileWriter(const std::string& path);  // throws FileWriteError
  ~SafeFileWriter();  // an uncommitted temporary file is removed, and nothing else
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // True when the bytes go straight to the target rather than replacing it.
  bool inPlace() const { return out_ >= 0; }

  // For libraries that write a file by its name: they must truncate or append, not replace it.
  // For a target written in place the file is made in the temporary folder on the first call and
  // its bytes are copied into the target by commit(). Throws FileWriteError (Create).
  const std::string& temporaryPath();

  // For libraries that rewrite a file by writing a new one and renaming it over the old name
  // (libzip does): the file now under the temporary name becomes the one this writer owns.
  // Throws FileWriteError (Write).
  void reopenTemporary();

  // Appends bytes to the temporary file, or to a target written in place; throws FileWriteError
  // (Write) with the system's reason.
  void write(std::string_view bytes);

  // Flushes the temporary file to disk, closes it and renames it over the target. Throws
  // FileWriteError (Write or Replace); the target is then as it was. In place: copies what a
  // library wrote under temporaryPath() into the target and closes what the constructor opened.
  void commit();

 private:
  void openInPlace(mode_t mode);
  void send(std::string_view bytes);  // to the target written in place
  void makeTemporary(const std::string& folder);
  void discard() noexcept;
  bool keepOwnerAndMode();

  std::string path_;    // as given: the name in every message
  std::string target_;  // the file renamed over: path_ with symbolic links resolved
  std::string folder_;
  std::string tmp_;
  int fd_ = -1;           // the temporary file
  int out_ = -1;          // the target written in place
  bool ownsOut_ = false;  // opened here, not one of the process's descriptors
  bool descriptor_ = false;
  dev_t dev_ = 0;  // the temporary file's identity, checked before it is removed
  ino_t ino_ = 0;
  bool committed_ = false;
  bool replaced_ = false;  // an existing file is replaced: its owner and mode carry over
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  mode_t mode_ = 0;
};

// "нет прав на запись в папку «FOLDER»": the one wording for a folder that refuses a new file.
std::string noFolderAccessReason(const std::string& folder);

// The whole file at once through a SafeFileWriter.
void writeFileSafely(const std::string& path, std::string_view bytes);

}  // namespace ore
