#pragma once
// The progress of long work, shown in a progress dialog once the work has run past a threshold
// (a second), with "Отмена" asking the work to stop. Work that a handler runs on the GUI thread
// gets the dialog painted from its own reports, at most every 50 ms, so reporting stays cheap.
// Nothing is processed before the dialog shows; once it shows it is application-modal and the
// events are processed whole, so that its "Отмена" takes a click while every other window's input
// is refused (events processed without user input would hold the click itself until the work
// ends). Work on a worker thread reports the same way: its reports reach the dialog through
// queued calls, one waiting at most.

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>

#include "data/progress.h"

class QWidget;

namespace ore::gui {

class ProgressDialog : public QObject, public Progress {
  Q_OBJECT
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  struct Timing {
    std::chrono::milliseconds showAfter{1000};
    std::chrono::milliseconds paintEvery{50};
    Clock clock;  // steady_clock::now when empty
  };

  // Created on the GUI thread; text says what the work is ("Расчет…").
  ProgressDialog(QWidget* parent, QString text, Timing timing);
  ProgressDialog(QWidget* parent, QString text) : ProgressDialog(parent, std::move(text), {}) {}
  ~ProgressDialog() override;

  // The dialog while it is shown; null before the threshold and after finish().
  QProgressDialog* dialog() const { return dialog_; }
  // Counts the threshold from now: for work that first waits on the user (a file chooser).
  void restartClock() { start_ = now(); }
  // Closes the dialog; on the GUI thread, when a worker's work is over. A handler's dialog goes
  // with the object.
  void finish();

 protected:
  void reported() override;

 private:
  std::chrono::steady_clock::time_point now() const;
  // On the GUI thread; paint: process events, as the reporting work holds the thread.
  void update(bool paint);

  QPointer<QWidget> parent_;
  QString text_;
  Timing timing_;
  std::chrono::steady_clock::time_point start_, lastPaint_;
  QPointer<QProgressDialog> dialog_;
  std::atomic<bool> queued_{false};
};

}  // namespace ore::gui
