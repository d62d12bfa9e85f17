#include "study/gui/sortability_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>

#include "data/progress.h"
#include "platform/gui/busy_cursor.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/show_in_front.h"
#include "study/bootstrap.h"
#include "study/curve_table.h"

namespace ore::gui {

SortabilityWindow::SortabilityWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                                     PocketCutsSource pocketCuts,
                                     const PictureFileChooser& choosePicture)
    : Form("SortabilityWindow", "Кривые обогатимости", 1180, 760),
      ws_(ws),
      fmt_(fmt),
      errors_(errors),
      pocketCuts_(std::move(pocketCuts)) {
  ChartCurves = new QChartView(charts_.curves());
  ChartCurves->setObjectName("ChartCurves");
  ChartCurves->setRenderHint(QPainter::Antialiasing);
  ChartGrade = new QChartView(charts_.grade());
  ChartGrade->setObjectName("ChartGrade");
  ChartGrade->setRenderHint(QPainter::Antialiasing);
  addChartViewSaveMenu(ChartCurves, charts_.curves()->title(), errors_, choosePicture);
  addChartViewSaveMenu(ChartGrade, charts_.grade()->title(), errors_, choosePicture);
  auto* charts = new QSplitter(Qt::Vertical);
  charts->setObjectName("SplitterCharts");
  charts->addWidget(ChartCurves);
  charts->addWidget(ChartGrade);
  charts->setStretchFactor(0, 3);
  charts->setStretchFactor(1, 2);

  LabelMinGrade = new QLabel("Минимальное содержание в концентрате, %  №= 1:");
  LabelMinGrade->setObjectName("LabelMinGrade");
  LabelMinGrade->setWordWrap(true);
  EditMinGrade = new QLineEdit;
  EditMinGrade->setObjectName("EditMinGrade");
  EditMinGrade->setPlaceholderText("не задано");
  LabelMinGrade->setBuddy(EditMinGrade);
  ButtonCompute = new QPushButton("Рассчитать");
  ButtonCompute->setObjectName("ButtonCompute");
  GridBest = new StringGrid;
  GridBest->setObjectName("GridBest");
  GridBest->setColCount(2);
  GridBest->setRowCount(1);
  GridBest->setCell(0, 0, "Показатель");
  GridBest->setCell(1, 0, "Значение");
  GridBest->setColWidth(0, 205);
  GridBest->horizontalHeader()->setStretchLastSection(true);
  GridBest->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridBest->setWordWrap(true);
  LabelPockets = new QLabel;
  LabelPockets->setObjectName("LabelPockets");
  LabelPockets->setWordWrap(true);
  ButtonSave = new QPushButton("Сохранить таблицу…");
  ButtonSave->setObjectName("ButtonSave");
  ButtonSave->setEnabled(false);
  ButtonClose = new QPushButton("Выход");
  ButtonClose->setObjectName("ButtonClose");

  auto* side = new QVBoxLayout;
  side->addWidget(LabelMinGrade);
  auto* gradeRow = new QHBoxLayout;
  gradeRow->addWidget(EditMinGrade, 1);
  gradeRow->addWidget(ButtonCompute);
  side->addLayout(gradeRow);
  side->addWidget(GridBest, 1);
  side->addWidget(LabelPockets);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonSave);
  buttons->addStretch(1);
  buttons->addWidget(ButtonClose);
  side->addLayout(buttons);
  auto* sideBox = new QWidget;
  sideBox->setObjectName("PanelBest");
  sideBox->setLayout(side);
  sideBox->setFixedWidth(390);

  auto* top = new QHBoxLayout(this);
  top->addWidget(charts, 1);
  top->addWidget(sideBox);

  auto guard = [this](void (SortabilityWindow::*handler)()) {
    return [this, handler] { guarded(errors_, [this, handler] { (this->*handler)(); }); };
  };
  connect(ButtonCompute, &QPushButton::clicked, this,
          guard(&SortabilityWindow::ButtonComputeClick));
  connect(EditMinGrade, &QLineEdit::returnPressed, this,
          guard(&SortabilityWindow::ButtonComputeClick));
  connect(ButtonSave, &QPushButton::clicked, this, guard(&SortabilityWindow::ButtonSaveClick));
  connect(ButtonClose, &QPushButton::clicked, this, &QWidget::hide);
}

void SortabilityWindow::open() {
  showInFront(this);
  ButtonComputeClick();
}

void SortabilityWindow::ButtonComputeClick() {
  std::optional<double> minGrade;
  const std::string gradeText = EditMinGrade->text().trimmed().toStdString();
  if (!gradeText.empty()) minGrade = fmt_.parseReal(gradeText);

  BusyCursor busy;
  clearBest();
  curve_.reset();
  ButtonSave->setEnabled(false);
  Progress progress;
  curve_.emplace(ws_, progress);
  ButtonSave->setEnabled(true);
  showCurves();

  const study::BestCut best = study::bestCut(*curve_, minGrade, fmt_);
  study::BootstrapSettings settings;
  settings.minGrade = minGrade;
  const study::BootstrapResult boot = study::bootstrapBestCut(*curve_, best, settings, progress);
  const auto rows = study::bestCutRows(best, boot, settings.seed, fmt_);
  GridBest->setRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    GridBest->setCell(0, static_cast<int>(r) + 1, rows[r].first);
    GridBest->setCell(1, static_cast<int>(r) + 1, rows[r].second);
  }
  GridBest->resizeRowsToContents();
  charts_.setBest(best);
}

void SortabilityWindow::showCurves() {
  // The results grid may hold an analysis of lumps loaded before these: its cuts would lie off
  // the curves.
  const bool analysed = ws_.AnalysedDataSet != 0;
  const bool current = analysed && ws_.AnalysedDataSet == ws_.LumpDataSet;
  const std::vector<study::PocketCut> pockets =
      current && pocketCuts_ ? pocketCuts_() : std::vector<study::PocketCut>{};
  charts_.setCurves(*curve_, pockets, ws_.DistributionKind);
  LabelPockets->setText(
      !pockets.empty() ? "Границы карманов последнего расчета отмечены точками: " +
                             QString::number(pockets.size())
      : analysed && !current
          ? "Границы карманов: последний расчет по карманам сделан по другим исходным данным"
          : "Границы карманов: расчета по карманам нет");
  charts_.draw(ChartCurves, ChartGrade);
}

void SortabilityWindow::clearBest() {
  GridBest->setRowCount(1);
  charts_.clearBest();
}

void SortabilityWindow::resizeEvent(QResizeEvent* e) {
  Form::resizeEvent(e);
  charts_.draw(ChartCurves, ChartGrade);
}

std::string SortabilityWindow::chooseSaveFile() {
  if (chooser_) return chooser_();
  QString filter;
  const QString xlsx = "Книга Excel (*.xlsx)", csv = "Текст CSV, разделитель ';' (*.csv)";
  QString path = QFileDialog::getSaveFileName(this, "Сохранить таблицу", "кривые обогатимости.xlsx",
                                              xlsx + ";;" + csv, &filter);
  if (path.isEmpty()) return {};
  const QString lower = path.toLower();
  if (!lower.endsWith(".xlsx") && !lower.endsWith(".csv")) path += filter == csv ? ".csv" : ".xlsx";
  return path.toStdString();
}

void SortabilityWindow::ButtonSaveClick() {
  if (!curve_) return;
  const std::string path = chooseSaveFile();
  if (path.empty()) return;
  BusyCursor busy;
  Progress progress;
  study::saveSortabilityCurve(*curve_, fmt_, path, progress);
}

}  // namespace ore::gui
