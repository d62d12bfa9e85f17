#pragma once
// "Стоимость границы": what a cut is worth with the prices, plant recoveries and costs typed in,
// under the limits on the product. Computed beside the window on a worker thread; the chart shows
// the value of a tonne of feed at every cut with the best cuts by value and by E, the table the
// figures. The fields keep what was typed for as long as the panel lives (the program's run).

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/string_grid.h"
#include "study/cut_value.h"
#include "study/gui/value_panel_chart.h"
#include "study/sortability_curve.h"

class QChartView;

namespace ore::gui {

class BackgroundTask;
class RunControls;

class ValuePanel : public QWidget {
  Q_OBJECT
 public:
  // choosePicture asks for the chart's picture files; kept by reference.
  ValuePanel(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
             const PictureFileChooser& choosePicture, QWidget* parent = nullptr);
  ~ValuePanel() override;

  // Shows a row of fields for each content loaded (ContentCount); the texts of the others stay.
  void showContents();
  // "Рассчитать": reads every field, then starts the study of the lumps now loaded on the worker
  // thread, dropping a run still going. A field that does not convert is refused, focused, before
  // anything changes. The results come with computed().
  void ButtonComputeClick();
  // "Отмена": stops the run.
  void ButtonCancelClick();
  // "Сохранить таблицу…": the value curve as .xlsx or .csv.
  void ButtonSaveClick();
  bool computing() const;

  // The file the table is saved to: a save dialog unless a test puts another in its place.
  void setSaveFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }

  // Per element k = 1..10 (element 0 unused): EditPriceK, EditRecoveryK, EditMaxContentK.
  std::array<QLabel*, study::kMaxSortabilityContents + 1> LabelElement{};
  std::array<QLineEdit*, study::kMaxSortabilityContents + 1> EditPrice{}, EditRecovery{},
      EditMaxContent{};
  QLineEdit* EditCostProcess = nullptr;
  QLineEdit* EditCostReject = nullptr;
  QLineEdit* EditCostSort = nullptr;
  QLineEdit* EditMinGrade = nullptr;
  QLineEdit* EditMinRecovery = nullptr;
  QLineEdit* EditMaxYield = nullptr;
  QPushButton* ButtonCompute = nullptr;  // of run_
  StringGrid* GridFigures = nullptr;
  QPushButton* ButtonSave = nullptr;
  QChartView* ChartValue = nullptr;

 signals:
  // A run's results are shown.
  void computed();

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  struct Shown;
  void showResults(std::shared_ptr<const Shown> shown);
  void clearResults();
  std::string chooseSaveFile();

  Workspace& ws_;
  const NumberFormat& fmt_;
  ErrorBox& errors_;
  std::function<std::string()> chooser_;
  std::unique_ptr<RunControls> run_;
  BackgroundTask* task_ = nullptr;
  std::shared_ptr<const Shown> shown_;  // the last run's curve, inputs and figures
  ValueChart chart_;
};

}  // namespace ore::gui
