#include "platform/gui/bar_chart.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QSet>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "graph/label_groups.h"

namespace ore::gui {

namespace {
// Category labels must be unique: a repeated limit text gets its repeat number appended as binary
// digits in two invisible characters, which keep it looking the same and add a few characters at
// most.
constexpr QChar kZeroBit(0x200B);  // zero-width space
constexpr QChar kOneBit(0x2060);   // word joiner

// Qt Charts gives an axis label the plot's width shared among the labels and one more, less 4
// pixels of padding on each side, and elides what is wider; its text box is a little wider than
// the text itself.
constexpr double kAxisLabelPadding = 8;
constexpr double kTextBoxMargin = 4;
// A mark's frame is 8 pixels wider than its text; neighbouring marks keep 2 pixels apart.
constexpr double kMarkRoom = 10;
// The plot's width before the chart is first laid out: the view less the vertical axis and margins.
constexpr int kUnlaidMargin = 90;

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
  // How many labels fit depends on the plot's width, known once the chart is laid out.
  connect(c, &QChart::plotAreaChanged, this, [this](const QRectF& area) {
    if (labelStep(area.width()) != labelStep_) relabel();
  });
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

int BarChart::shownBars() const {
  return std::min(static_cast<int>(bars_.size()), pageSlots());
}

void BarChart::rebuild() {
  const int shown = shownBars();

  // One bar set per colour, stacked: a bar is drawn by the set of its colour, the others add 0.
  series_->clear();
  std::vector<QColor> colors;
  for (const Bar& b : bars_)
    if (std::find(colors.begin(), colors.end(), b.color) == colors.end()) colors.push_back(b.color);
  for (const QColor& color : colors) {
    auto* set = new QBarSet(QString());
    set->setColor(color);
    set->setBorderColor(color.darker(150));
    QList<qreal> values;
    values.reserve(static_cast<qsizetype>(bars_.size()));
    for (const Bar& b : bars_) values.append(b.color == color ? b.y : 0.0);
    set->append(values);
    series_->append(set);
  }

  QFontMetricsF fm(xAxis_->labelsFont());
  widestLabel_ = 0;
  for (int i = 0; i < shown; ++i)
    widestLabel_ = std::max(widestLabel_, fm.horizontalAdvance(bars_[i].label));
  labelStep_ = 0;  // forces relabelling
  relabel();

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

int BarChart::labelStep(double plotWidth) const {
  if (plotWidth <= 0) plotWidth = width() - kUnlaidMargin;
  const int slotCount = std::max(pageSlots(), 1);
  const double pitch = plotWidth / slotCount;
  return graph::labelGroupSize(slotCount, [&](int step) {
    const int groups = std::max(slotCount / step, 1);
    const bool labelsFit =
        plotWidth / (groups + 1) - kAxisLabelPadding >= widestLabel_ + kTextBoxMargin;
    const bool marksFit = step * pitch >= widestLabel_ + kMarkRoom;
    return labelsFit && marksFit;
  });
}

void BarChart::relabel() {
  const int step = labelStep(chart()->plotArea().width());
  if (step == labelStep_) return;
  labelStep_ = step;

  // Every group of step bars is one category whose label, centred, stands under the group's
  // middle bar and shows that bar's limit; the ticks fall between groups.
  for (const QString& l : xAxis_->categoriesLabels()) xAxis_->remove(l);
  xAxis_->setStartValue(-0.5);
  labelled_.clear();
  QSet<QString> used;
  QHash<QString, int> repeats;
  const int slotCount = std::max(pageSlots(), 1);
  for (const int middle : graph::labelledBars(shownBars(), slotCount, step)) {
    const int end = middle - step / 2 + step;
    const QString& text = bars_[middle].label;
    QString label = text;
    while (used.contains(label)) {
      label = text;
      for (int r = ++repeats[text]; r > 0; r >>= 1) label += (r & 1) ? kOneBit : kZeroBit;
    }
    used.insert(label);
    xAxis_->append(label, end - 0.5);
    labelled_.push_back(middle);
  }
  xAxis_->setRange(-0.5, slotCount - 0.5);
  viewport()->update();
}

QStringList BarChart::axisLabels() const {
  QStringList out;
  for (QString l : xAxis_->categoriesLabels()) out << l.remove(kZeroBit).remove(kOneBit);
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
  if (labelled_.empty()) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  // Sized in scene pixels, so that a print scales the marks with the rest of the chart instead of
  // resolving the point size against the printer's resolution.
  QFont font = chart()->font();
  font.setPixelSize(QFontInfo(font).pixelSize());
  painter->setFont(font);
  QFontMetricsF fm(font);
  // Marks on the bars that carry an axis label: where every label fits, on every bar.
  for (int i : labelled_) {
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
