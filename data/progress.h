#pragma once
// How long work tells whoever waits for it how far it has come, and learns that it should stop.
// One object per piece of work, shared by the thread doing it and the one watching it.

#include <atomic>
#include <cstdint>

#include "data/errors.h"

namespace ore {

// Thrown by work whose Progress was asked to stop; what it had done is discarded. Not an error a
// user is shown: whoever asked for the stop catches it.
class WorkStopped : public Error {
 public:
  WorkStopped() : Error("Остановлено") {}
};

// Reports of "done of total" and a request to stop, like a feedback object passed into long work.
// The work calls report() as it goes (cheap: two atomic stores and, for a subclass, a hook) and
// checkStop() where stopping is safe; any thread may call requestStop(). A plain Progress is
// silent: the batch tool and the tests pass one.
class Progress {
 public:
  Progress() = default;
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  virtual ~Progress() = default;

  // done of total units of the current work (total 0: the amount is not known yet).
  void report(std::uint64_t done, std::uint64_t total) {
    done_.store(done, std::memory_order_relaxed);
    total_.store(total, std::memory_order_relaxed);
    reported();
  }
  std::uint64_t done() const { return done_.load(std::memory_order_relaxed); }
  std::uint64_t total() const { return total_.load(std::memory_order_relaxed); }
  // 0..1, or 0 while the total is not known.
  double fraction() const {
    const std::uint64_t t = total(), d = done();
    return t ? (d >= t ? 1.0 : static_cast<double>(d) / static_cast<double>(t)) : 0.0;
  }

  void requestStop() { stop_.store(true, std::memory_order_relaxed); }
  bool stopRequested() const { return stop_.load(std::memory_order_relaxed); }
  // Throws WorkStopped when a stop was requested.
  void checkStop() const {
    if (stopRequested()) throw WorkStopped();
  }

 protected:
  // Called on the reporting thread after each report(); a window's progress dialog paints here.
  virtual void reported() {}

 private:
  std::atomic<std::uint64_t> done_{0}, total_{0};
  std::atomic<bool> stop_{false};
};

}  // namespace ore
