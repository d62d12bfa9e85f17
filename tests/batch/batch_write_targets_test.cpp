// Where orefrac-batch's outputs land: a write that fails keeps the old file, a folder or a FIFO
// nobody reads is refused and left as it was, a name of the longest legal length is saved, output
// lost on standard output fails the run, the shell's own descriptors and devices are written
// where they stand, and a folder that refuses the temporary file is named.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "graph/bmp_file.h"
#include "platform/workbook/workbook_reader.h"

namespace ore::test {
namespace {

namespace fs = std::filesystem;

#ifdef OREFRAC_BATCH_BINARY
std::string slurp(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(BatchWriteTargets, FailedWritesKeepTheTargetAndSpecialFilesAreRefused) {
  const fs::path dir =
      fs::temp_directory_path() / ("orefrac-write-targets-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string oldText = "the previous good contents\n";
  const std::string longName = std::string(246, 'x');  // with the extension: 251 bytes

  enum class Before { None, GoodFile, Fifo, Folder };
  enum class After { Unchanged, Fifo, Folder, Bitmap, Workbook };
  struct Case {
    const char* what;
    std::string option;
    std::string name;
    Before before;
    std::string limit;   // shell commands before the run
    std::string stdOut;  // where standard output goes, when not to a file
    int code;
    std::string error;  // '@' stands for the target's path
    After after;
  } cases[] = {
      {"diagram past the file size limit", "--graph", "old.bmp", Before::GoodFile, "ulimit -f 1;",
       "", 1, "Ошибка записи в файл @: File too large", After::Unchanged},
      {"lumps past the file size limit", "--lumps", "old.tsv", Before::GoodFile, "ulimit -f 1;", "",
       1, "Ошибка записи в файл @: File too large", After::Unchanged},
      {"report past the file size limit", "--report", "old.xlsx", Before::GoodFile, "ulimit -f 1;",
       "", 1, "Не удается сохранить книгу в файл «@»: File too large", After::Unchanged},
      {"diagram onto a FIFO", "--graph", "fifo", Before::Fifo, "", "", 1,
       "Не удается создать файл @: это канал, который никто не читает", After::Fifo},
      {"report onto a FIFO", "--report", "fifo", Before::Fifo, "", "", 1,
       "Не удается сохранить книгу в файл «@»: это канал, который никто не читает", After::Fifo},
      {"results grid onto a folder", "--grid", "folder", Before::Folder, "", "", 1,
       "Не удается создать файл @: это папка", After::Folder},
      {"report to standard output", "--report", "-", Before::None, "", "", 1,
       "--report: книгу нельзя вывести в стандартный вывод, укажите имя файла", After::Unchanged},
      {"report of a 251-byte name", "--report", longName + ".xlsx", Before::None, "", "", 0, "",
       After::Workbook},
      {"diagram of a 251-byte name", "--graph", longName + ".bmp", Before::None, "", "", 0, "",
       After::Bitmap},
      {"summary onto a full device", "", "", Before::None, "", "/dev/full", 1,
       "Ошибка записи в стандартный вывод: No space left on device", After::Unchanged},
      {"lumps onto a full device", "--lumps", "-", Before::None, "", "/dev/full", 1,
       "Ошибка записи в стандартный вывод: No space left on device", After::Unchanged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path target = c.name.empty() || c.name == "-" ? fs::path() : dir / c.name;
    if (c.before == Before::GoodFile) std::ofstream(target, std::ios::binary) << oldText;
    if (c.before == Before::Fifo) {
      ASSERT_EQ(::mkfifo(target.c_str(), 0600), 0);
    }
    if (c.before == Before::Folder) fs::create_directory(target);

    std::string command = c.limit +
                          "exec timeout 60 '" OREFRAC_BATCH_BINARY "' '" OREFRAC_TEST_DATA
                          "/workbooks/basic-120.xlsxwriter.xlsx' --contents 3 --extra E,F "
                          "--limits '3;6;9;12;15' --decimal ,";
    if (!c.option.empty())
      command += " " + c.option + " '" + (target.empty() ? c.name : target.string()) + "'";
    const std::string out = c.stdOut.empty() ? (dir / "out").string() : c.stdOut;
    const std::string err = (dir / "err").string();
    const int status = std::system(("(" + command + ") >'" + out + "' 2>'" + err + "'").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.code);
    std::string expected = c.error.empty() ? "" : c.error + "\n";
    if (const size_t at = expected.find('@'); at != std::string::npos)
      expected.replace(at, 1, target.string());
    // libxlsxwriter prints its own lines about a failed write before the program's message.
    const std::string printed = slurp(err);
    if (expected.empty())
      EXPECT_EQ(printed, "");
    else
      EXPECT_TRUE(printed.ends_with(expected)) << printed;

    struct stat st {};
    const bool exists = !target.empty() && ::lstat(target.c_str(), &st) == 0;
    switch (c.after) {
      case After::Unchanged:
        if (c.before == Before::GoodFile) {
          EXPECT_EQ(slurp(target), oldText);
        }
        break;
      case After::Fifo:
        EXPECT_TRUE(exists && S_ISFIFO(st.st_mode));
        break;
      case After::Folder:
        EXPECT_TRUE(exists && S_ISDIR(st.st_mode));
        break;
      case After::Bitmap:
        EXPECT_EQ(graph::readBmp(target).width(), 665);
        break;
      case After::Workbook:
        EXPECT_EQ(readWorkbook(target).sheets.at(0).name(), "Отчет");
        break;
    }
    // No temporary file is left behind.
    for (const auto& e : fs::directory_iterator(dir))
      EXPECT_NE(e.path().filename().string().rfind(".orefrac-", 0), 0u) << e.path();
    if (!target.empty()) fs::remove_all(target);
  }
  fs::remove_all(dir);
}

const std::string kWorkbook = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";
const std::string kBatch =
    "'" OREFRAC_BATCH_BINARY "' '" + kWorkbook + "' --contents 3 --extra E,F --decimal , ";
const std::string kLimits = " --limits '3;6;9;12;15'";

struct Scratch {
  fs::path dir;
  explicit Scratch(const std::string& name)
      : dir(fs::temp_directory_path() / (name + std::to_string(::getpid()))) {
    fs::remove_all(dir);
    fs::create_directories(dir / "tmp");
  }
  ~Scratch() {
    std::error_code ec;
    fs::permissions(dir / "locked", fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }
  int run(const std::string& tail) const {
    const std::string command = "cd '" + dir.string() + "' && export TMPDIR='" +
                                (dir / "tmp").string() + "' && exec timeout 60 " + kBatch + tail +
                                " 2>err";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// Appended to a log, the output named as a file keeps what the log held and what the program
// prints after it, in the order printed; a device takes the bytes and stays a device.
TEST(BatchWriteTargets, TheShellsDescriptorsAndDevicesAreWrittenWhereTheyStand) {
  Scratch s("orefrac-in-place-");
  struct Case {
    const char* what;
    std::string args;
    std::string redirect;
    std::string sameAs;  // the arguments that print the same on standard output
  } cases[] = {
      {"curve to /dev/stdout", "--curve /dev/stdout --best-cut", "", "--curve - --best-cut"},
      {"curve to /dev/fd/1", "--curve /dev/fd/1 --best-cut", "", "--curve - --best-cut"},
      {"curve to /proc/self/fd/1", "--curve /proc/self/fd/1 --best-cut", "",
       "--curve - --best-cut"},
      {"lumps to /dev/stdout, grid to -", "--lumps /dev/stdout --grid -" + kLimits, "",
       "--lumps - --grid -" + kLimits},
      {"grid to /dev/null", "--grid /dev/null" + kLimits, "", kLimits},
      {"report to the shell's descriptor 3", "--report /dev/fd/3" + kLimits, " 3>report.xlsx",
       kLimits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(s.run(c.sameAs + " >expected"), 0);
    std::ofstream(s.dir / "log") << "old\n";
    EXPECT_EQ(s.run(c.args + " >>log" + c.redirect), 0);
    EXPECT_EQ(slurp(s.dir / "err"), "");
    EXPECT_EQ(slurp(s.dir / "log"), "old\n" + slurp(s.dir / "expected"));
    if (!c.redirect.empty()) {
      EXPECT_EQ(readWorkbook((s.dir / "report.xlsx").string()).sheets.at(0).name(), "Отчет");
    }
  }
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(fs::is_empty(s.dir / "tmp"));  // where the report was made before it was copied
}

// Runs orefrac-batch in a child prepared by inChild (false: it could not be), standard output
// to OUT and standard error to ERR; the status of waitpid, or -77 when the child was not ready.
int spawn(const std::vector<std::string>& args, int out, int err,
          const std::function<bool()>& inChild) {
  std::vector<char*> argv;
  const std::string binary = OREFRAC_BATCH_BINARY;
  argv.push_back(const_cast<char*>(binary.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!inChild()) ::_exit(77);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(errno == EACCES ? 77 : 126);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 77 ? -77 : status;
}

// A writable file in a folder that refuses new files: the temporary file cannot be made there,
// and the folder is named as the reason. Permissions do not bind root, so as root the child
// drops to the user nobody.
TEST(BatchWriteTargets, AFolderWithoutWriteAccessIsNamedEvenForAWritableFile) {
  Scratch s("orefrac-locked-");
  const fs::path locked = s.dir / "locked";
  fs::create_directory(locked);
  const bool root = ::geteuid() == 0;
  fs::permissions(s.dir, fs::perms::all);
  const std::string err = (s.dir / "err").string();
  struct Case {
    std::string option, name, message;
  } cases[] = {
      {"--lumps", "old.tsv",
       "Не удается создать файл @: нет прав на запись в папку «" + locked.string() + "»"},
      {"--report", "old.xlsx",
       "Не удается сохранить книгу в файл «@»: нет прав на запись в папку «" + locked.string() +
           "»"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    const fs::path target = locked / c.name;
    std::ofstream(target) << "kept\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::group_write | fs::perms::others_read |
                                fs::perms::others_write);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const int nullFd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int status = spawn({kWorkbook, "--contents", "3", "--extra", "E,F", "--limits", "3;6",
                              c.option, target.string()},
                             nullFd, errFd, [&] {
                               if (!root) return true;
                               const gid_t nobody = 65534;
                               return ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 &&
                                      ::setuid(65534) == 0;
                             });
    ::close(errFd);
    ::close(nullFd);
    if (status == -77) {
      GTEST_SKIP() << "the user nobody cannot be taken or cannot run the program";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::string expected = c.message + "\n";
    expected.replace(expected.find('@'), 1, target.string());
    EXPECT_EQ(slurp(err), expected);
    fs::permissions(locked, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(slurp(target), "kept\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(locked), {}), 1) << "a temporary file is left";
    fs::remove(target);
  }
}

// A reader that goes away ends the program as it ends any Unix filter: by SIGPIPE, unless the
// signal is ignored, when the failed write is reported and the run fails.
TEST(BatchWriteTargets, AClosedPipeEndsTheRunBySigpipeUnlessItIsIgnored) {
  Scratch s("orefrac-sigpipe-");
  const std::string err = (s.dir / "err").string();
  struct Case {
    void (*disposition)(int);
    bool signalled;
    std::string printed;
  } cases[] = {
      {SIG_DFL, true, ""},
      {SIG_IGN, false, "Ошибка записи в стандартный вывод: Broken pipe\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signalled ? "default" : "ignored");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int status = spawn({kWorkbook, "--curve", "-"}, ends[1], errFd,
                             [&] { return std::signal(SIGPIPE, c.disposition) != SIG_ERR; });
    ::close(ends[1]);
    ::close(errFd);
    if (c.signalled) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    }
    EXPECT_EQ(slurp(err), c.printed);
  }
}
#endif

}  // namespace
}  // namespace ore::test
