#include "analysis/gui/pocket_window.h"

#include <QApplication>

#include "platform/gui/show_in_front.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"

namespace ore::gui {

void ResultsWindowsView::showResultsWindows() {
  showInFront(ctx_.Form4);
  showInFront(ctx_.Form5);
}

void ResultsWindowsView::setHistogram(const std::vector<analysis::HistogramPoint>& points) {
  ctx_.Form5->setPoints(points);
}

void ResultsWindowsView::showLabel() {
  ctx_.Form4->Label1->show();
}

void ResultsWindowsView::setLabel(const std::string& text) {
  ctx_.Form4->Label1->setText(QString::fromStdString(text));
}

void ResultsWindowsView::setOutsideNote(const std::string& text) {
  ctx_.Form4->Label1->setToolTip(QString::fromStdString(text));
}

void ResultsWindowsView::setPointsPerPage(int points) {
  ctx_.Form5->setPointsPerPage(points);
}

TForm3::TForm3(AppContext& ctx)
    : Form("TForm3", "Параметры расчета 2", 345, 468),
      ctx_(ctx),
      runner_(analysis::runFractionAnalysis) {
  GroupBox1 = new QGroupBox("параметры карманов", this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(16, 8, 305, 377);
  StringGrid1 = new StringGrid(GroupBox1);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setGeometry(16, 16, 265, 289);
  Button1 = new QPushButton("Далее", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(240, 400, 75, 25);
  Button2 = new QPushButton("<<< Отмена", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(152, 400, 75, 25);

  // FormCreate: the limits are typed cell by cell; Tab leaves the table.
  StringGrid1->setDefaultRowHeight(24);
  StringGrid1->setTabKeyNavigation(false);

  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
}

void TForm3::Button1Click() {
  ResultsWindowsView view(ctx_);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct RestoreCursor {
    ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  runner_(ctx_.ws, StringGrid1->grid(), ctx_.Form4->resultsGrid(), ctx_.fmt, view);
}

void TForm3::Button2Click() {
  showInFront(ctx_.Form2);
  hide();
}

}  // namespace ore::gui
