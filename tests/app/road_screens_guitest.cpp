// Pictures of every window along the road with the example workbook, for looking at by eye:
// written only when OREFRAC_ROAD_SCREENS names a folder (skipped otherwise). Run it on a real
// display (QT_QPA_PLATFORM=xcb under xvfb-run, with a window manager for the title bars): each
// window is saved by itself and, as the user sees it, as a picture of the whole screen.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "graph/gui/graph_window.h"
#include "import/gui/import_dialog.h"
#include "platform/gui/open_file_dialog.h"
#include "platform/gui/report_window.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

TEST(RoadScreens, Save) {
  const QString dir = qEnvironmentVariable("OREFRAC_ROAD_SCREENS");
  if (dir.isEmpty()) GTEST_SKIP() << "set OREFRAC_ROAD_SCREENS to a folder to get the pictures";
  const QString example = qEnvironmentVariable(
      "OREFRAC_ROAD_WORKBOOK", OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx");
  QDir().mkpath(dir);
  QFont font = QApplication::font();
  font.setPointSize(8);  // as the program sets it
  QApplication::setFont(font);

  Harness h;
  int step = 0;
  auto save = [&](QWidget* w, const QString& name) {
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w)) << name.toStdString();
    QTest::qWait(300);
    const QString prefix = QString("%1/%2-").arg(dir).arg(++step, 2, 10, QChar('0'));
    EXPECT_TRUE(w->grab().save(prefix + name + ".png")) << name.toStdString();
    QScreen* screen = QGuiApplication::primaryScreen();
    EXPECT_TRUE(screen->grabWindow(0).save(prefix + name + "-screen.png"));
  };
  auto type = [](StringGrid* grid, int col, int row, const QString& text) {
    auto& m = grid->model();
    m.setData(m.index(row, col), text, Qt::EditRole);
  };

  TForm1* main = h.ctx.Form1;
  main->show();
  save(main, "TForm1-start");
  main->N2->trigger();
  h.ctx.Form6->Edit6->setText("3");
  h.ctx.Form6->Timer1Timer();
  type(h.ctx.Form6->StringGrid1, 1, 1, "E");
  type(h.ctx.Form6->StringGrid1, 1, 2, "F");
  h.ctx.Form6->Timer1Timer();
  save(h.ctx.Form6, "TForm6");
  h.ctx.Form6->RadioButton2->click();
  save(h.ctx.Form6, "TForm6-by-parameter");
  h.ctx.Form6->RadioButton1->click();

  main->setOpenFileChooser([&] { return example.toStdString(); });
  QTest::mouseClick(h.ctx.Form6->Button1, Qt::LeftButton);
  save(main, "TForm1-imported");
  main->StringGrid1->scrollToBottom();
  save(main, "TForm1-scrolled-to-the-bottom");
  // The file-open dialog as the import shows it (the screen while it is open).
  QTimer::singleShot(700, [&] {
    if (QWidget* d = QApplication::activeModalWidget()) {
      QGuiApplication::primaryScreen()->grabWindow(0).save(
          QString("%1/%2-OpenDialog1-screen.png").arg(dir).arg(++step, 2, 10, QChar('0')));
      d->close();
    }
  });
  OpenFileDialog().choose(main);
  QTest::mouseClick(main->Button3, Qt::LeftButton);
  save(h.ctx.Form7, "TForm7");
  QTest::mouseClick(h.ctx.Form7->Button1, Qt::LeftButton);
  save(h.ctx.Form2, "TForm2");
  QTest::mouseClick(h.ctx.Form2->Button1, Qt::LeftButton);
  const char* limits[] = {"3", "6", "9", "12", "15"};
  for (int r = 1; r <= 5; ++r) type(h.ctx.Form3->StringGrid1, 1, r, limits[r - 1]);
  save(h.ctx.Form3, "TForm3");
  QTest::mouseClick(h.ctx.Form3->Button1, Qt::LeftButton);
  save(h.ctx.Form4, "TForm4");
  save(h.ctx.Form5, "TForm5");
  h.ctx.Form4->StringGrid1->horizontalScrollBar()->setValue(
      h.ctx.Form4->StringGrid1->horizontalScrollBar()->maximum());
  save(h.ctx.Form4, "TForm4-scrolled-right");
  // The histogram's context menu, open over the chart.
  QTimer::singleShot(700, [&] {
    if (QWidget* menu = QApplication::activePopupWidget()) {
      QGuiApplication::primaryScreen()->grabWindow(0).save(
          QString("%1/%2-TForm5-menu-screen.png").arg(dir).arg(++step, 2, 10, QChar('0')));
      menu->close();
    }
  });
  emit h.ctx.Form5->Chart1->customContextMenuRequested(QPoint(300, 200));

  QTest::mouseClick(h.ctx.Form4->Button4, Qt::LeftButton);
  QTest::mouseClick(h.ctx.Form4->RadioButton5, Qt::LeftButton);
  QTest::mouseClick(h.ctx.Form4->Button4, Qt::LeftButton);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* r = qobject_cast<ReportWindow*>(w); r && r->isVisible()) save(r, "ReportWindow");

  QTest::mouseClick(h.ctx.Form4->Button1, Qt::LeftButton);
  save(h.ctx.Form8, "TForm8");

  // The error box as the program shows it, over the window it speaks for.
  QTimer::singleShot(500, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      save(box, "ErrorBox");
      box->close();
    }
  });
  h.ctx.Form8->activateWindow();
  MessageBoxErrorBox().show("Окно отчета закрыто: книга отчета больше недоступна");
  EXPECT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];

  // A damaged workbook: the dialog stays open as the failure left it.
  main->setOpenFileChooser(
      [] { return std::string(OREFRAC_TEST_DATA "/workbooks/corrupt/truncated.xlsx"); });
  main->N2->trigger();
  QTest::mouseClick(h.ctx.Form6->Button1, Qt::LeftButton);
  save(h.ctx.Form6, "TForm6-after-a-damaged-file");
  EXPECT_EQ(h.errors.messages.size(), 1u);
}

}  // namespace
}  // namespace ore::gui::test
