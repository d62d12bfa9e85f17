#pragma once
// What every window reaches: the shared record, the number format, the error box and the
// application-wide reference to each of the eight windows.

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"

namespace ore::gui {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

struct AppContext {
  Workspace& ws;
  NumberFormat fmt;
  ErrorBox& errors;
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm4* Form4 = nullptr;
  TForm5* Form5 = nullptr;
  TForm6* Form6 = nullptr;
  TForm7* Form7 = nullptr;
  TForm8* Form8 = nullptr;

  // Runs a handler under the application-wide guard.
  void guard(const std::function<void()>& work) { guarded(errors, work); }
};

}  // namespace ore::gui
