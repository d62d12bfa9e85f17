#include "platform/gui/form.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "platform/gui/group_client.h"

namespace ore::gui {

Form::Form(const QString& name, const QString& caption, int width, int height, QWidget* parent)
    : QWidget(parent, Qt::Window), designed_(width, height) {
  setObjectName(name);
  setWindowTitle(caption);
  resize(width, height);
}

AnchoredClient* Form::client() {
  if (!client_) {
    client_ = new AnchoredClient(designed_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(client_->scrolled(this));
    // The layout must not change the designed size the window was given.
    resize(designed_);
  }
  return client_;
}

void Form::showEvent(QShowEvent* e) {
  if (!groupsPlaced_) {
    groupsPlaced_ = true;
    keepGroupsInClientArea(this);
    if (client_) client_->start();
  }
  QWidget::showEvent(e);
}

}  // namespace ore::gui
