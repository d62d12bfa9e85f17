#pragma once
// Showing a window that a step brings up: restored if the user had minimised it, in front of the
// others and active, as a window a user has just asked for should be.

#include <QWidget>

namespace ore::gui {

inline void showInFront(QWidget* w) {
  if (w->windowState() & Qt::WindowMinimized)
    w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  if (!w->isVisible()) w->show();
  w->raise();
  w->activateWindow();
}

}  // namespace ore::gui
