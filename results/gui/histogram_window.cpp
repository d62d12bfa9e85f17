#include "results/gui/histogram_window.h"

#include <QStackedBarSeries>

namespace ore::gui {

TForm5::TForm5(WindowContext& ctx)
    : Form("TForm5", "Гистограмма", 957, 534),
      ctx_(ctx),
      printTarget_(std::make_unique<DefaultPrinterTarget>()) {
  Chart1 = new BarChart(this);
  Chart1->setObjectName("Chart1");
  Chart1->setGeometry(18, 8, 921, 441);
  Chart1->setTitle("Гистограмма");
  Chart1->series()->setObjectName("Series1");
  Button1 = new QPushButton("Печать", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(776, 480, 75, 25);
  Button2 = new QPushButton("Выход", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(864, 480, 75, 25);

  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
}

void TForm5::setPoints(const std::vector<analysis::HistogramPoint>& points) {
  std::vector<BarChart::Bar> bars;
  bars.reserve(points.size());
  for (const analysis::HistogramPoint& p : points)
    bars.push_back({p.x, p.y, QString::fromStdString(p.label),
                    QColor((p.rgb >> 16) & 0xFF, (p.rgb >> 8) & 0xFF, p.rgb & 0xFF)});
  Chart1->setBars(std::move(bars));
}

void TForm5::Button1Click() {
  printTarget_->printPage("Гистограмма", [this](QPainter& painter, const QRectF& page) {
    Chart1->renderTo(painter, page);
  });
}

void TForm5::Button2Click() {
  hide();
}

}  // namespace ore::gui
