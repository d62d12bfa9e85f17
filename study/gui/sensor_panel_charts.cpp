#include "study/gui/sensor_panel_charts.h"

#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "platform/gui/content_axis.h"
#include "study/curve_decimation.h"

namespace ore::gui {

namespace {

const QColor kSensor(0, 90, 200), kIdeal(200, 120, 0), kMass(0, 150, 60), kGrey(130, 130, 130);

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

QLineSeries* lineSeries(const char* name, const QString& title, QColor color,
                        Qt::PenStyle style = Qt::SolidLine) {
  auto* s = new QLineSeries;
  s->setObjectName(name);
  s->setName(title);
  s->setPen(QPen(color, 1.5, style));
  return s;
}

QScatterSeries* pointSeries(const char* name, QColor color, QScatterSeries::MarkerShape shape) {
  auto* s = new QScatterSeries;
  s->setObjectName(name);
  s->setColor(color);
  s->setBorderColor(color.darker(150));
  s->setMarkerSize(10);
  s->setMarkerShape(shape);
  return s;
}

QValueAxis* valueAxis(const QString& title, double top, int ticks) {
  auto* a = new QValueAxis;
  a->setTitleText(title);
  a->setLabelFormat("%.6g");
  a->setRange(0, top);
  a->setTickCount(ticks);
  return a;
}

QChart* chart(const char* name, const QString& title) {
  auto* c = new QChart;
  c->setLocalizeNumbers(true);  // axis labels with the locale's decimal separator
  c->setObjectName(name);
  c->setTitle(title);
  c->legend()->setAlignment(Qt::AlignBottom);
  QFont font = c->legend()->font();
  font.setPointSizeF(font.pointSizeF() * 0.9);
  c->legend()->setFont(font);
  return c;
}

void attach(QChart* chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(s);
  s->attachAxis(x);
  s->attachAxis(y);
}

void hideFromLegend(QChart* chart, QAbstractSeries* s) {
  for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
}

int plotColumns(QChartView* view, QChart* chart) {
  const int w = static_cast<int>(chart->plotArea().width());
  return std::max(w > 0 ? w : view->width(), 100);
}

void fill(QLineSeries* s, const std::vector<double>& x, const std::vector<double>& y,
          const QValueAxis* axis, int columns) {
  const std::vector<std::size_t> keep =
      study::decimateCurve(x.data(), y.data(), x.size(), axis->min(), axis->max(), columns);
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(keep.size()));
  for (std::size_t i : keep) points.append(QPointF(x[i], y[i]));
  s->replace(points);
}

QValueAxis* xAxisOf(QAbstractSeries* s) {
  return qobject_cast<QValueAxis*>(s->attachedAxes().value(0));
}

SensorDrawing::Sorting sortingOf(const study::SortabilityCurve& cv, const study::BestCut& best,
                                 double bestCut, const char* what, const NumberFormat& fmt) {
  SensorDrawing::Sorting s;
  const std::size_t n = cv.cutCount();
  for (auto* v : {&s.recovery, &s.grade, &s.yield}) v->reserve(n);
  for (std::size_t g = n; g-- > 0;) {
    const study::CutFigures f = cv.figures(g);
    // An empty concentrate has no content: the rule for a divisor of 0 would put it at 0.
    if (f.concentrateYield == 0) continue;
    s.recovery.push_back(static_cast<double>(f.concentrateRecovery[1]));
    s.grade.push_back(static_cast<double>(f.concentrateContent[1]));
    s.yield.push_back(static_cast<double>(f.concentrateYield));
  }
  const study::CutFigures& f = best.figures;
  s.bestRecovery = static_cast<double>(f.concentrateRecovery[1]);
  s.bestGrade = static_cast<double>(f.concentrateContent[1]);
  s.bestYield = static_cast<double>(f.concentrateYield);
  s.bestText = QString("Лучшая граница %1: %2").arg(what, text(fmt.format(bestCut)));
  return s;
}

}  // namespace

