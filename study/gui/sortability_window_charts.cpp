#include "study/gui/sortability_window_charts.h"

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

QLineSeries* lineSeries(const char* name, const QString& title, QColor color) {
  auto* s = new QLineSeries;
  s->setObjectName(name);
  s->setName(title);
  QPen pen(color);
  pen.setWidthF(1.5);
  s->setPen(pen);
  return s;
}

QScatterSeries* pointSeries(const char* name, const QString& title, QColor color, qreal size,
                            QScatterSeries::MarkerShape shape) {
  auto* s = new QScatterSeries;
  s->setObjectName(name);
  s->setName(title);
  s->setColor(color);
  s->setBorderColor(color.darker(150));
  s->setMarkerSize(size);
  s->setMarkerShape(shape);
  return s;
}

QValueAxis* valueAxis(const QString& title) {
  auto* a = new QValueAxis;
  a->setTitleText(title);
  a->setLabelFormat("%.6g");
  return a;
}

void attach(QChart* chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(s);
  s->attachAxis(x);
  s->attachAxis(y);
}

void hideFromLegend(QChart* chart, QAbstractSeries* s) {
  for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
}

void setKeyRange(QValueAxis* axis, double lo, double hi) {
  if (!(hi > lo)) {
    lo -= 1;
    hi += 1;
  }
  axis->setRange(lo, hi);
  axis->applyNiceNumbers();
}

// Width of the chart's plot area in pixels: how many columns a curve needs.
int plotColumns(QChartView* view, QChart* chart) {
  const int w = static_cast<int>(chart->plotArea().width());
  return std::max(w > 0 ? w : view->width(), 100);
}

// The points of the curve where `has` holds (a tails or concentrate with lumps of some mass),
// thinned to the axis's columns.
void fill(QLineSeries* s, const std::vector<double>& x, const std::vector<double>& y,
          const std::vector<char>& has, const QValueAxis* axis, int columns) {
  std::vector<double> px, py;
  px.reserve(x.size());
  py.reserve(y.size());
  for (std::size_t i = 0; i < x.size(); ++i)
    if (has[i]) {
      px.push_back(x[i]);
      py.push_back(y[i]);
    }
  const std::vector<std::size_t> keep =
      study::decimateCurve(px.data(), py.data(), px.size(), axis->min(), axis->max(), columns);
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(keep.size()));
  for (std::size_t i : keep) points.append(QPointF(px[i], py[i]));
  s->replace(points);
}

}  // namespace

