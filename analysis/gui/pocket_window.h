#pragma once
// TForm3, "Параметры расчета 2": the pocket limits table; "Далее" runs the fraction analysis.

#include <QGroupBox>
#include <QPushButton>
#include <functional>

#include "analysis/fraction_analysis.h"
#include "platform/gui/form.h"
#include "platform/gui/progress_dialog.h"
#include "platform/gui/string_grid.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm3 : public Form {
  Q_OBJECT
 public:
  using AnalysisRunner = std::function<analysis::AnalysisOutcome(
      Workspace&, const TextGrid&, TextGrid&, const NumberFormat&, analysis::AnalysisView&,
      Progress*)>;

  explicit TForm3(WindowContext& ctx);

  void Button1Click();
  void Button2Click();

  // The run behind "Далее"; runFractionAnalysis unless a test puts another in its place.
  void setAnalysisRunner(AnalysisRunner runner) { runner_ = std::move(runner); }
  // When the run's progress dialog shows and repaints (past a second, every 50 ms by default).
  void setProgressTiming(ProgressDialog::Timing timing) { progressTiming_ = std::move(timing); }
  // What a run shows its outcome on and the results grid it writes; app/ sets them.
  void setResultsTarget(analysis::AnalysisView* view, TextGrid* results) {
    resultsView_ = view;
    results_ = results;
  }

  QGroupBox* GroupBox1 = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 signals:
  void cancelled();  // "<<< Отмена": back to the calculation parameters

 private:
  WindowContext& ctx_;
  AnalysisRunner runner_;
  ProgressDialog::Timing progressTiming_;
  analysis::AnalysisView* resultsView_ = nullptr;
  TextGrid* results_ = nullptr;
};

}  // namespace ore::gui
