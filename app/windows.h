#pragma once
// The eight windows of the program, created hidden in their fixed order (TForm1 first: the
// creation of later windows stores defaults into fields the main window owns), and the wiring
// between them: no window knows another.

#include <memory>

#include "app/app_context.h"

namespace ore::gui {

class ReportWindows;
class SortabilityWindow;
class StudyWindow;
class ResultsWindowsView;

class Windows {
 public:
  explicit Windows(AppContext& ctx);
  ~Windows();

 private:
  AppContext& ctx_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
  std::unique_ptr<TForm3> form3_;
  std::unique_ptr<TForm4> form4_;
  std::unique_ptr<TForm5> form5_;
  std::unique_ptr<TForm6> form6_;
  std::unique_ptr<TForm7> form7_;
  std::unique_ptr<TForm8> form8_;
  std::unique_ptr<SortabilityWindow> sortability_;
  std::unique_ptr<StudyWindow> study_;
  std::unique_ptr<ReportWindows> reports_;  // a window for every visible report application
  std::unique_ptr<ResultsWindowsView> resultsView_;
};

}  // namespace ore::gui
