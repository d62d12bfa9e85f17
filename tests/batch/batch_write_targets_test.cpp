// Where orefrac-batch's outputs land: a write that fails keeps the old file, a target that is not
// a regular file is refused and left as it was, a name of the longest legal length is saved, and
// output lost on standard output fails the run.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

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
       "Не удается создать файл @: это канал, а не обычный файл", After::Fifo},
      {"report onto a FIFO", "--report", "fifo", Before::Fifo, "", "", 1,
       "Не удается сохранить книгу в файл «@»: это канал, а не обычный файл", After::Fifo},
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
#endif

}  // namespace
}  // namespace ore::test
