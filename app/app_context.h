#pragma once
// The program's context: what every window works with, and the eight windows, which only app/
// (their wiring) and the window tests reach through it.

#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

struct AppContext : WindowContext {
  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm4* Form4 = nullptr;
  TForm5* Form5 = nullptr;
  TForm6* Form6 = nullptr;
  TForm7* Form7 = nullptr;
  TForm8* Form8 = nullptr;
};

}  // namespace ore::gui
