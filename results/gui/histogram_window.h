#pragma once
// TForm5, "Гистограмма": the number of lumps per pocket as red bars labelled with the pocket
// limits; prints the chart and hides.

#include <QPushButton>
#include <memory>
#include <vector>

#include "analysis/histogram_point.h"
#include "platform/gui/bar_chart.h"
#include "platform/gui/form.h"
#include "platform/gui/printing.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm5 : public Form {
  Q_OBJECT
 public:
  explicit TForm5(WindowContext& ctx);

  // Series1: all points replaced by these.
  void setPoints(const std::vector<analysis::HistogramPoint>& points);
  // Chart1: the number of bars shown per page.
  void setPointsPerPage(int points) { Chart1->setPointsPerPage(points); }

  // Where "Печать" prints: the default printer unless a test redirects it.
  void setPrintTarget(std::unique_ptr<PrintTarget> target) { printTarget_ = std::move(target); }
  // The yield text of pocket p, for the bars' tooltips.
  void setYieldSource(std::function<std::string(int pocket)> yield) { yield_ = std::move(yield); }
  // The tooltip of bar i (in pocket order): pocket, limit text, lump count, yield.
  QString barToolTip(int i) const;

  void Button1Click();
  void Button2Click();

  BarChart* Chart1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  WindowContext& ctx_;
  std::unique_ptr<PrintTarget> printTarget_;
  std::function<std::string(int)> yield_;
};

}  // namespace ore::gui
