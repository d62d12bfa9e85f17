#pragma once
// BackgroundTask: long work beside a window, run on a worker thread so the window keeps painting.
//
// start(work) runs work(progress) on a new worker thread with its own ore::Progress. The work
// reads only what it was given (copies or shared, unchanging data) and returns a continuation;
// the continuation runs on the GUI thread and is the only place that touches the window. At most
// one run is current:
//   - start() while a run is current stops that run and drops whatever it would deliver; it
//     never waits for it and never queues the new work behind it;
//   - cancel() stops the current run and drops its result;
//   - destroying the task (closing its window) stops every run and joins its thread.
// Nothing of a stopped or superseded run reaches the window: no continuation, no failed(), no
// progressChanged(), no finished().
//
// The work reports with progress.report(done, total) and calls progress.checkStop() where it may
// stop; a stop ends it by WorkStopped, which is silently dropped. An ore::Error ends it with
// failed(its text); running out of memory with failed("Недостаточно памяти").
//
//   task->start([data = shared] (ore::Progress& p) {
//     auto result = compute(*data, p);
//     return [this, result = std::move(result)] { show(result); };
//   });

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "data/progress.h"

namespace ore::gui {

class BackgroundTask : public QObject {
  Q_OBJECT
 public:
  using Continuation = std::function<void()>;
  using Work = std::function<Continuation(Progress&)>;

  explicit BackgroundTask(QObject* parent = nullptr);
  ~BackgroundTask() override;

  // On the GUI thread.
  void start(Work work);
  void cancel();
  // A run is current: started, neither delivered, failed nor cancelled.
  bool running() const { return current_ != 0; }

 signals:
  // The current run's progress, 0..1000; at most one waiting in the event queue, sent only when
  // the figure changes.
  void progressChanged(int permille);
  // The current run ended by an error; message is its text, as a user is shown it.
  void failed(QString message);
  // The current run is over: its continuation has run, failed() was sent, or the work stopped
  // itself by WorkStopped.
  void finished();

 private:
  struct Run;
  void deliverProgress(std::uint64_t id);
  void deliverEnd(std::uint64_t id, Continuation continuation, QString error, bool ok);
  void reap(std::uint64_t id);
  void stopCurrent();

  std::vector<std::shared_ptr<Run>> runs_;  // every run whose thread is not joined yet
  std::uint64_t nextId_ = 1;
  std::uint64_t current_ = 0;  // 0: none
};

}  // namespace ore::gui
