// Times the sensor tab over a million lumps on Qt's offscreen platform: the study beside the
// window from "Рассчитать" to the charts drawn, the longest the GUI thread went without turning its
// event loop meanwhile, and a redraw at a new size.
//
//   sensor_guibench [LUMPS]   (default 1000000)

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "bench/bench_sample.h"
#include "platform/gui/error_box.h"
#include "study/gui/sensor_panel.h"

namespace {

class PrintingErrorBox : public ore::gui::ErrorBox {
 public:
  void show(const std::string& message) override { std::printf("error: %s\n", message.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  ore::Workspace ws;
  bench::fillSample(ws, n, 1);
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0, 2);
  for (int i = 1; i <= n; ++i) ws.Param[i] = ws.Content[i] + noise(rng);
  const ore::NumberFormat fmt(',');
  PrintingErrorBox errors;
  const ore::gui::PictureFileChooser choose;
  ore::gui::SensorPanel panel(ws, fmt, errors, choose);
  panel.resize(1260, 760);
  panel.show();
  QApplication::processEvents();
  panel.EditCutoff->setText("5");

  // The gap between two ticks of a timer asked for every 5 ms is how long the loop was held.
  QElapsedTimer clock;
  qint64 last = 0, longest = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  clock.start();
  tick.start(5);
  QObject::connect(&panel, &ore::gui::SensorPanel::computed, &app, &QApplication::quit);
  QTimer::singleShot(0, [&] {
    last = clock.elapsed();
    panel.ButtonComputeClick();
  });
  app.exec();
  const qint64 total = clock.elapsed();
  tick.stop();

  QElapsedTimer t;
  t.start();
  panel.resize(1500, 900);
  QApplication::processEvents();
  const qint64 redraw = t.elapsed();
  std::printf(
      "sensor tab, %d lumps: computed and drawn in %lld ms, longest event loop stall %lld "
      "ms, redraw at a new size %lld ms\n",
      n, static_cast<long long>(total), static_cast<long long>(longest),
      static_cast<long long>(redraw));
  return 0;
}
