#pragma once
// The two charts of "Кривые обогатимости": the curves of element 1 against the key, and the
// concentrate's content against its recovery, with the pocket cuts and the best cut marked.

#include <vector>

#include "data/choices.h"
#include "study/best_cut.h"
#include "study/pocket_cuts.h"
#include "study/sortability_curve.h"

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace ore::gui {

class SortabilityCharts {
 public:
  // Builds both charts, empty; a chart view given one takes it over.
  SortabilityCharts();
  SortabilityCharts(const SortabilityCharts&) = delete;
  SortabilityCharts& operator=(const SortabilityCharts&) = delete;

  QChart* curves() const { return curves_; }  // named CurvesChart
  QChart* grade() const { return grade_; }    // named GradeChart

  // The curves of element 1 of cv keyed as kind says; the pocket marks are cleared. Call
  // setPockets() and draw() next.
  void setCurves(const study::SortabilityCurve& cv, DistributionKind kind);
  // The pocket cuts marked on the curves; the axes fitted to the curves and the marks.
  void setPockets(const std::vector<study::PocketCut>& pockets);
  // Puts the thinned curves into their series for the plots' present widths in the two views;
  // nothing to do when neither the curves, the axes nor the widths changed.
  void draw(QChartView* curvesView, QChartView* gradeView);
  void setBest(const study::BestCut& best);
  void clearBest();

 private:
  // The curves of element 1 in full, one point per cut.
  std::vector<double> key_, tailsYield_, tailsContent_, concContent_, tailsRecovery_;
  std::vector<double> concRecovery_;      // descending with the key; drawn from the top cut down
  std::vector<char> hasTails_, hasConc_;  // the tails, the concentrate of the cut has mass
  double contentMax_ = 0;                 // the largest content of a point of the curves
  struct Drawn {
    int keyColumns = 0, gradeColumns = 0;
    double keyMin = 0, keyMax = 0;
    bool operator==(const Drawn&) const = default;
  };
  Drawn drawn_;  // what the series were filled for; keyColumns 0: not filled

  QChart* curves_ = nullptr;
  QChart* grade_ = nullptr;
  QValueAxis *keyAxis_ = nullptr, *percentAxis_ = nullptr, *contentAxis_ = nullptr;
  QValueAxis *recoveryAxis_ = nullptr, *gradeAxis_ = nullptr;
  QLineSeries *tailsYieldSeries_ = nullptr, *tailsContentSeries_ = nullptr;
  QLineSeries *concContentSeries_ = nullptr, *tailsRecoverySeries_ = nullptr;
  QLineSeries *gradeSeries_ = nullptr, *bestLine_ = nullptr;
  QScatterSeries *pocketPercent_ = nullptr, *pocketContent_ = nullptr, *pocketGrade_ = nullptr;
  QScatterSeries *bestPercent_ = nullptr, *bestGrade_ = nullptr;
};

}  // namespace ore::gui
