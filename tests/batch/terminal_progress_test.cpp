#include "batch/terminal_progress.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace ore::batch {
namespace {

// The line changes only with the whole percentage and is wiped once the work is done.
TEST(TerminalProgressTest, RewritesOneLineAndWipesItAtTheEnd) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  {
    TerminalProgress p(fds[1]);
    p.report(0, 0);  // nothing known yet: nothing shown
    p.report(1, 2);
    p.report(1001, 2001);  // still 50 %: not written again
    p.report(3, 4);
    p.report(4, 4);
    p.report(4, 4);  // already wiped
  }
  ::close(fds[1]);
  std::string got;
  char buf[256];
  for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) got.append(buf, n);
  ::close(fds[0]);
  EXPECT_EQ(got, "\rЧтение: 50 %\rЧтение: 75 %\r\033[K");
}

}  // namespace
}  // namespace ore::batch