SensorDrawing SensorDrawing::of(const study::SensorStudy& s, const NumberFormat& fmt) {
  SensorDrawing d;
  d.sensor = sortingOf(s.sensor, s.sensorBest, s.sensorBestCut(), "по параметру", fmt);
  d.ideal = sortingOf(s.ideal, s.idealBest, s.idealBest.figures.key, "по содержанию", fmt);
  if (!s.oreWaste) return d;
  const study::OreWaste& w = *s.oreWaste;
  d.hasRoc = true;
  d.rocDefined = w.defined;
  const std::size_t n = w.roc.size();
  for (auto* v : {&d.wasteCount, &d.oreCount, &d.wasteMass, &d.oreMass}) {
    v->reserve(n + 1);
    v->push_back(1);  // everything accepted
  }
  for (std::size_t i = 0; i < n; ++i) {
    const study::RocPoint p = w.roc.point(i);
    d.wasteCount.push_back(static_cast<double>(p.wastePassed));
    d.oreCount.push_back(static_cast<double>(p.orePassed));
    d.wasteMass.push_back(static_cast<double>(p.wasteMassPassed));
    d.oreMass.push_back(static_cast<double>(p.oreMassPassed));
  }
  // The legend is no place for 15 digits: the table beside it holds them.
  auto area = [&](bool defined, long double v) {
    return defined ? "площадь " + text(fmt.format(std::round(static_cast<double>(v) * 1e4) / 1e4))
                   : QString("площадь не определена");
  };
  d.aucCountText = "По кускам, " + area(w.defined, w.aucCount);
  d.aucMassText = "По массе, " + area(w.aucMassDefined, w.aucMass);
  if (w.defined) {
    d.youdenOre = static_cast<double>(w.sensitivity / 100);
    d.youdenWaste = static_cast<double>(1 - w.specificity / 100);
    d.youdenText = "Юден: " + text(fmt.format(w.youdenCut));
  }
  return d;
}

SensorCharts::SensorCharts() {
  grade_ = chart("SensorGradeChart", "Содержание в концентрате от извлечения, элемент 1");
  auto* recovery = valueAxis("Извлечение в концентрат, %  №= 1", 100, 5);
  gradeAxis_ = valueAxis("Содержание в концентрате, %  №= 1", 100, 5);
  grade_->addAxis(recovery, Qt::AlignBottom);
  grade_->addAxis(gradeAxis_, Qt::AlignLeft);
  sensorGrade_ = lineSeries("SeriesSensorGrade", "Датчик: по параметру", kSensor);
  idealGrade_ = lineSeries("SeriesIdealGrade", "Идеал: по содержанию", kIdeal);
  sensorBestGrade_ =
      pointSeries("SeriesSensorBestGrade", kSensor, QScatterSeries::MarkerShapeRectangle);
  idealBestGrade_ =
      pointSeries("SeriesIdealBestGrade", kIdeal, QScatterSeries::MarkerShapeRectangle);
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
           sensorGrade_, idealGrade_, sensorBestGrade_, idealBestGrade_})
    attach(grade_, s, recovery, gradeAxis_);

  yield_ = chart("SensorYieldChart", "Извлечение от выхода концентрата, элемент 1");
  auto* yieldAxis = valueAxis("Выход концентрата, %", 100, 5);
  auto* recovery2 = valueAxis("Извлечение в концентрат, %  №= 1", 100, 5);
  yield_->addAxis(yieldAxis, Qt::AlignBottom);
  yield_->addAxis(recovery2, Qt::AlignLeft);
  sensorYield_ = lineSeries("SeriesSensorYield", "Датчик", kSensor);
  idealYield_ = lineSeries("SeriesIdealYield", "Идеал", kIdeal);
  noSeparation_ = lineSeries("SeriesNoSeparation", "Без разделения", kGrey, Qt::DashLine);
  noSeparation_->replace(QList<QPointF>{{0, 0}, {100, 100}});
  sensorBestYield_ =
      pointSeries("SeriesSensorBestYield", kSensor, QScatterSeries::MarkerShapeRectangle);
  idealBestYield_ =
      pointSeries("SeriesIdealBestYield", kIdeal, QScatterSeries::MarkerShapeRectangle);
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
           sensorYield_, idealYield_, noSeparation_, sensorBestYield_, idealBestYield_})
    attach(yield_, s, yieldAxis, recovery2);
  // The best cuts are named once, in the content chart's legend.
  hideFromLegend(yield_, sensorBestYield_);
  hideFromLegend(yield_, idealBestYield_);

  roc_ = chart("SensorRocChart", "ROC-кривая");
  auto* waste = valueAxis("Доля принятых пустых кусков", 1, 6);
  auto* ore = valueAxis("Доля принятых рудных кусков", 1, 6);
  roc_->addAxis(waste, Qt::AlignBottom);
  roc_->addAxis(ore, Qt::AlignLeft);
  rocCount_ = lineSeries("SeriesRocCount", "По кускам", kSensor);
  rocMass_ = lineSeries("SeriesRocMass", "По массе", kMass);
  rocDiagonal_ = lineSeries("SeriesRocDiagonal", "Без различения", kGrey, Qt::DashLine);
  rocDiagonal_->replace(QList<QPointF>{{0, 0}, {1, 1}});
  youden_ = pointSeries("SeriesYouden", QColor(220, 0, 0), QScatterSeries::MarkerShapeCircle);
  for (QAbstractSeries* s :
       std::initializer_list<QAbstractSeries*>{rocCount_, rocMass_, rocDiagonal_, youden_})
    attach(roc_, s, waste, ore);
  hideFromLegend(roc_, rocDiagonal_);  // dashed, as the no-separation line beside it
  clear();
}