SortabilityCharts::SortabilityCharts() {
  curves_ = new QChart;
  curves_->setLocalizeNumbers(true);  // axis labels with the locale's decimal separator
  curves_->setObjectName("CurvesChart");
  curves_->setTitle("Кривые обогатимости, элемент 1");
  curves_->legend()->setAlignment(Qt::AlignRight);
  keyAxis_ = valueAxis("Граница");
  percentAxis_ = valueAxis("Выход, извлечение, %");
  percentAxis_->setRange(0, 100);
  percentAxis_->setTickCount(5);
  contentAxis_ = valueAxis("Содержание, %");
  curves_->addAxis(keyAxis_, Qt::AlignBottom);
  curves_->addAxis(percentAxis_, Qt::AlignLeft);
  curves_->addAxis(contentAxis_, Qt::AlignRight);
  // The letters the separation diagram names its curves with.
  tailsYieldSeries_ = lineSeries("SeriesTailsYield", "λ — выход хвостов", QColor(0, 90, 200));
  tailsContentSeries_ =
      lineSeries("SeriesTailsContent", "θ — содержание в хвостах", QColor(0, 150, 60));
  concContentSeries_ =
      lineSeries("SeriesConcentrateContent", "β — содержание в концентрате", QColor(200, 120, 0));
  tailsRecoverySeries_ =
      lineSeries("SeriesTailsRecovery", "ε — извлечение в хвосты", QColor(150, 40, 170));
  bestLine_ = lineSeries("SeriesBestCut", "Лучшая граница", QColor(220, 0, 0));
  bestLine_->setPen(QPen(QColor(220, 0, 0), 1.5, Qt::DashLine));
  pocketPercent_ = pointSeries("SeriesPocketCuts", "Границы карманов", QColor(40, 40, 40), 7,
                               QScatterSeries::MarkerShapeCircle);
  pocketContent_ = pointSeries("SeriesPocketCutsContent", "Границы карманов", QColor(40, 40, 40), 7,
                               QScatterSeries::MarkerShapeCircle);
  bestPercent_ = pointSeries("SeriesBestCutPoints", "Лучшая граница", QColor(220, 0, 0), 9,
                             QScatterSeries::MarkerShapeRectangle);
  attach(curves_, tailsYieldSeries_, keyAxis_, percentAxis_);
  attach(curves_, tailsContentSeries_, keyAxis_, contentAxis_);
  attach(curves_, concContentSeries_, keyAxis_, contentAxis_);
  attach(curves_, tailsRecoverySeries_, keyAxis_, percentAxis_);
  attach(curves_, bestLine_, keyAxis_, percentAxis_);
  attach(curves_, pocketPercent_, keyAxis_, percentAxis_);
  attach(curves_, pocketContent_, keyAxis_, contentAxis_);
  attach(curves_, bestPercent_, keyAxis_, percentAxis_);
  hideFromLegend(curves_, pocketContent_);
  hideFromLegend(curves_, bestPercent_);

  grade_ = new QChart;
  grade_->setLocalizeNumbers(true);  // axis labels with the locale's decimal separator
  grade_->setObjectName("GradeChart");
  grade_->setTitle("Содержание в концентрате от извлечения в концентрат, элемент 1");
  grade_->legend()->setAlignment(Qt::AlignBottom);
  recoveryAxis_ = valueAxis("Извлечение в концентрат, %  №= 1");
  recoveryAxis_->setRange(0, 100);
  recoveryAxis_->setTickCount(5);
  gradeAxis_ = valueAxis("Содержание, %");
  grade_->addAxis(recoveryAxis_, Qt::AlignBottom);
  grade_->addAxis(gradeAxis_, Qt::AlignLeft);
  gradeSeries_ = lineSeries("SeriesGrade", "β от извлечения в концентрат", QColor(200, 120, 0));
  pocketGrade_ = pointSeries("SeriesPocketGrade", "Границы карманов", QColor(40, 40, 40), 7,
                             QScatterSeries::MarkerShapeCircle);
  bestGrade_ = pointSeries("SeriesBestGrade", "Лучшая граница", QColor(220, 0, 0), 9,
                           QScatterSeries::MarkerShapeRectangle);
  attach(grade_, gradeSeries_, recoveryAxis_, gradeAxis_);
  attach(grade_, pocketGrade_, recoveryAxis_, gradeAxis_);
  attach(grade_, bestGrade_, recoveryAxis_, gradeAxis_);
}

void SortabilityCharts::setCurves(const study::SortabilityCurve& cv, DistributionKind kind) {
  const std::size_t n = cv.cutCount();
  for (auto* v :
       {&key_, &tailsYield_, &tailsContent_, &concContent_, &tailsRecovery_, &concRecovery_})
    v->resize(n);
  hasTails_.resize(n);
  hasConc_.resize(n);
  contentMax_ = 0;
  for (std::size_t g = 0; g < n; ++g) {
    const study::CutFigures f = cv.figures(g);
    key_[g] = f.key;
    tailsYield_[g] = static_cast<double>(f.tailsYield);
    tailsContent_[g] = static_cast<double>(f.tailsContent[1]);
    concContent_[g] = static_cast<double>(f.concentrateContent[1]);
    tailsRecovery_[g] = static_cast<double>(f.tailsRecovery[1]);
    concRecovery_[g] = static_cast<double>(f.concentrateRecovery[1]);
    // A content of no mass is 0 by the rule for a divisor of 0, not a point of the curve: the
    // top cut's empty concentrate would pull the curve down to 0.
    hasTails_[g] = cv.totalMass() != 0 && f.tailsYield != 0;
    hasConc_[g] = f.concentrateYield != 0;
    contentMax_ = std::max(
        {contentMax_, hasTails_[g] ? tailsContent_[g] : 0.0, hasConc_[g] ? concContent_[g] : 0.0});
  }
  keyAxis_->setTitleText(kind == DistributionKind::Param ? "Граница: параметр"
                                                         : "Граница: содержание, %  №= 1");
  drawn_ = {};
  setPockets({});
}

