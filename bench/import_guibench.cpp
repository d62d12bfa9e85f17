// Times the import as a user meets it, on Qt's offscreen platform: from the moment the file is
// chosen in "Открыть исходные данные" ("Ok>>>" with the dialog's defaults) to the main window
// painted with the source grid, then scrolling that grid to its end and back to its middle, with
// the process's peak memory.
//
//   import_guibench FILE [RUNS [PNG]]   (RUNS imports of the same file in one process, default 3;
//                                        PNG: the painted window after the first import)

#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "import/gui/import_dialog.h"

namespace {

class PrintingErrorBox : public ore::gui::ErrorBox {
 public:
  void show(const std::string& message) override {
    std::fprintf(stderr, "%s\n", message.c_str());
    failed = true;
  }
  bool failed = false;
};

qint64 paintMs(QWidget* w, QElapsedTimer& t, const char* png = nullptr) {
  QApplication::processEvents();
  const QImage image = w->grab().toImage();
  const qint64 ms = image.isNull() ? -1 : t.elapsed();
  if (png) image.save(png);
  t.restart();
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "import_guibench FILE [RUNS]\n");
    return 2;
  }
  const std::string file = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);

  ore::Workspace ws;
  PrintingErrorBox errors;
  ore::gui::AppContext ctx{ws, ore::NumberFormat(','), errors};
  ore::gui::Windows windows(ctx);
  ore::gui::TForm1* main = ctx.Form1;
  main->show();
  QApplication::processEvents();

  QElapsedTimer t;
  main->setOpenFileChooser([&] {
    t.start();  // the file is chosen: from here on the user waits
    return file;
  });

  std::vector<qint64> shown, end, middle;
  for (int run = 0; run < runs; ++run) {
    main->N2->trigger();
    ctx.Form6->Timer1Timer();
    ctx.Form6->Button1->click();
    if (errors.failed) return 1;
    shown.push_back(paintMs(main, t, run == 0 && argc > 3 ? argv[3] : nullptr));
    QScrollBar* bar = main->StringGrid1->verticalScrollBar();
    bar->setValue(bar->maximum());
    end.push_back(paintMs(main, t));
    bar->setValue(bar->maximum() / 2);
    middle.push_back(paintMs(main, t));
  }
  auto median = [](std::vector<qint64> v) {
    std::sort(v.begin(), v.end());
    return static_cast<long long>(v[v.size() / 2]);
  };

  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  std::printf(
      "%s: %d rows; file chosen to painted grid %lld ms (median of %d), scroll to the end %lld "
      "ms, to the middle %lld ms, peak RSS %ld MB\n",
      file.c_str(), main->StringGrid1->grid().rowCount(), median(shown), runs, median(end),
      median(middle), ru.ru_maxrss / 1024);
  return 0;
}
