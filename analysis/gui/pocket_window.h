#pragma once
// TForm3, "Параметры расчета 2": the pocket limits table; "Далее" runs the fraction analysis.

#include <QGroupBox>
#include <QPushButton>
#include <functional>

#include "analysis/fraction_analysis.h"
#include "app/app_context.h"
#include "platform/gui/form.h"
#include "platform/gui/string_grid.h"

namespace ore::gui {

// What an analysis run does on the results and histogram windows.
class ResultsWindowsView : public analysis::AnalysisView {
 public:
  explicit ResultsWindowsView(AppContext& ctx) : ctx_(ctx) {}
  // The results window, then the histogram window, in front of the pocket window.
  void showResultsWindows() override;
  void setHistogram(const std::vector<analysis::HistogramPoint>& points) override;
  void showLabel() override;
  void setLabel(const std::string& text) override;
  void setPointsPerPage(int points) override;
  void setOutsideNote(const std::string& text) override;

 private:
  AppContext& ctx_;
};

class TForm3 : public Form {
  Q_OBJECT
 public:
  using AnalysisRunner = std::function<analysis::AnalysisOutcome(
      Workspace&, const TextGrid&, TextGrid&, const NumberFormat&, analysis::AnalysisView&)>;

  explicit TForm3(AppContext& ctx);

  void Button1Click();
  void Button2Click();

  // The run behind "Далее"; runFractionAnalysis unless a test puts another in its place.
  void setAnalysisRunner(AnalysisRunner runner) { runner_ = std::move(runner); }

  QGroupBox* GroupBox1 = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  AppContext& ctx_;
  AnalysisRunner runner_;
};

}  // namespace ore::gui