void SortabilityCharts::setPockets(const std::vector<study::PocketCut>& pockets) {
  if (key_.empty()) return;
  double lo = key_.front(), hi = key_.back();
  double cmax = contentMax_;
  QList<QPointF> percent, content, grade;
  for (const study::PocketCut& p : pockets) {
    percent << QPointF(p.limit, p.tailsYield) << QPointF(p.limit, p.tailsRecovery);
    content << QPointF(p.limit, p.tailsContent);
    cmax = std::max(cmax, p.tailsContent);
    if (p.hasConcentrate) {
      content << QPointF(p.limit, p.concentrateContent);
      grade << QPointF(p.concentrateRecovery, p.concentrateContent);
      cmax = std::max(cmax, p.concentrateContent);
    }
    // The last pocket's limit usually lies above every key: keep it in sight.
    lo = std::min(lo, p.limit);
    hi = std::max(hi, p.limit);
  }
  setKeyRange(keyAxis_, lo, hi);
  setContentRange(contentAxis_, cmax);
  setContentRange(gradeAxis_, cmax);
  pocketPercent_->replace(percent);
  pocketContent_->replace(content);
  pocketGrade_->replace(grade);
}

void SortabilityCharts::draw(QChartView* curvesView, QChartView* gradeView) {
  if (key_.empty()) return;
  const Drawn now{plotColumns(curvesView, curves_), plotColumns(gradeView, grade_), keyAxis_->min(),
                  keyAxis_->max()};
  if (now == drawn_) return;
  drawn_ = now;
  const int keyColumns = now.keyColumns;
  const std::vector<char> all(key_.size(), 1);
  fill(tailsYieldSeries_, key_, tailsYield_, all, keyAxis_, keyColumns);
  fill(tailsContentSeries_, key_, tailsContent_, hasTails_, keyAxis_, keyColumns);
  fill(concContentSeries_, key_, concContent_, hasConc_, keyAxis_, keyColumns);
  fill(tailsRecoverySeries_, key_, tailsRecovery_, all, keyAxis_, keyColumns);
  // The concentrate's recovery falls as the key rises: from the top cut down it rises.
  std::vector<double> x(concRecovery_.rbegin(), concRecovery_.rend());
  std::vector<double> y(concContent_.rbegin(), concContent_.rend());
  std::vector<char> has(hasConc_.rbegin(), hasConc_.rend());
  fill(gradeSeries_, x, y, has, recoveryAxis_, now.gradeColumns);
}

void SortabilityCharts::clearBest() {
  bestLine_->clear();
  bestPercent_->clear();
  bestGrade_->clear();
}

void SortabilityCharts::setBest(const study::BestCut& best) {
  const study::CutFigures& f = best.figures;
  const double key = f.key;
  bestLine_->replace(QList<QPointF>{{key, 0}, {key, 100}});
  bestPercent_->replace(QList<QPointF>{{key, static_cast<double>(f.tailsYield)},
                                       {key, static_cast<double>(f.tailsRecovery[1])}});
  bestGrade_->replace(QList<QPointF>{{static_cast<double>(f.concentrateRecovery[1]),
                                      static_cast<double>(f.concentrateContent[1])}});
}

}  // namespace ore::gui
