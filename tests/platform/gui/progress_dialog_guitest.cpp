#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <atomic>
#include <thread>

#include "platform/gui/progress_dialog.h"

namespace ore::gui::test {
namespace {

// Work on a worker thread: its reports reach the dialog by queued calls, and "Отмена" on the
// dialog stops the work at its next check.
TEST(ProgressDialogTest, OtmenaStopsWorkOnAWorkerThread) {
  ProgressDialog progress(nullptr, QStringLiteral("Расчет…"),
                          {std::chrono::milliseconds(0), std::chrono::milliseconds(0), {}});
  std::atomic<bool> stopped{false};
  std::thread worker([&] {
    try {
      for (std::uint64_t i = 0;; ++i) {
        progress.report(i, 0);
        progress.checkStop();
        std::this_thread::yield();
      }
    } catch (const WorkStopped&) {
      stopped = true;
    }
  });
  const bool shown = QTest::qWaitFor([&] { return progress.dialog() != nullptr; }, 10000);
  if (shown) {
    QProgressDialog* d = progress.dialog();
    EXPECT_EQ(d->maximum(), 0) << "no total: a busy bar";
    EXPECT_TRUE(d->isModal());
    auto* cancel = d->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Отмена"));
    cancel->click();
  }
  const bool ended = QTest::qWaitFor([&] { return stopped.load(); }, 10000);
  progress.requestStop();  // a failed check above must not leave the worker running
  worker.join();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(ended);
  progress.finish();
  EXPECT_EQ(progress.dialog(), nullptr);
}

}  // namespace
}  // namespace ore::gui::test
