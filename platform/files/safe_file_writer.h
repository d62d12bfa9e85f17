#pragma once
// Output files that are replaced whole or not at all: the diagram, the grids of orefrac-batch and
// the saved workbook are written under a temporary name beside the target and renamed over it
// only when every byte is on disk.

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
    Target,   // the target refused: not a regular file, not writable, a bad name
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

// One output file in the making. The constructor checks the target: a missing file or a regular
// file (through symbolic links) is accepted; a folder, device, FIFO or socket is refused before
// anything is opened, and so is an existing file without write permission. It then creates a
// temporary file ".orefrac-XXXXXX" in the target's folder with the permissions of the file it
// replaces (or of a new file). Nothing touches the target before commit().
class SafeFileWriter {
 public:
  explicit SafeFileWriter(const std::string& path);  // throws FileWriteError
  ~SafeFileWriter();  // an uncommitted temporary file is removed, and nothing else
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // For libraries that write a file by its name: they must truncate or append, not replace it.
  const std::string& temporaryPath() const { return tmp_; }

  // For libraries that rewrite a file by writing a new one and renaming it over the old name
  // (libzip does): the file now under the temporary name becomes the one this writer owns.
  // Throws FileWriteError (Write).
  void reopenTemporary();

  // Appends bytes to the temporary file; throws FileWriteError (Write) with the system's reason.
  void write(std::string_view bytes);

  // Flushes the temporary file to disk, closes it and renames it over the target. Throws
  // FileWriteError (Write or Replace); the target is then as it was.
  void commit();

 private:
  void discard() noexcept;
  bool keepOwnerAndMode();

  std::string path_;    // as given: the name in every message
  std::string target_;  // the file renamed over: path_ with symbolic links resolved
  std::string folder_;
  std::string tmp_;
  int fd_ = -1;
  dev_t dev_ = 0;  // the temporary file's identity, checked before it is removed
  ino_t ino_ = 0;
  bool committed_ = false;
  bool replaced_ = false;  // an existing file is replaced: its owner and mode carry over
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  mode_t mode_ = 0;
};

// The whole file at once through a SafeFileWriter.
void writeFileSafely(const std::string& path, std::string_view bytes);

}  // namespace ore
