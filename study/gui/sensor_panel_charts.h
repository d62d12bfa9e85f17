#pragma once
// The three charts of "Датчик и анализ": concentrate content against recovery and recovery against
// yield for the sensor's and the ideal's sortings with both best cuts, and the ROC curve with its
// diagonal, Youden's point and both areas in the legend.

#include <QString>
#include <vector>

#include "data/number_format.h"
#include "study/sensor_study.h"

class QChart;
class QChartView;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace ore::gui {

// What the charts draw, taken from a sensor study in full (one point per cut): plain numbers, so
// it is made on the worker thread and the study itself need not outlive it.
struct SensorDrawing {
  // A sorting's concentrate at each cut that sends some mass to it, from the top cut down (the
  // recovery rising), per cent: recovery, content and yield of element 1; and its best cut.
  struct Sorting {
    std::vector<double> recovery, grade, yield;
    double bestRecovery = 0, bestGrade = 0, bestYield = 0;
    QString bestText;  // the best cut and its E, as the legend names them
  };
  Sorting sensor, ideal;
  bool hasRoc = false;  // a cut-off grade was given
  bool rocDefined = false;
  // The ROC curves from (1, 1) through every cut, shares 0..1: waste accepted (x), ore accepted.
  std::vector<double> wasteCount, oreCount, wasteMass, oreMass;
  double youdenWaste = 0, youdenOre = 0;
  QString aucCountText, aucMassText, youdenText;

  static SensorDrawing of(const study::SensorStudy& study, const NumberFormat& fmt);
};

class SensorCharts {
 public:
  // Builds the charts, empty; a chart view given one takes it over.
  SensorCharts();
  SensorCharts(const SensorCharts&) = delete;
  SensorCharts& operator=(const SensorCharts&) = delete;

  QChart* grade() const { return grade_; }  // named SensorGradeChart
  QChart* yield() const { return yield_; }  // named SensorYieldChart
  QChart* roc() const { return roc_; }      // named SensorRocChart

  // Takes the drawing and fits the axes; draw() puts the curves into their series.
  void set(SensorDrawing drawing);
  // Everything gone: the charts as built.
  void clear();
  // Puts the thinned curves into their series for the plots' present widths.
  void draw(QChartView* gradeView, QChartView* yieldView, QChartView* rocView);

 private:
  SensorDrawing d_;
  bool any_ = false;

  QChart *grade_ = nullptr, *yield_ = nullptr, *roc_ = nullptr;
  QValueAxis* gradeAxis_ = nullptr;
  QLineSeries *sensorGrade_ = nullptr, *idealGrade_ = nullptr;
  QLineSeries *sensorYield_ = nullptr, *idealYield_ = nullptr, *noSeparation_ = nullptr;
  QLineSeries *rocCount_ = nullptr, *rocMass_ = nullptr, *rocDiagonal_ = nullptr;
  QScatterSeries *sensorBestGrade_ = nullptr, *idealBestGrade_ = nullptr;
  QScatterSeries *sensorBestYield_ = nullptr, *idealBestYield_ = nullptr;
  QScatterSeries* youden_ = nullptr;
};

}  // namespace ore::gui
