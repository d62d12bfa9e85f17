#pragma once
// The chart of "Стоимость границы": the value of a tonne of feed against the key, the value without
// sorting as a level, the best cut by value and the best cut by E marked.

#include <vector>

#include "data/choices.h"

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace ore::gui {

// What the chart draws, computed on the worker: one point per cut, in full.
struct ValueDrawing {
  std::vector<double> key, value;
  double withoutSorting = 0;
  double bestKey = 0, bestValue = 0;  // the best cut by value
  double bestEKey = 0, valueAtBestE = 0;
  DistributionKind kind = DistributionKind::Content;
};

class ValueChart {
 public:
  // Builds the chart, empty; a chart view given it takes it over.
  ValueChart();
  ValueChart(const ValueChart&) = delete;
  ValueChart& operator=(const ValueChart&) = delete;

  QChart* chart() const { return chart_; }  // named ValueChart

  // Fits the axes to d; draw() puts the thinned curve into its series.
  void set(ValueDrawing d);
  void clear();
  void draw(QChartView* view);

 private:
  ValueDrawing d_;
  QChart* chart_ = nullptr;
  QValueAxis *keyAxis_ = nullptr, *valueAxis_ = nullptr;
  QLineSeries *valueSeries_ = nullptr, *levelSeries_ = nullptr;
  QLineSeries *bestLine_ = nullptr, *bestELine_ = nullptr;
  QScatterSeries *bestPoint_ = nullptr, *bestEPoint_ = nullptr;
};

}  // namespace ore::gui
