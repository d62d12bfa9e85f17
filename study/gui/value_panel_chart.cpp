#include "study/gui/value_panel_chart.h"

#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>

#include "study/curve_decimation.h"

namespace ore::gui {

namespace {

QLineSeries* lineSeries(const char* name, const QString& title, QColor color, Qt::PenStyle style) {
  auto* s = new QLineSeries;
  s->setObjectName(name);
  s->setName(title);
  s->setPen(QPen(color, 1.5, style));
  return s;
}

QScatterSeries* pointSeries(const char* name, QColor color) {
  auto* s = new QScatterSeries;
  s->setObjectName(name);
  s->setColor(color);
  s->setBorderColor(color.darker(150));
  s->setMarkerSize(9);
  s->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  return s;
}

void hideFromLegend(QChart* chart, QAbstractSeries* s) {
  for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
}

}  // namespace

ValueChart::ValueChart() {
  chart_ = new QChart;
  chart_->setLocalizeNumbers(true);  // axis labels with the locale's decimal separator
  chart_->setObjectName("ValueChart");
  chart_->setTitle("Стоимость тонны питания по границам");
  chart_->legend()->setAlignment(Qt::AlignBottom);
  keyAxis_ = new QValueAxis;
  keyAxis_->setTitleText("Граница");
  keyAxis_->setLabelFormat("%.6g");
  valueAxis_ = new QValueAxis;
  valueAxis_->setTitleText("Стоимость тонны питания");
  valueAxis_->setLabelFormat("%.6g");
  chart_->addAxis(keyAxis_, Qt::AlignBottom);
  chart_->addAxis(valueAxis_, Qt::AlignLeft);
  valueSeries_ = lineSeries("SeriesValue", "Стоимость тонны питания при сортировке",
                            QColor(0, 90, 200), Qt::SolidLine);
  levelSeries_ =
      lineSeries("SeriesWithoutSorting", "Без сортировки", QColor(110, 110, 110), Qt::DotLine);
  bestLine_ = lineSeries("SeriesBestValueCut", "Лучшая граница по стоимости", QColor(220, 0, 0),
                         Qt::DashLine);
  bestELine_ =
      lineSeries("SeriesBestCutE", "Лучшая граница по E", QColor(0, 150, 60), Qt::DashLine);
  bestPoint_ = pointSeries("SeriesBestValuePoint", QColor(220, 0, 0));
  bestEPoint_ = pointSeries("SeriesBestEPoint", QColor(0, 150, 60));
  for (QAbstractSeries* s : std::initializer_list<QAbstractSeries*>{
           valueSeries_, levelSeries_, bestLine_, bestELine_, bestPoint_, bestEPoint_}) {
    chart_->addSeries(s);
    s->attachAxis(keyAxis_);
    s->attachAxis(valueAxis_);
  }
  hideFromLegend(chart_, bestPoint_);
  hideFromLegend(chart_, bestEPoint_);
}

void ValueChart::set(ValueDrawing d) {
  d_ = std::move(d);
  keyAxis_->setTitleText(d_.kind == DistributionKind::Param ? "Граница: параметр"
                                                            : "Граница: содержание, %  №= 1");
  double lo = d_.key.empty() ? 0 : d_.key.front(), hi = d_.key.empty() ? 1 : d_.key.back();
  if (!(hi > lo)) {
    lo -= 1;
    hi += 1;
  }
  keyAxis_->setRange(lo, hi);
  keyAxis_->applyNiceNumbers();
  double vlo = d_.withoutSorting, vhi = d_.withoutSorting;
  for (double v : d_.value) {
    vlo = std::min(vlo, v);
    vhi = std::max(vhi, v);
  }
  if (!(vhi > vlo)) {
    vlo -= 1;
    vhi += 1;
  }
  valueAxis_->setRange(vlo, vhi);
  valueAxis_->applyNiceNumbers();
  levelSeries_->replace(
      QList<QPointF>{{keyAxis_->min(), d_.withoutSorting}, {keyAxis_->max(), d_.withoutSorting}});
  bestLine_->replace(
      QList<QPointF>{{d_.bestKey, valueAxis_->min()}, {d_.bestKey, valueAxis_->max()}});
  bestELine_->replace(
      QList<QPointF>{{d_.bestEKey, valueAxis_->min()}, {d_.bestEKey, valueAxis_->max()}});
  bestPoint_->replace(QList<QPointF>{{d_.bestKey, d_.bestValue}});
  bestEPoint_->replace(QList<QPointF>{{d_.bestEKey, d_.valueAtBestE}});
}

void ValueChart::clear() {
  d_ = ValueDrawing{};
  for (QXYSeries* s : std::initializer_list<QXYSeries*>{valueSeries_, levelSeries_, bestLine_,
                                                        bestELine_, bestPoint_, bestEPoint_})
    s->clear();
}

void ValueChart::draw(QChartView* view) {
  if (d_.key.empty()) return;
  const int w = static_cast<int>(chart_->plotArea().width());
  const int columns = std::max(w > 0 ? w : view->width(), 100);
  const std::vector<std::size_t> keep = study::decimateCurve(
      d_.key.data(), d_.value.data(), d_.key.size(), keyAxis_->min(), keyAxis_->max(), columns);
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(keep.size()));
  for (std::size_t i : keep) points.append(QPointF(d_.key[i], d_.value[i]));
  valueSeries_->replace(points);
}

}  // namespace ore::gui
