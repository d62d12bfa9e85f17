#include "app/results_windows_view.h"

#include "platform/gui/show_in_front.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"

namespace ore::gui {

void ResultsWindowsView::showResultsWindows() {
  showInFront(&results_);
  showInFront(&histogram_);
}

void ResultsWindowsView::setHistogram(const std::vector<analysis::HistogramPoint>& points) {
  histogram_.setPoints(points);
}

void ResultsWindowsView::showLabel() {
  results_.Label1->show();
}

void ResultsWindowsView::setLabel(const std::string& text) {
  results_.Label1->setText(QString::fromStdString(text));
}

void ResultsWindowsView::setOutsideNote(const std::string& text) {
  results_.Label1->setToolTip(QString::fromStdString(text));
}

void ResultsWindowsView::setPointsPerPage(int points) {
  histogram_.setPointsPerPage(points);
}

}  // namespace ore::gui
