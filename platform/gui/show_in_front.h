#pragma once
// Showing a window that a step brings up: in front of the others and active, as a window a user
// has just asked for should be. A hidden window comes up on top by itself; one already shown
// (perhaps covered) is raised.

#include <QWidget>

namespace ore::gui {

inline void showInFront(QWidget* w) {
  if (w->isVisible())
    w->raise();
  else
    w->show();
  w->activateWindow();
}

}  // namespace ore::gui
