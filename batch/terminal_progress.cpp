#include "batch/terminal_progress.h"

#include <unistd.h>

#include <string>

namespace ore::batch {

namespace {

void writeAll(int fd, const std::string& s) {
  std::size_t at = 0;
  while (at < s.size()) {
    const ssize_t n = ::write(fd, s.data() + at, s.size() - at);
    if (n <= 0) return;  // a progress line that cannot be shown is not a failure of the work
    at += static_cast<std::size_t>(n);
  }
}

}  // namespace

void TerminalProgress::reported() {
  if (total() == 0) return;
  if (done() >= total()) {  // the work is over: what is printed next gets a clean line
    clear();
    return;
  }
  // Whole percents only: the line changes at most a hundred times, whatever the work reports.
  const int percent = static_cast<int>(fraction() * 100);
  if (percent == shown_) return;
  shown_ = percent;
  writeAll(fd_, "\rЧтение: " + std::to_string(percent) + " %");
}

void TerminalProgress::clear() {
  if (shown_ < 0) return;
  shown_ = -1;
  writeAll(fd_, "\r\033[K");
}

}  // namespace ore::batch