void SensorCharts::clear() {
  d_ = SensorDrawing();
  any_ = false;
  for (QXYSeries* s : std::initializer_list<QXYSeries*>{
           sensorGrade_, idealGrade_, sensorYield_, idealYield_, rocCount_, rocMass_,
           sensorBestGrade_, idealBestGrade_, sensorBestYield_, idealBestYield_, youden_})
    s->clear();
  sensorBestGrade_->setName("Лучшая граница по параметру");
  idealBestGrade_->setName("Лучшая граница по содержанию");
  rocCount_->setName("По кускам");
  rocMass_->setName("По массе");
  youden_->setName("Граница по Юдену");
  roc_->setTitle("ROC-кривая");
}

void SensorCharts::set(SensorDrawing drawing) {
  d_ = std::move(drawing);
  any_ = true;
  double top = 0;
  for (const auto* v : {&d_.sensor.grade, &d_.ideal.grade})
    if (!v->empty()) top = std::max(top, *std::max_element(v->begin(), v->end()));
  setContentRange(gradeAxis_, top);
  sensorBestGrade_->setName(d_.sensor.bestText);
  idealBestGrade_->setName(d_.ideal.bestText);
  sensorBestGrade_->replace(QList<QPointF>{{d_.sensor.bestRecovery, d_.sensor.bestGrade}});
  idealBestGrade_->replace(QList<QPointF>{{d_.ideal.bestRecovery, d_.ideal.bestGrade}});
  sensorBestYield_->replace(QList<QPointF>{{d_.sensor.bestYield, d_.sensor.bestRecovery}});
  idealBestYield_->replace(QList<QPointF>{{d_.ideal.bestYield, d_.ideal.bestRecovery}});
  if (!d_.hasRoc) {
    roc_->setTitle("ROC-кривая: задайте граничное содержание");
    return;
  }
  rocCount_->setName(d_.aucCountText);
  rocMass_->setName(d_.aucMassText);
  if (d_.rocDefined) {
    youden_->setName(d_.youdenText);
    youden_->replace(QList<QPointF>{{d_.youdenWaste, d_.youdenOre}});
  } else {
    roc_->setTitle("ROC-кривая: нужны и рудные, и пустые куски");
    youden_->setName("Граница по Юдену не определена");
  }
}

void SensorCharts::draw(QChartView* gradeView, QChartView* yieldView, QChartView* rocView) {
  if (!any_) return;
  const int gradeColumns = plotColumns(gradeView, grade_);
  fill(sensorGrade_, d_.sensor.recovery, d_.sensor.grade, xAxisOf(sensorGrade_), gradeColumns);
  fill(idealGrade_, d_.ideal.recovery, d_.ideal.grade, xAxisOf(idealGrade_), gradeColumns);
  const int yieldColumns = plotColumns(yieldView, yield_);
  fill(sensorYield_, d_.sensor.yield, d_.sensor.recovery, xAxisOf(sensorYield_), yieldColumns);
  fill(idealYield_, d_.ideal.yield, d_.ideal.recovery, xAxisOf(idealYield_), yieldColumns);
  if (!d_.hasRoc) return;
  const int rocColumns = plotColumns(rocView, roc_);
  fill(rocCount_, d_.wasteCount, d_.oreCount, xAxisOf(rocCount_), rocColumns);
  fill(rocMass_, d_.wasteMass, d_.oreMass, xAxisOf(rocMass_), rocColumns);
}

}  // namespace ore::gui
