#pragma once
// "Кривые обогатимости": the sortability curves of element 1 at every lump, the pocket cuts of the
// last analysis marked on them, the best cut with how sure it is, and saving the curve table.
// The curves and the best cut are shown at once; the resamples and saving run beside the window,
// each with its progress and "Отмена".

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/background_task.h"
#include "platform/gui/error_box.h"
#include "platform/gui/form.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/string_grid.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/gui/sortability_window_charts.h"
#include "study/pocket_cuts.h"
#include "study/sortability_curve.h"

class QChartView;

namespace ore::gui {

class SortabilityWindow : public Form {
  Q_OBJECT
 public:
  // The pocket cuts of the last analysis, read when the curves are shown, and only when that
  // analysis was of the lumps now loaded.
  using PocketCutsSource = std::function<std::vector<study::PocketCut>()>;

  // choosePicture asks for the charts' picture files; kept by reference.
  SortabilityWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                    PocketCutsSource pocketCuts, const PictureFileChooser& choosePicture);
  ~SortabilityWindow() override;

  // The menu item: shows the window in front with the curves of the current lumps. What was
  // worked out for the same lumps, key and minimum is shown again as it was.
  void open();
  // "Рассчитать": the curves and the best cut, then its resamples beside the window (a second
  // press starts them again). A minimum content that does not convert changes nothing; curves
  // already drawn stay when no cut reaches the minimum.
  void ButtonComputeClick();
  // "Сохранить таблицу…": the curve's rows as .xlsx or .csv, beside the window.
  void ButtonSaveClick();

  // The file the table is saved to: a save dialog unless a test puts another in its place.
  void setSaveFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }
  // Whether the resamples, or the save, are still running.
  bool bootstrapRunning() const { return bootTask_->running(); }
  bool saveRunning() const { return saveTask_->running(); }

  // The two chart views, named ChartCurves and ChartGrade: where the picture export's context
  // menu belongs.
  QChartView* ChartCurves = nullptr;
  QChartView* ChartGrade = nullptr;
  StringGrid* GridBest = nullptr;
  QLabel* LabelMinGrade = nullptr;
  QLineEdit* EditMinGrade = nullptr;
  QPushButton* ButtonCompute = nullptr;
  QPushButton* ButtonSave = nullptr;
  QPushButton* ButtonClose = nullptr;
  QLabel* LabelPockets = nullptr;
  // The resamples' and the save's progress, each with its "Отмена"; shown while they run.
  QWidget* PanelBootstrap = nullptr;
  QProgressBar* ProgressBootstrap = nullptr;
  QPushButton* ButtonCancelBootstrap = nullptr;
  QWidget* PanelSave = nullptr;
  QProgressBar* ProgressSave = nullptr;
  QPushButton* ButtonCancelSave = nullptr;

 signals:
  // The resamples' rows are filled in (bench and tests wait for it).
  void bootstrapDone();
  // A save has ended, written or refused.
  void saveDone();

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  // What a curve was built from: a new data set, key or number of contents needs a new one.
  struct CurveKey {
    std::uint64_t dataSet = 0;
    DistributionKind kind = DistributionKind::None;
    int contents = 0;
    bool operator==(const CurveKey&) const = default;
  };
  enum class BootState { None, Running, Stopped, Done };

  void compute(bool restart);
  std::optional<double> readMinGrade() const;
  void showPockets();
  void showBest();
  void clearBest();
  void startBootstrap();
  void stopBootstrap(BootState state);
  void fitBestRows();
  std::string chooseSaveFile();

  Workspace& ws_;
  const NumberFormat& fmt_;
  ErrorBox& errors_;
  PocketCutsSource pocketCuts_;
  std::function<std::string()> chooser_;
  SortabilityCharts charts_;

  std::shared_ptr<const study::SortabilityCurve> curve_;
  CurveKey curveKey_;
  // The best cut of curve_ under minGrade_, and its resamples when bootState_ is Done.
  std::optional<study::BestCut> best_;
  std::optional<double> minGrade_;
  study::BootstrapSettings bootSettings_;
  study::BootstrapResult boot_;
  BootState bootState_ = BootState::None;

  // Last, so they stop and join their work before anything it reports to goes.
  std::unique_ptr<BackgroundTask> saveTask_;
  std::unique_ptr<BackgroundTask> bootTask_;
};

}  // namespace ore::gui
