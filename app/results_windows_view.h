#pragma once
// What an analysis run does on the results and histogram windows.

#include "analysis/fraction_analysis.h"

namespace ore::gui {

class TForm4;
class TForm5;

class ResultsWindowsView : public analysis::AnalysisView {
 public:
  ResultsWindowsView(TForm4& results, TForm5& histogram)
      : results_(results), histogram_(histogram) {}
  // The results window, then the histogram window, in front of the pocket window; the notes of
  // the run before go.
  void showResultsWindows() override;
  void setHistogram(const std::vector<analysis::HistogramPoint>& points) override;
  void showLabel() override;
  void setLabel(const std::string& text) override;
  void setPointsPerPage(int points) override;
  void setNotes(const std::vector<std::string>& lines) override;

 private:
  TForm4& results_;
  TForm5& histogram_;
};

}  // namespace ore::gui
