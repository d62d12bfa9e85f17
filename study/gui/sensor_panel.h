#pragma once
// "Датчик и анализ": sorting on the sensor's reading against sorting on the content, how well the
// reading predicts the content, and how well its cuts tell ore from waste at a cut-off grade. The
// study is computed beside the window on a worker thread; the charts and the figures' table show
// its result, and the table is saved as .xlsx or .csv.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/string_grid.h"
#include "study/gui/sensor_panel_charts.h"
#include "study/sensor_table.h"

class QChartView;

namespace ore::gui {

class BackgroundTask;
class RunControls;

class SensorPanel : public QWidget {
  Q_OBJECT
 public:
  // choosePicture asks for the charts' picture files; kept by reference.
  SensorPanel(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
              const PictureFileChooser& choosePicture, QWidget* parent = nullptr);
  ~SensorPanel() override;

  // "Рассчитать": reads the side and the cut-off grade, then starts the study of the lumps now
  // loaded on the worker thread, dropping a run still going. A cut-off grade that is not a number
  // is refused before anything changes. The results come with computed().
  void ButtonComputeClick();
  // "Отмена": stops the run; what was shown before it stays cleared.
  void ButtonCancelClick();
  // "Сохранить таблицу…": the figures as .xlsx or .csv.
  void ButtonSaveClick();
  // A run is going.
  bool computing() const;

  // The file the table is saved to: a save dialog unless a test puts another in its place.
  void setSaveFileChooser(std::function<std::string()> chooser) { chooser_ = std::move(chooser); }

  QComboBox* ComboSide = nullptr;  // "выше границы" (0), "ниже границы" (1)
  QLineEdit* EditCutoff = nullptr;
  QPushButton* ButtonCompute = nullptr;  // of run_
  StringGrid* GridFigures = nullptr;
  QPushButton* ButtonSave = nullptr;
  QChartView* ChartGrade = nullptr;
  QChartView* ChartYield = nullptr;
  QChartView* ChartRoc = nullptr;

 signals:
  // A run's results are shown.
  void computed();

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void showResults(std::vector<study::FigureRow> rows, SensorDrawing drawing);
  void clearResults();
  void draw();
  std::string chooseSaveFile();

  Workspace& ws_;
  const NumberFormat& fmt_;
  ErrorBox& errors_;
  std::function<std::string()> chooser_;
  std::unique_ptr<RunControls> run_;
  BackgroundTask* task_ = nullptr;
  std::vector<study::FigureRow> rows_;
  SensorCharts charts_;
};

}  // namespace ore::gui
