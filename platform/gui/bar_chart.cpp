#include "platform/gui/bar_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace ore::gui {

namespace {
// Category labels must be unique; a repeated limit text gets zero-width spaces appended, which
// keep it looking the same.
constexpr QChar kZeroWidthSpace(0x200B);

struct Scale {
  double min, max;
  int ticks;
};

// A scale from 0 (or below, for negative values) over whole steps of 1, 2 or 5 times a power of
// ten, with headroom above the tallest bar for its connector and mark.
Scale countScale(double lo, double hi) {
  lo = std::min(0.0, lo);
  hi = std::max(0.0, hi);
  double top = std::max(1.0, hi * 1.2);
  double bottom = lo < 0 ? lo * 1.2 : 0;
  double span = top - bottom;
  double step = 1;
  while (span / step > 10) {
    double p = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    double m = step / p;
    step = (m < 1.5 ? 2 : m < 3.5 ? 5 : 10) * p;
  }
  double smin = std::floor(bottom / step) * step;
  double smax = std::ceil(top / step) * step;
  return {smin, smax, static_cast<int>(std::lround((smax - smin) / step)) + 1};
}
}  // namespace

BarChart::BarChart(QWidget* parent) : QChartView(parent) {
  QChart* c = chart();
  c->legend()->hide();
  c->setAnimationOptions(QChart::NoAnimation);
  c->setPlotAreaBackgroundVisible(false);
  c->setBackgroundRoundness(0);
  c->setDropShadowEnabled(false);
  setRenderHint(QPainter::Antialiasing, false);

  series_ = new QStackedBarSeries(c);
  series_->setBarWidth(0.6);
  c->addSeries(series_);
  xAxis_ = new QCategoryAxis(c);
  xAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionCenter);
  xAxis_->setGridLineVisible(false);
  c->addAxis(xAxis_, Qt::AlignBottom);
  series_->attachAxis(xAxis_);
  yAxis_ = new QValueAxis(c);
  yAxis_->setLabelFormat("%g");
  c->addAxis(yAxis_, Qt::AlignLeft);
  series_->attachAxis(yAxis_);
  rebuild();
}

void BarChart::setTitle(const QString& title) {
  chart()->setTitle(title);
}

void BarChart::setBars(std::vector<Bar> bars) {
  std::stable_sort(bars.begin(), bars.end(), [](const Bar& a, const Bar& b) { return a.x < b.x; });
  bars_ = std::move(bars);
  rebuild();
}

void BarChart::setPointsPerPage(int points) {
  pointsPerPage_ = std::max(points, 0);
  rebuild();
}

int BarChart::pageSlots() const {
  return pointsPerPage_ > 0 ? pointsPerPage_ : static_cast<int>(bars_.size());
}

void BarChart::rebuild() {
  const int n = static_cast<int>(bars_.size());
  const int pageSize = pageSlots();
  const int shown = std::min(n, pageSize);

  // One bar set per colour, stacked: a bar is drawn by the set of its colour, the others add 0.
  series_->clear();
  std::vector<QColor> colors;
  for (const Bar& b : bars_)
    if (std::find(colors.begin(), colors.end(), b.color) == colors.end()) colors.push_back(b.color);
  for (const QColor& color : colors) {
    auto* set = new QBarSet(QString());
    set->setColor(color);
    set->setBorderColor(color.darker(150));
    for (const Bar& b : bars_) set->append(b.color == color ? b.y : 0.0);
    series_->append(set);
  }

  for (const QString& l : xAxis_->categoriesLabels()) xAxis_->remove(l);
  xAxis_->setStartValue(-0.5);
  QStringList used;
  for (int i = 0; i < shown; ++i) {
    QString label = bars_[i].label;
    while (used.contains(label)) label += kZeroWidthSpace;
    used << label;
    xAxis_->append(label, i + 0.5);
  }
  xAxis_->setRange(-0.5, std::max(pageSize, 1) - 0.5);

  double lo = 0, hi = 0;
  for (int i = 0; i < shown; ++i) {
    lo = std::min(lo, bars_[i].y);
    hi = std::max(hi, bars_[i].y);
  }
  Scale s = countScale(lo, hi);
  yAxis_->setRange(s.min, s.max);
  yAxis_->setTickCount(s.ticks);
  viewport()->update();
}

QStringList BarChart::axisLabels() const {
  QStringList out;
  for (QString l : xAxis_->categoriesLabels()) out << l.remove(kZeroWidthSpace);
  return out;
}

QColor BarChart::barColor(int i) const {
  if (i < 0 || i >= static_cast<int>(bars_.size())) return {};
  for (QBarSet* set : series_->barSets())
    if (set->color() == bars_[i].color) return set->color();
  return {};
}

double BarChart::axisMin() const {
  return yAxis_->min();
}
double BarChart::axisMax() const {
  return yAxis_->max();
}

void BarChart::renderTo(QPainter& painter, const QRectF& target) {
  const QRect source = viewport()->rect();
  QSizeF size = QSizeF(source.size()).scaled(target.size(), Qt::KeepAspectRatio);
  QRectF centred(target.center().x() - size.width() / 2, target.center().y() - size.height() / 2,
                 size.width(), size.height());
  render(&painter, centred, source, Qt::KeepAspectRatio);
}

void BarChart::drawForeground(QPainter* painter, const QRectF& rect) {
  QChartView::drawForeground(painter, rect);
  const int shown = std::min(static_cast<int>(bars_.size()), pageSlots());
  if (shown == 0) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  // Sized in scene pixels, so that a print scales the marks with the rest of the chart instead of
  // resolving the point size against the printer's resolution.
  QFont font = chart()->font();
  font.setPixelSize(QFontInfo(font).pixelSize());
  painter->setFont(font);
  QFontMetricsF fm(font);
  for (int i = 0; i < shown; ++i) {
    const Bar& b = bars_[i];
    QPointF top = chart()->mapToScene(chart()->mapToPosition(QPointF(i, b.y), series_));
    QPointF end(top.x(), top.y() - kConnectorLength);
    painter->setPen(QPen(Qt::black, 0));
    painter->drawLine(top, end);
    QSizeF text(fm.horizontalAdvance(b.label) + 8, fm.height() + 2);
    QRectF box(end.x() - text.width() / 2, end.y() - text.height(), text.width(), text.height());
    painter->fillRect(box, QColor(255, 255, 225));
    painter->drawRect(box);
    painter->drawText(box, Qt::AlignCenter, b.label);
  }
  painter->restore();
}

}  // namespace ore::gui
