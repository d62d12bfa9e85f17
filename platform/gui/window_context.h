#pragma once
// What every window works with: the shared record, the number format, the error box, and what
// makes the spreadsheet applications and asks for picture files. The windows themselves never
// reach each other; app/ wires them, and a test puts its own factory or chooser in.

#include <functional>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/question_box.h"
#include "platform/spreadsheet/automation.h"

namespace ore::gui {

struct WindowContext {
  Workspace& ws;
  NumberFormat fmt;
  ErrorBox& errors;
  // Makes the import's and the report's applications; the program's opens the report windows.
  automation::ObjectFactory createObject = automation::createObject;
  // Asks for the file a picture is saved to; the empty function is the file dialog.
  PictureFileChooser choosePictureFile{};
  // Asks the user a yes-or-no question; the empty function is the message box.
  YesNoQuestion askQuestion{};

  // Runs a handler under the application-wide guard.
  void guard(const std::function<void()>& work) { guarded(errors, work); }
};

}  // namespace ore::gui
