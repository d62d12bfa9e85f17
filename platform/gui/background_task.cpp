#include "platform/gui/background_task.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>

namespace ore::gui {

struct BackgroundTask::Run : Progress {
  Run(BackgroundTask* owner, std::uint64_t id) : owner(owner), id(id) {}

  int permille() const { return static_cast<int>(fraction() * 1000.0); }

  void reported() override {
    // Only when the figure moved, and one queued call at a time: it reads the latest figure.
    const int p = permille();
    if (p == lastPermille.exchange(p, std::memory_order_relaxed)) return;
    if (progressQueued.exchange(true)) return;
    QMetaObject::invokeMethod(
        owner, [o = owner, i = id] { o->deliverProgress(i); }, Qt::QueuedConnection);
  }

  BackgroundTask* owner;  // outlives the thread: its destructor joins
  const std::uint64_t id;
  std::thread thread;
  std::atomic<int> lastPermille{-1};
  std::atomic<bool> progressQueued{false};
};

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() {
  for (auto& run : runs_) run->requestStop();
  for (auto& run : runs_)
    if (run->thread.joinable()) run->thread.join();
  // Calls the threads queued to this object go with it.
}

void BackgroundTask::start(Work work) {
  stopCurrent();
  auto run = std::make_shared<Run>(this, nextId_++);
  current_ = run->id;
  runs_.push_back(run);
  Run* r = run.get();  // lives in runs_ until its thread is joined
  r->thread = std::thread([this, r, work = std::move(work)] {
    Continuation continuation;
    QString error;
    bool ok = false, stopped = false;
    try {
      continuation = work(*r);
      ok = true;
    } catch (const WorkStopped&) {
      stopped = true;
    } catch (const std::bad_alloc&) {
      error = QStringLiteral("Недостаточно памяти");
    } catch (const std::exception& e) {
      error = QString::fromUtf8(e.what());
    }
    // A stop asked after the work returned drops its result as well.
    if (stopped || r->stopRequested()) {
      continuation = nullptr;
      ok = false;
      error.clear();
    }
    QMetaObject::invokeMethod(
        this,
        [this, id = r->id, c = std::move(continuation), error, ok]() mutable {
          deliverEnd(id, std::move(c), error, ok);
        },
        Qt::QueuedConnection);
  });
}

void BackgroundTask::cancel() {
  stopCurrent();
}

void BackgroundTask::stopCurrent() {
  if (!current_) return;
  for (auto& run : runs_)
    if (run->id == current_) run->requestStop();
  current_ = 0;
}

void BackgroundTask::deliverProgress(std::uint64_t id) {
  auto it = std::find_if(runs_.begin(), runs_.end(), [&](const auto& r) { return r->id == id; });
  if (it == runs_.end()) return;
  Run& run = **it;
  run.progressQueued = false;
  if (id != current_ || run.stopRequested()) return;
  emit progressChanged(run.permille());
}

void BackgroundTask::deliverEnd(std::uint64_t id, Continuation continuation, QString error,
                                bool ok) {
  reap(id);
  if (id != current_) return;
  current_ = 0;
  if (ok && continuation) continuation();
  if (!error.isEmpty()) emit failed(error);
  emit finished();
}

void BackgroundTask::reap(std::uint64_t id) {
  auto it = std::find_if(runs_.begin(), runs_.end(), [&](const auto& r) { return r->id == id; });
  if (it == runs_.end()) return;
  // The thread has posted its last call; joining waits only for it to return.
  if ((*it)->thread.joinable()) (*it)->thread.join();
  runs_.erase(it);
}

}  // namespace ore::gui
