// Times the window "Кривые обогатимости" as a user meets it, on Qt's offscreen platform, over a
// lump file imported as "Открыть исходные данные" does: from the menu item to the painted curves,
// to the best cut's figures, to the resamples' figures; the longest wait of a 10 ms timer on the
// GUI thread while the resamples run; opening the window again; the process's peak memory.
//
//   sortability_window_guibench FILE

#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "import/gui/import_dialog.h"
#include "study/gui/sortability_window.h"

namespace {

class PrintingErrorBox : public ore::gui::ErrorBox {
 public:
  void show(const std::string& message) override {
    std::fprintf(stderr, "%s\n", message.c_str());
    failed = true;
  }
  bool failed = false;
};

ore::gui::SortabilityWindow* sortabilityWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* s = qobject_cast<ore::gui::SortabilityWindow*>(w)) return s;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "sortability_window_guibench FILE\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  ore::Workspace ws;
  PrintingErrorBox errors;
  ore::gui::AppContext ctx{ws, ore::NumberFormat(','), errors};
  ore::gui::Windows windows(ctx);
  ore::gui::TForm1* main = ctx.Form1;
  main->show();
  main->setOpenFileChooser([&] { return std::string(argv[1]); });
  main->N2->trigger();
  ctx.Form6->Timer1Timer();
  ctx.Form6->Button1->click();
  QApplication::processEvents();
  if (errors.failed) return 1;

  QElapsedTimer t;
  t.start();
  main->NSortability->trigger();
  const qint64 bestCut = t.elapsed();
  ore::gui::SortabilityWindow* w = sortabilityWindow();
  if (!w || errors.failed) return 1;
  QApplication::processEvents();
  if (w->grab().toImage().isNull()) return 1;
  const qint64 painted = t.elapsed();

  // The GUI thread while the resamples run: the longest gap between a 10 ms timer's ticks.
  qint64 stall = 0, last = t.elapsed();
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = t.elapsed();
    stall = std::max(stall, now - last);
    last = now;
  });
  tick.start(10);
  if (w->bootstrapRunning()) {
    QEventLoop loop;
    QObject::connect(w, &ore::gui::SortabilityWindow::bootstrapDone, &loop, &QEventLoop::quit);
    loop.exec();
  }
  const qint64 bootstrap = t.elapsed();
  tick.stop();
  stall = std::max(stall, t.elapsed() - last);
  if (errors.failed) return 1;

  w->hide();
  QApplication::processEvents();
  t.restart();
  main->NSortability->trigger();
  QApplication::processEvents();
  if (w->grab().toImage().isNull() || w->bootstrapRunning()) return 1;
  const qint64 reopened = t.elapsed();

  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf(
      "sortability window: painted %lld ms, best cut %lld ms, bootstrap %lld ms, stall %lld ms, "
      "reopened %lld ms, peak %ld MB\n",
      static_cast<long long>(painted), static_cast<long long>(bestCut),
      static_cast<long long>(bootstrap), static_cast<long long>(stall),
      static_cast<long long>(reopened), ru.ru_maxrss / 1024);
  return 0;
}
