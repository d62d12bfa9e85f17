#pragma once
// Where a failure of a timer's work on a field goes when a box would take the focus from the
// user typing in it: the field gets a red frame and the message as its tooltip, and a status line
// repeats the message. Used through OnceBox, so each distinct message is shown once.

#include <QString>
#include <string>
#include <vector>

#include "platform/gui/error_box.h"

class QLabel;
class QWidget;

namespace ore::gui {

class FieldErrorMark : public ErrorBox {
 public:
  void setTargets(QWidget* field, QLabel* status) {
    field_ = field;
    status_ = status;
  }
  // Marks the field and shows the message beside it (a tooltip at the field), keeping the focus.
  void show(const std::string& message) override;
  // The field is right again: the mark and the status line go.
  void clear();
  const std::vector<std::string>& shown() const { return shown_; }

 private:
  QWidget* field_ = nullptr;
  QLabel* status_ = nullptr;
  QString fieldSheet_;
  bool marked_ = false;
  std::vector<std::string> shown_;
};

}  // namespace ore::gui
