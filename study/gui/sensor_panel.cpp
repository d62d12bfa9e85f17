#include "study/gui/sensor_panel.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <memory>

#include "data/errors.h"
#include "data/number_format.h"
#include "platform/gui/background_task.h"
#include "platform/gui/busy_cursor.h"
#include "platform/gui/figures_grid.h"
#include "platform/gui/run_controls.h"
#include "platform/gui/table_file_dialog.h"
#include "study/sensor_study.h"

namespace ore::gui {

namespace {

QChartView* chartView(QChart* chart, const char* name, ErrorBox& errors,
                      const PictureFileChooser& choosePicture) {
  auto* v = new QChartView(chart);
  v->setObjectName(name);
  v->setRenderHint(QPainter::Antialiasing);
  addChartViewSaveMenu(v, chart->title(), errors, choosePicture);
  return v;
}

// What the study reads of the lumps, copied: the worker must not see a later import's arrays.
std::shared_ptr<const Workspace> lumpsOf(const Workspace& ws) {
  auto copy = std::make_shared<Workspace>();
  copy->LumpCount = ws.LumpCount;
  copy->ContentCount = 1;
  copy->Mass = ws.Mass;
  copy->Content = ws.Content;
  copy->Param = ws.Param;
  return copy;
}

}  // namespace

SensorPanel::SensorPanel(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                         const PictureFileChooser& choosePicture, QWidget* parent)
    : QWidget(parent), ws_(ws), fmt_(fmt), errors_(errors) {
  setObjectName("SensorPanel");
  task_ = new BackgroundTask(this);

  ChartGrade = chartView(charts_.grade(), "ChartGrade", errors_, choosePicture);
  ChartYield = chartView(charts_.yield(), "ChartYield", errors_, choosePicture);
  ChartRoc = chartView(charts_.roc(), "ChartRoc", errors_, choosePicture);
  auto* lower = new QSplitter(Qt::Horizontal);
  lower->addWidget(ChartYield);
  lower->addWidget(ChartRoc);
  lower->setStretchFactor(0, 2);
  lower->setStretchFactor(1, 3);  // the ROC legend names both areas
  auto* charts = new QSplitter(Qt::Vertical);
  charts->setObjectName("SplitterCharts");
  charts->addWidget(ChartGrade);
  charts->addWidget(lower);

  auto* labelSide = new QLabel("В концентрат идут куски с параметром:");
  labelSide->setObjectName("LabelSide");
  ComboSide = new QComboBox;
  ComboSide->setObjectName("ComboSide");
  ComboSide->addItems({"выше границы", "ниже границы"});
  labelSide->setBuddy(ComboSide);
  auto* labelCutoff = new QLabel("Граничное содержание, %  №= 1 (руда — не ниже):");
  labelCutoff->setObjectName("LabelCutoff");
  labelCutoff->setWordWrap(true);
  EditCutoff = new QLineEdit;
  EditCutoff->setObjectName("EditCutoff");
  EditCutoff->setPlaceholderText("не задано");
  labelCutoff->setBuddy(EditCutoff);
  run_ = std::make_unique<RunControls>(*task_, this, errors_);
  ButtonCompute = run_->ButtonCompute;
  GridFigures = newFiguresGrid("GridFigures", 300);
  ButtonSave = new QPushButton("Сохранить таблицу…");
  ButtonSave->setObjectName("ButtonSave");
  ButtonSave->setEnabled(false);

  auto* side = new QVBoxLayout;
  side->addWidget(labelSide);
  side->addWidget(ComboSide);
  side->addWidget(labelCutoff);
  side->addWidget(EditCutoff);
  run_->addTo(side);
  side->addWidget(GridFigures, 1);
  auto* save = new QHBoxLayout;
  save->addWidget(ButtonSave);
  save->addStretch(1);
  side->addLayout(save);
  auto* sideBox = new QWidget;
  sideBox->setObjectName("PanelFigures");
  sideBox->setLayout(side);
  sideBox->setFixedWidth(470);

  auto* top = new QHBoxLayout(this);
  top->addWidget(charts, 1);
  top->addWidget(sideBox);

  auto guard = [this](void (SensorPanel::*handler)()) {
    return [this, handler] { guarded(errors_, [this, handler] { (this->*handler)(); }); };
  };
  connect(ButtonCompute, &QPushButton::clicked, this, guard(&SensorPanel::ButtonComputeClick));
  connect(EditCutoff, &QLineEdit::returnPressed, this, guard(&SensorPanel::ButtonComputeClick));
  connect(run_->ButtonCancel, &QPushButton::clicked, this, guard(&SensorPanel::ButtonCancelClick));
  connect(ButtonSave, &QPushButton::clicked, this, guard(&SensorPanel::ButtonSaveClick));
}

// The task joins its threads before the panel's members go.
SensorPanel::~SensorPanel() {
  delete task_;
}

bool SensorPanel::computing() const {
  return task_->running();
}

void SensorPanel::ButtonComputeClick() {
  study::SensorSettings settings;
  settings.side = ComboSide->currentIndex() == 1 ? study::ConcentrateSide::Below
                                                 : study::ConcentrateSide::Above;
  const std::string cutoff = EditCutoff->text().trimmed().toStdString();
  if (!cutoff.empty()) {
    settings.cutoffGrade = parseRealField(fmt_, "Граничное содержание", cutoff);
  }

  std::shared_ptr<const Workspace> lumps;
  {
    BusyCursor busy;
    lumps = lumpsOf(ws_);
  }
  clearResults();
  run_->started();
  const NumberFormat fmt = fmt_;
  task_->start([this, lumps, settings, fmt](Progress& progress) -> BackgroundTask::Continuation {
    auto result =
        std::make_unique<study::SensorStudy>(study::sensorStudy(*lumps, settings, progress));
    auto rows = study::sensorRows(*result, fmt);
    auto drawing = SensorDrawing::of(*result, fmt);
    result.reset();  // the curves in full are not kept: only what is drawn and shown
    return [this, rows = std::move(rows), drawing = std::move(drawing)]() mutable {
      showResults(std::move(rows), std::move(drawing));
    };
  });
}

void SensorPanel::ButtonCancelClick() {
  run_->cancel();
}

void SensorPanel::clearResults() {
  rows_.clear();
  GridFigures->setRowCount(1);
  ButtonSave->setEnabled(false);
  charts_.clear();
}

void SensorPanel::showResults(std::vector<study::FigureRow> rows, SensorDrawing drawing) {
  rows_ = std::move(rows);
  GridFigures->setRowCount(static_cast<int>(rows_.size()) + 1);
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    GridFigures->setCell(0, static_cast<int>(r) + 1, rows_[r].label);
    GridFigures->setCell(1, static_cast<int>(r) + 1, rows_[r].text);
  }
  GridFigures->resizeRowsToContents();
  ButtonSave->setEnabled(true);
  run_->LabelStatus->clear();
  charts_.set(std::move(drawing));
  draw();
  emit computed();
}

void SensorPanel::draw() {
  charts_.draw(ChartGrade, ChartYield, ChartRoc);
}

void SensorPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  draw();
}

std::string SensorPanel::chooseSaveFile() {
  if (chooser_) return chooser_();
  return chooseTableFile(this, "датчик и анализ.xlsx");
}

void SensorPanel::ButtonSaveClick() {
  if (rows_.empty()) return;
  const std::string path = chooseSaveFile();
  if (path.empty()) return;
  BusyCursor busy;
  study::saveSensorTable(rows_, path);
}

}  // namespace ore::gui
