// orefrac-batch: the command-line twin of the program's import, analysis, report and diagram.

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "batch/terminal_progress.h"
#include "data/errors.h"

namespace {

// The user's decimal separator, from LC_NUMERIC of the environment (as the program takes it
// from the user's locale at start).
char localeDecimal() {
  if (!std::setlocale(LC_NUMERIC, "")) return '.';
  const char* point = std::localeconv()->decimal_point;
  char sep = (point && std::strlen(point) == 1) ? point[0] : '.';
  std::setlocale(LC_NUMERIC, "C");
  return sep;
}

// Everything printed must have reached standard output: a full disk or a closed pipe shows only
// when the buffer is flushed, and on some file systems only when the file is closed.
bool standardOutputWritten() {
  errno = 0;
  std::cout.flush();
  if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::cerr << ore::batch::stdoutFailure(errno) << "\n";
    return false;
  }
  if (::close(STDOUT_FILENO) != 0 && errno != EBADF) {
    std::cerr << ore::batch::stdoutFailure(errno) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Past the file size limit a write fails with EFBIG and a message, instead of killing the
  // program with a temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  // A progress line only for a person watching a terminal, never into a redirected stream.
  std::optional<ore::batch::TerminalProgress> progress;
  if (::isatty(STDERR_FILENO)) progress.emplace(STDERR_FILENO);
  try {
    ore::batch::Options options = ore::batch::parseOptions(args);
    if (options.help)
      std::cout << ore::batch::usage();
    else
      ore::batch::run(options, localeDecimal(), std::cout, progress ? &*progress : nullptr);
    if (progress) progress->clear();
  } catch (const std::exception& e) {
    if (progress) progress->clear();
    std::cerr << e.what() << "\n";
    return 1;
  }
  return standardOutputWritten() ? 0 : 1;
}
