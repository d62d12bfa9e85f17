// Targets that cannot be replaced by a renamed file are written where they are: the process's own
// descriptors after what its streams printed, devices, FIFOs and sockets in place, a dangling link
// through to the file it names.

#include "platform/files/safe_file_writer.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace ore::test {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string drain(int fd) {
  std::string got;
  char buf[4096];
  for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
  return got;
}

struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("orefrac-safe-" + std::to_string(::getpid()));
  Scratch() {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Scratch() { fs::remove_all(dir); }
};

TEST(SafeFileWriter, TargetsThatCannotBeReplacedAreWrittenInPlace) {
  Scratch s;
  const std::string bytes = "new\tbytes\n";
  // Where the bytes go: prepare() makes the target and returns its name, written() returns what
  // reached it afterwards (and checks that it is still what it was).
  struct Case {
    const char* what;
    std::function<std::string()> prepare;
    std::function<std::string()> written;
    std::string expected;       // the bytes that reached the target, or the message refusing it
    bool viaTemporary = false;  // written by name, as the workbook and PDF libraries do
  };
  // An open file that stdio has buffered text for: that text must come before the bytes, and what
  // is printed after must follow them at the same offset.
  FILE* log = nullptr;
  int pipeEnds[2] = {-1, -1};
  int listening = -1;
  auto openLog = [&] {
    std::ofstream(s.dir / "log") << "old\n";
    log = std::fopen((s.dir / "log").c_str(), "r+");
    std::fseek(log, 0, SEEK_END);
    std::fputs("before\n", log);
    return std::to_string(::fileno(log));
  };
  auto closeLog = [&] {
    std::fputs("after\n", log);
    std::fclose(log);
    return slurp(s.dir / "log");
  };
  auto fifo = [&](bool reader) {
    const fs::path f = s.dir / "fifo";
    fs::remove(f);
    ::mkfifo(f.c_str(), 0600);
    if (reader) pipeEnds[0] = ::open(f.c_str(), O_RDONLY | O_NONBLOCK);
    return f.string();
  };
  auto fifoGot = [&] {
    std::string got = pipeEnds[0] >= 0 ? drain(pipeEnds[0]) : "";
    if (pipeEnds[0] >= 0) ::close(pipeEnds[0]);
    pipeEnds[0] = -1;
    struct stat st {};
    EXPECT_TRUE(::lstat((s.dir / "fifo").c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
    return got;
  };
  const std::string unread = "Не удается создать файл " + (s.dir / "fifo").string() +
                             ": это канал, который никто не читает";
  const Case cases[] = {
      {"/dev/fd/N of an open file", [&] { return "/dev/fd/" + openLog(); }, closeLog,
       "old\nbefore\n" + bytes + "after\n"},
      {"/proc/self/fd/N of an open file", [&] { return "/proc/self/fd/" + openLog(); }, closeLog,
       "old\nbefore\n" + bytes + "after\n"},
      {"a link to /dev/fd/N",
       [&] {
         fs::remove(s.dir / "link");
         fs::create_symlink("/dev/fd/" + openLog(), s.dir / "link");
         return (s.dir / "link").string();
       },
       closeLog, "old\nbefore\n" + bytes + "after\n"},
      {"/dev/fd/N of an open file, by name", [&] { return "/dev/fd/" + openLog(); }, closeLog,
       "old\nbefore\n" + bytes + "after\n", true},
      {"a pipe's descriptor",
       [&] {
         EXPECT_EQ(::pipe(pipeEnds), 0);
         return "/proc/self/fd/" + std::to_string(pipeEnds[1]);
       },
       [&] {
         ::close(pipeEnds[1]);
         const std::string got = drain(pipeEnds[0]);
         ::close(pipeEnds[0]);
         pipeEnds[0] = -1;
         return got;
       },
       bytes},
      {"a dangling link",
       [&] {
         fs::create_symlink("made.tsv", s.dir / "dangling");
         return (s.dir / "dangling").string();
       },
       [&] {
         EXPECT_TRUE(fs::is_symlink(s.dir / "dangling"));
         return slurp(s.dir / "made.tsv");
       },
       bytes},
      {"/dev/null", [] { return std::string("/dev/null"); },
       [] {
         EXPECT_TRUE(fs::is_character_file("/dev/null"));
         return std::string();
       },
       ""},
      {"a FIFO with a reader", [&] { return fifo(true); }, fifoGot, bytes},
      {"a FIFO with a reader, by name", [&] { return fifo(true); }, fifoGot, bytes, true},
      {"a FIFO nobody reads", [&] { return fifo(false); }, fifoGot, unread},
      {"a listening socket",
       [&] {
         const fs::path f = s.dir / "socket";
         sockaddr_un a{};
         a.sun_family = AF_UNIX;
         std::snprintf(a.sun_path, sizeof a.sun_path, "%s", f.c_str());
         // Not blocking: a refused write leaves nothing to accept.
         listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
         EXPECT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
         EXPECT_EQ(::listen(listening, 1), 0);
         return f.string();
       },
       [&] {
         const int c = ::accept(listening, nullptr, nullptr);
         const std::string got = c >= 0 ? drain(c) : "";
         if (c >= 0) ::close(c);
         ::close(listening);
         return got;
       },
       bytes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = c.prepare();
    std::string outcome;
    try {
      SafeFileWriter file(path);
      if (c.viaTemporary) {
        const std::string temporary = file.temporaryPath();
        std::ofstream(temporary, std::ios::binary) << bytes;
        file.commit();
        EXPECT_FALSE(fs::exists(temporary));
      } else {
        file.write(bytes);
        file.commit();
      }
    } catch (const FileWriteError& e) {
      outcome = e.what();
    }
    outcome += c.written();
    EXPECT_EQ(outcome, c.expected);
  }
}

}  // namespace
}  // namespace ore::test
