#include "app/results_windows_view.h"

#include <QStringList>

#include "platform/gui/show_in_front.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"

namespace ore::gui {

void ResultsWindowsView::showResultsWindows() {
  setNotes({});
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

void ResultsWindowsView::setNotes(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << QString::fromStdString(line);
  results_.LabelNotes->setText(text.join('\n'));
  results_.LabelNotes->setVisible(!lines.empty());
}

void ResultsWindowsView::setPointsPerPage(int points) {
  histogram_.setPointsPerPage(points);
}

}  // namespace ore::gui
