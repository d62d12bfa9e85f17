#pragma once
// The wait cursor over the whole program while a handler works, restored however the handler
// ends. Nested ones stack: the cursor comes back when the outermost goes.

#include <QApplication>

namespace ore::gui {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace ore::gui
