#include "platform/gui/form.h"

#include "platform/gui/group_client.h"

namespace ore::gui {

Form::Form(const QString& name, const QString& caption, int width, int height, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(name);
  setWindowTitle(caption);
  resize(width, height);
}

void Form::showEvent(QShowEvent* e) {
  if (!groupsPlaced_) {
    groupsPlaced_ = true;
    keepGroupsInClientArea(this);
  }
  QWidget::showEvent(e);
}

}  // namespace ore::gui
