#pragma once
// The controls of work a panel runs on a BackgroundTask: "Рассчитать" and "Отмена" side by side,
// a progress bar and a status line under them. The bar follows the task's progress, a failure is
// named in the status line and the error box, and the bar goes when the task ends.

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace ore::gui {

class BackgroundTask;
class ErrorBox;

class RunControls {
 public:
  // Creates the controls (ButtonCompute, ButtonCancel, ProgressCompute, LabelStatus) and connects
  // the task's signals to them in owner's context.
  RunControls(BackgroundTask& task, QWidget* owner, ErrorBox& errors);

  // The buttons' row, the bar and the status line, in that order.
  void addTo(QVBoxLayout* layout) const;
  // A run starts: the bar shows, "Идет расчет…".
  void started();
  // "Отмена": the task is stopped, "Расчет отменен".
  void cancel();

  QPushButton* const ButtonCompute;
  QPushButton* const ButtonCancel;
  QProgressBar* const ProgressCompute;
  QLabel* const LabelStatus;

 private:
  void setRunning(bool running);

  BackgroundTask& task_;
};

}  // namespace ore::gui
