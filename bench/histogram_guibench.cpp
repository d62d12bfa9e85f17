// Times the histogram with many pockets on Qt's offscreen platform: filling the chart, the first
// paint of the shown window and a repaint, with the process's peak memory.
//
//   histogram_guibench [POCKETS [distinct|identical]]   (defaults 10000 distinct)

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/gui/bar_chart.h"

int main(int argc, char** argv) {
  const int pockets = argc > 1 ? std::atoi(argv[1]) : 10000;
  const bool identical = argc > 2 && std::strcmp(argv[2], "identical") == 0;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  // The window's chart, as the histogram window lays it out.
  ore::gui::BarChart chart;
  chart.resize(921, 441);
  chart.setTitle("Гистограмма");
  std::vector<ore::gui::BarChart::Bar> bars;
  for (int i = 1; i <= pockets; ++i)
    bars.push_back({double(i), double(i % 37), identical ? QString() : QString::number(i * 0.5),
                    QColor(255, 0, 0)});

  QElapsedTimer t;
  t.start();
  chart.setBars(std::move(bars));
  chart.setPointsPerPage(pockets);
  const qint64 fill = t.restart();
  chart.show();
  QApplication::processEvents();
  const QImage first = chart.grab().toImage();
  const qint64 shown = t.restart();
  const QImage again = chart.grab().toImage();
  const qint64 repaint = t.elapsed();

  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf(
      "%d pockets, %s limits: fill %lld ms, show and first paint %lld ms, repaint %lld ms, "
      "%d axis labels, peak RSS %ld MB\n",
      pockets, identical ? "identical" : "distinct", static_cast<long long>(fill),
      static_cast<long long>(shown), static_cast<long long>(repaint),
      static_cast<int>(chart.axisLabels().size()), ru.ru_maxrss / 1024);
  return first.isNull() || again.isNull() ? 1 : 0;
}
