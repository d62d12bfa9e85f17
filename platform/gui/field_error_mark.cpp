#include "platform/gui/field_error_mark.h"

#include <QLabel>
#include <QToolTip>
#include <QWidget>

namespace ore::gui {

void FieldErrorMark::show(const std::string& message) {
  shown_.push_back(message);
  const QString text = QString::fromStdString(message);
  if (field_) {
    if (!marked_) fieldSheet_ = field_->styleSheet();
    marked_ = true;
    field_->setStyleSheet(QStringLiteral("border: 2px solid #d00000;"));
    field_->setToolTip(text);
    if (field_->isVisible())
      QToolTip::showText(field_->mapToGlobal(QPoint(0, field_->height())), text, field_);
  }
  if (status_) status_->setText(text);
}

void FieldErrorMark::clear() {
  if (field_ && marked_) {
    field_->setStyleSheet(fieldSheet_);
    field_->setToolTip(QString());
  }
  marked_ = false;
  if (status_) status_->clear();
}

}  // namespace ore::gui
