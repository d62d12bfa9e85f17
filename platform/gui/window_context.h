#pragma once
// What every window works with: the shared record, the number format and the error box. The
// windows themselves never reach each other; app/ wires them.

#include <functional>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"

namespace ore::gui {

struct WindowContext {
  Workspace& ws;
  NumberFormat fmt;
  ErrorBox& errors;

  // Runs a handler under the application-wide guard.
  void guard(const std::function<void()>& work) { guarded(errors, work); }
};

}  // namespace ore::gui
