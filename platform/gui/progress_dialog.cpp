#include "platform/gui/progress_dialog.h"

#include <QCoreApplication>
#include <QThread>

namespace ore::gui {

namespace {
constexpr int kSteps = 1000;  // the bar's resolution
}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent, QString text, Timing timing)
    : parent_(parent), text_(std::move(text)), timing_(std::move(timing)) {
  start_ = now();
}

ProgressDialog::~ProgressDialog() {
  finish();
}

std::chrono::steady_clock::time_point ProgressDialog::now() const {
  return timing_.clock ? timing_.clock() : std::chrono::steady_clock::now();
}

void ProgressDialog::finish() {
  delete dialog_.data();
}

void ProgressDialog::reported() {
  if (QThread::currentThread() == thread()) {
    update(true);
    return;
  }
  // From a worker: one queued update at a time; it reads the latest report when it runs. Bound
  // to this object, it is dropped if the object goes first.
  if (queued_.exchange(true)) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        queued_ = false;
        update(false);
      },
      Qt::QueuedConnection);
}

void ProgressDialog::update(bool paint) {
  // Once stopped, nothing more is processed: "Отмена" has closed the modal dialog, and input to
  // the other windows must not reach them before the work has ended.
  if (stopRequested()) return;
  const auto t = now();
  if (!dialog_) {
    if (t - start_ < timing_.showAfter) return;
    dialog_ = new QProgressDialog(text_, QStringLiteral("Отмена"), 0, kSteps, parent_);
    dialog_->setObjectName(QStringLiteral("ProgressDialog"));
    dialog_->setWindowTitle(QStringLiteral("Выполняется"));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumDuration(0);
    connect(dialog_, &QProgressDialog::canceled, this, [this] { requestStop(); });
    dialog_->show();
  } else if (t - lastPaint_ < timing_.paintEvery) {
    return;
  }
  lastPaint_ = t;
  if (total() == 0) {
    dialog_->setRange(0, 0);  // the amount is not known yet: a busy bar
  } else {
    dialog_->setRange(0, kSteps);
    dialog_->setValue(static_cast<int>(fraction() * kSteps));
  }
  if (paint) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace ore::gui
