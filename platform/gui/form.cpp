#include "platform/gui/form.h"

namespace ore::gui {

Form::Form(const QString& name, const QString& caption, int width, int height, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName(name);
  setWindowTitle(caption);
  resize(width, height);
}

}  // namespace ore::gui
