#pragma once
// "Кривые обогатимости": the sortability curves of element 1 at every lump, the pocket cuts of the
// last analysis marked on them, the best cut with how sure it is, and saving the curve table.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"
#include "platform/gui/form.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/string_grid.h"
#include "study/best_cut.h"
#include "study/gui/sortability_window_charts.h"
#include "study/pocket_cuts.h"
#include "study/sortability_curve.h"

class QChartView;

namespace ore::gui {

class SortabilityWindow : public Form {
  Q_OBJECT
 public:
  // The pocket cuts of the last analysis, read when the curves are built, and only when that
  // analysis was of the lumps now loaded.
  using PocketCutsSource = std::function<std::vector<study::PocketCut>()>;

  // choosePicture asks for the charts' picture files; kept by reference.
  SortabilityWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                    PocketCutsSource pocketCuts, const PictureFileChooser& choosePicture);

  // The menu item: shows the window in front and builds everything from the current lumps.
  void open();
  // "Рассчитать": the curves, then the best cut and its resamples. Stops at the first failure:
  // a minimum content that does not convert changes nothing; curves already drawn stay when no
  // cut reaches the minimum.
  void ButtonComputeClick();
  // "Сохранить таблицу…": the curve's rows as .xlsx or .csv.
  void ButtonSaveClick();

  // The file the table is saved to: a save dialog unless a test puts another in its place.
  void setSaveFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }

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

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void showCurves();
  void clearBest();
  std::string chooseSaveFile();

  Workspace& ws_;
  const NumberFormat& fmt_;
  ErrorBox& errors_;
  PocketCutsSource pocketCuts_;
  std::function<std::string()> chooser_;
  std::optional<study::SortabilityCurve> curve_;
  SortabilityCharts charts_;
};

}  // namespace ore::gui
