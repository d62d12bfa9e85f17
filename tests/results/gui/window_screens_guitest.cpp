// Pictures of the set-up, pocket, results and histogram windows for looking at by eye: written
// only when OREFRAC_SCREENS names a folder (skipped otherwise).

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "platform/gui/printing.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

TEST(WindowScreens, Save) {
  const QString dir = qEnvironmentVariable("OREFRAC_SCREENS");
  if (dir.isEmpty()) GTEST_SKIP() << "set OREFRAC_SCREENS to a folder to get the pictures";
  QDir().mkpath(dir);
  QFont font = QApplication::font();
  font.setPointSize(8);  // as the program sets it
  QApplication::setFont(font);

  Harness h;
  h.ws.ContentCount = 1;
  h.ws.LumpCount = 68;  // the bars below: without lumps "Далее" refuses before the run
  auto save = [&](QWidget* w, const char* name) {
    w->show();
    QTest::qWait(150);
    EXPECT_TRUE(w->grab().save(dir + "/" + name + ".png")) << name;
  };
  h.ctx.Form1->N7->trigger();
  save(h.ctx.Form7, "TForm7");
  QTest::mouseClick(h.ctx.Form7->Button1, Qt::LeftButton);
  save(h.ctx.Form2, "TForm2");
  QTest::mouseClick(h.ctx.Form2->Button1, Qt::LeftButton);
  TextGrid& table = h.ctx.Form3->StringGrid1->grid();
  const char* limits[] = {"0,5", "1,0", "2", "3", "4"};
  for (int r = 1; r <= 5; ++r) table.setCell(1, r, limits[r - 1]);
  save(h.ctx.Form3, "TForm3");

  h.ctx.Form3->setAnalysisRunner([](Workspace&, const TextGrid& t, TextGrid& results,
                                    const NumberFormat&, analysis::AnalysisView& view, Progress*) {
    view.showResultsWindows();
    results.resize(11, 6);
    const int counts[] = {12, 0, 31, 18, 7};
    for (int j = 1; j <= 5; ++j) {
      results.setCell(0, j, std::to_string(j));
      results.setCell(1, j, t.cell(1, j));
      for (int c = 2; c < 11; ++c) results.setCell(c, j, std::to_string(j * c) + ",25");
    }
    std::vector<analysis::HistogramPoint> pts;
    for (int j = 1; j <= 5; ++j) pts.push_back({double(j), double(counts[j - 1]), t.cell(1, j)});
    view.setHistogram(pts);
    view.showLabel();
    view.setLabel("Число кусков  n=68       M=0,42");
    view.setPointsPerPage(5);
    return analysis::AnalysisOutcome{};
  });
  QTest::mouseClick(h.ctx.Form3->Button1, Qt::LeftButton);
  save(h.ctx.Form4, "TForm4");
  save(h.ctx.Form5, "TForm5");
  h.ctx.Form5->setPrintTarget(std::make_unique<PdfFileTarget>(dir + "/TForm5-print.pdf"));
  QTest::mouseClick(h.ctx.Form5->Button1, Qt::LeftButton);
  EXPECT_TRUE(h.errors.messages.empty());
}

}  // namespace
}  // namespace ore::gui::test
