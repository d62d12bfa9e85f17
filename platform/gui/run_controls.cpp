#include "platform/gui/run_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/gui/background_task.h"
#include "platform/gui/error_box.h"

namespace ore::gui {

namespace {

template <class W>
W* named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

RunControls::RunControls(BackgroundTask& task, QWidget* owner, ErrorBox& errors)
    : ButtonCompute(named(new QPushButton("Рассчитать"), "ButtonCompute")),
      ButtonCancel(named(new QPushButton("Отмена"), "ButtonCancel")),
      ProgressCompute(named(new QProgressBar, "ProgressCompute")),
      LabelStatus(named(new QLabel, "LabelStatus")),
      task_(task) {
  ButtonCancel->setEnabled(false);
  ProgressCompute->setRange(0, 1000);
  ProgressCompute->setTextVisible(false);
  ProgressCompute->setVisible(false);
  LabelStatus->setWordWrap(true);
  QObject::connect(&task, &BackgroundTask::progressChanged, ProgressCompute,
                   &QProgressBar::setValue);
  QObject::connect(&task, &BackgroundTask::failed, owner, [this, &errors](const QString& message) {
    LabelStatus->setText("Расчет не выполнен");
    errors.show(message.toStdString());
  });
  QObject::connect(&task, &BackgroundTask::finished, owner, [this] { setRunning(false); });
}

void RunControls::addTo(QVBoxLayout* layout) const {
  auto* row = new QHBoxLayout;
  row->addWidget(ButtonCompute);
  row->addWidget(ButtonCancel);
  layout->addLayout(row);
  layout->addWidget(ProgressCompute);
  layout->addWidget(LabelStatus);
}

void RunControls::started() {
  setRunning(true);
  LabelStatus->setText("Идет расчет…");
}

void RunControls::cancel() {
  if (!task_.running()) return;
  task_.cancel();
  setRunning(false);
  LabelStatus->setText("Расчет отменен");
}

void RunControls::setRunning(bool running) {
  ProgressCompute->setValue(0);
  ProgressCompute->setVisible(running);
  ButtonCancel->setEnabled(running);
}

}  // namespace ore::gui
