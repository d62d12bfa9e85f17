#include "results/gui/histogram_window.h"

#include <QBarSet>
#include <QStackedBarSeries>
#include <QToolTip>

#include "data/errors.h"
#include "platform/gui/picture_export.h"

namespace ore::gui {

TForm5::TForm5(WindowContext& ctx)
    : Form("TForm5", "Гистограмма", 957, 534),
      ctx_(ctx),
      printTarget_(std::make_unique<DefaultPrinterTarget>()) {
  Chart1 = new BarChart(client());
  Chart1->setObjectName("Chart1");
  Chart1->setGeometry(18, 8, 921, 441);
  Chart1->setTitle("Гистограмма");
  Chart1->series()->setObjectName("Series1");
  Button1 = new QPushButton("Печать", client());
  Button1->setObjectName("Button1");
  Button1->setGeometry(776, 480, 75, 25);
  Button2 = new QPushButton("Выход", client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(864, 480, 75, 25);

  anchor(Chart1, kAnchorAll);
  anchor(Button1, AnchorRight | AnchorBottom);
  anchor(Button2, AnchorRight | AnchorBottom);

  addChartSaveMenu(
      Chart1,
      [this] {
        std::vector<graph::HistogramBar> bars;
        for (const BarChart::Bar& b : Chart1->bars()) bars.push_back({b.label.toStdString(), b.y});
        return bars;
      },
      QStringLiteral("Гистограмма"), ctx_.errors, ctx_.choosePictureFile);
  connect(Chart1->series(), &QStackedBarSeries::hovered, this, [this](bool on, int index) {
    if (on)
      QToolTip::showText(QCursor::pos(), barToolTip(index), Chart1);
    else
      QToolTip::hideText();
  });
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

QString TForm5::barToolTip(int i) const {
  const std::vector<BarChart::Bar>& bars = Chart1->bars();
  if (i < 0 || i >= static_cast<int>(bars.size())) return {};
  const BarChart::Bar& b = bars[i];
  const int pocket = static_cast<int>(b.x);
  QString tip = QStringLiteral("Карман %1\nВерхней предел, h: %2\nКусков: %3")
                    .arg(QString::fromStdString(ctx_.fmt.format(b.x)), b.label,
                         QString::fromStdString(ctx_.fmt.format(b.y)));
  if (yield_) tip += QStringLiteral("\nВыход, %: ") + QString::fromStdString(yield_(pocket));
  return tip;
}

void TForm5::Button1Click() {
  try {
    printTarget_->printPage("Гистограмма", [this](QPainter& painter, const QRectF& page) {
      Chart1->renderTo(painter, page);
    });
  } catch (const NoPrinter&) {
    // Without a printer the chart can still be kept: one question, not a message and a dialog.
    if (askYesNo(ctx_.askQuestion, this,
                 QStringLiteral("Нет доступного принтера. Сохранить гистограмму в PDF?")))
      offerChartAsPdf(Chart1, ctx_.errors, ctx_.choosePictureFile);
  }
}

void TForm5::Button2Click() {
  hide();
}

}  // namespace ore::gui
