// orefrac: creates the eight windows hidden, in order, and runs the event loop until the main
// window closes.

#include <QApplication>
#include <QLocale>
#include <csignal>

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "platform/gui/toolkit_language.h"

int main(int argc, char** argv) {
  // A save past the file size limit fails with a message instead of ending the program.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  app.setApplicationName("orefrac");
  ore::gui::installToolkitTranslations(app);
  QFont font = QApplication::font();
  font.setPointSize(8);
  QApplication::setFont(font);

  ore::Workspace ws;
  ore::gui::MessageBoxErrorBox errors;
  // The decimal separator is taken from the user's locale once, here.
  QString point = QLocale().decimalPoint();
  char sep = point.size() == 1 && point[0].unicode() < 128 ? point[0].toLatin1() : '.';
  ore::gui::AppContext ctx{ws, ore::NumberFormat(sep), errors};

  ore::gui::Windows windows(ctx);
  ctx.Form1->show();
  return app.exec();
}
