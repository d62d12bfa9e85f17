#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "platform/gui/background_task.h"

namespace ore::gui::test {
namespace {

// Work that reports until asked to stop, or until released, then returns a continuation.
struct Gate {
  std::atomic<bool> release{false};
  std::atomic<bool> stopped{false};
};

BackgroundTask::Work waitingWork(std::shared_ptr<Gate> gate, std::vector<int>* log, int tag) {
  return [gate, log, tag](Progress& p) -> BackgroundTask::Continuation {
    try {
      for (std::uint64_t i = 0; !gate->release; ++i) {
        p.report(i % 1000, 1000);
        p.checkStop();
        std::this_thread::yield();
      }
    } catch (const WorkStopped&) {
      gate->stopped = true;
      throw;
    }
    const auto worker = std::this_thread::get_id();
    return [log, tag, worker] {
      // On the GUI thread, not the worker's.
      log->push_back(std::this_thread::get_id() == worker ? -tag : tag);
    };
  };
}

// A restart stops the old run and drops its result; its progress and end reach nobody.
TEST(BackgroundTaskTest, RestartDropsTheOldRunAndDeliversTheNewOneOnTheGuiThread) {
  std::vector<int> log;
  int finished = 0, failed = 0, progress = 0;
  BackgroundTask task;
  QObject::connect(&task, &BackgroundTask::finished, [&] { ++finished; });
  QObject::connect(&task, &BackgroundTask::failed, [&] { ++failed; });
  QObject::connect(&task, &BackgroundTask::progressChanged, [&](int p) {
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 1000);
    ++progress;
  });

  auto first = std::make_shared<Gate>(), second = std::make_shared<Gate>();
  task.start(waitingWork(first, &log, 1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return progress > 0; }, 10000));
  first->release = true;  // done, but its delivery is still queued when the restart comes
  task.start(waitingWork(second, &log, 2));
  EXPECT_TRUE(task.running());
  QTest::qWait(20);
  EXPECT_TRUE(log.empty());
  second->release = true;
  EXPECT_TRUE(QTest::qWaitFor([&] { return finished > 0; }, 10000));
  QTest::qWait(20);
  EXPECT_EQ(log, std::vector<int>{2});
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(failed, 0);
  EXPECT_FALSE(task.running());
}

// How a run ends, as the window hears it.
TEST(BackgroundTaskTest, EndsReachTheWindowAsTheyShould) {
  struct Case {
    const char* name;
    std::function<void(Progress&)> work;
    bool cancel;
    QString failed;  // empty: no failed()
    int finished;
  };
  const std::vector<Case> cases = {
      {"error", [](Progress&) { throw Error("Файл не найден"); }, false, "Файл не найден", 1},
      {"out of memory", [](Progress&) { throw std::bad_alloc(); }, false, "Недостаточно памяти", 1},
      {"stopped by itself", [](Progress&) { throw WorkStopped(); }, false, "", 1},
      {"cancelled",
       [](Progress& p) {
         while (true) p.checkStop();
       },
       true, "", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BackgroundTask task;
    QStringList failures;
    int finished = 0;
    bool ran = false;
    QObject::connect(&task, &BackgroundTask::failed, [&](QString m) { failures << m; });
    QObject::connect(&task, &BackgroundTask::finished, [&] { ++finished; });
    task.start([&, work = c.work](Progress& p) -> BackgroundTask::Continuation {
      work(p);
      return [&] { ran = true; };
    });
    if (c.cancel) task.cancel();
    if (c.cancel) {
      EXPECT_FALSE(task.running());
    }
    (void)QTest::qWaitFor([&] { return finished > 0; }, c.finished ? 10000 : 50);
    EXPECT_EQ(failures, c.failed.isEmpty() ? QStringList{} : QStringList{c.failed});
    EXPECT_EQ(finished, c.finished);
    EXPECT_FALSE(ran);
  }
}

// Closing the window mid-run stops the work and waits for it; nothing arrives afterwards.
TEST(BackgroundTaskTest, DestroyingStopsAndJoins) {
  auto gate = std::make_shared<Gate>();
  std::vector<int> log;
  {
    BackgroundTask task;
    task.start(waitingWork(gate, &log, 1));
    QTest::qWait(10);
  }
  EXPECT_TRUE(gate->stopped);
  QTest::qWait(10);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace ore::gui::test
