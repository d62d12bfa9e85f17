#pragma once
// A bar chart of one series: bars side by side in ascending x order, each labelled on the
// horizontal axis and by a mark above it joined to the bar by a short connector; an automatic
// vertical scale; a number of points per page. Built on Qt Charts. When the labels do not fit
// side by side, only every so many bars carry a label and a mark.

#include <QChartView>
#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

class QCategoryAxis;
class QValueAxis;
class QStackedBarSeries;

namespace ore::gui {

class BarChart : public QChartView {
  Q_OBJECT
 public:
  struct Bar {
    double x = 0;
    double y = 0;
    QString label;
    QColor color;
  };

  static constexpr int kConnectorLength = 20;  // pixels between a bar's top and its mark

  explicit BarChart(QWidget* parent = nullptr);

  void setTitle(const QString& title);

  // Replaces all bars; they are kept in ascending x order (equal x in the order given).
  void setBars(std::vector<Bar> bars);
  const std::vector<Bar>& bars() const { return bars_; }

  // At most this many bars on the page (the first ones); 0 shows every bar.
  void setPointsPerPage(int points);
  int pointsPerPage() const { return pointsPerPage_; }

  QStackedBarSeries* series() const { return series_; }

  // The horizontal axis labels as shown, left to right (one per group of bars when they do not
  // fit one per bar).
  QStringList axisLabels() const;
  // The colour bar i (in x order) is filled with.
  QColor barColor(int i) const;
  // The vertical scale.
  double axisMin() const;
  double axisMax() const;

  // Draws the chart as it is shown, scaled to fit target keeping its proportions.
  void renderTo(QPainter& painter, const QRectF& target);

 protected:
  // The marks: drawn over the chart, so that they follow its layout at every repaint and print.
  void drawForeground(QPainter* painter, const QRectF& rect) override;

 private:
  int pageSlots() const;
  int shownBars() const;
  // The number of bars per axis label (odd) for a plot area plotWidth pixels wide.
  int labelStep(double plotWidth) const;
  void rebuild();
  void relabel();

  std::vector<Bar> bars_;
  int pointsPerPage_ = 0;
  double widestLabel_ = 0;     // of the bars shown, in the axis font
  int labelStep_ = 0;          // bars per axis label
  std::vector<int> labelled_;  // the bars that carry an axis label and a mark
  QStackedBarSeries* series_ = nullptr;
  QCategoryAxis* xAxis_ = nullptr;
  QValueAxis* yAxis_ = nullptr;
};

}  // namespace ore::gui
