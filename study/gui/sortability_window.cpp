#include "study/gui/sortability_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSplitter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "platform/gui/picture_export.h"
#include "platform/gui/show_in_front.h"
#include "study/curve_decimation.h"
#include "study/curve_table.h"

namespace ore::gui {

namespace {

struct BusyCursor {
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

QLineSeries* lineSeries(const char* name, const QString& title, QColor color) {
  auto* s = new QLineSeries;
  s->setObjectName(name);
  s->setName(title);
  QPen pen(color);
  pen.setWidthF(1.5);
  s->setPen(pen);
  return s;
}

QScatterSeries* pointSeries(const char* name, const QString& title, QColor color, qreal size,
                            QScatterSeries::MarkerShape shape) {
  auto* s = new QScatterSeries;
  s->setObjectName(name);
  s->setName(title);
  s->setColor(color);
  s->setBorderColor(color.darker(150));
  s->setMarkerSize(size);
  s->setMarkerShape(shape);
  return s;
}

QValueAxis* valueAxis(const QString& title) {
  auto* a = new QValueAxis;
  a->setTitleText(title);
  a->setLabelFormat("%g");
  return a;
}

void attach(QChart* chart, QAbstractSeries* s, QAbstractAxis* x, QAbstractAxis* y) {
  chart->addSeries(s);
  s->attachAxis(x);
  s->attachAxis(y);
}

void hideFromLegend(QChart* chart, QAbstractSeries* s) {
  for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
}

// A percent axis of the same five ticks as 0..100 (0, 25, 50, 75, 100): from 0 to four nice
// steps, so the grid lines of both axes coincide.
void setContentRange(QValueAxis* axis, double top) {
  double step = 1;
  if (top > 0) {
    const double raw = top / 4, unit = std::pow(10.0, std::floor(std::log10(raw)));
    step = 10 * unit;
    for (double f : {1.0, 2.0, 2.5, 5.0})
      if (f * unit >= raw) {
        step = f * unit;
        break;
      }
  }
  axis->setRange(0, 4 * step);
  axis->setTickCount(5);
}

void setKeyRange(QValueAxis* axis, double lo, double hi) {
  if (!(hi > lo)) {
    lo -= 1;
    hi += 1;
  }
  axis->setRange(lo, hi);
  axis->applyNiceNumbers();
}

// Width of the chart's plot area in pixels: how many columns a curve needs.
int plotColumns(QChartView* view, QChart* chart) {
  const int w = static_cast<int>(chart->plotArea().width());
  return std::max(w > 0 ? w : view->width(), 100);
}

// The points of the curve where `has` holds (a tails or concentrate with lumps of some mass),
// thinned to the axis's columns.
void fill(QLineSeries* s, const std::vector<double>& x, const std::vector<double>& y,
          const std::vector<char>& has, const QValueAxis* axis, int columns) {
  std::vector<double> px, py;
  px.reserve(x.size());
  py.reserve(y.size());
  for (std::size_t i = 0; i < x.size(); ++i)
    if (has[i]) {
      px.push_back(x[i]);
      py.push_back(y[i]);
    }
  const std::vector<std::size_t> keep =
      study::decimateCurve(px.data(), py.data(), px.size(), axis->min(), axis->max(), columns);
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(keep.size()));
  for (std::size_t i : keep) points.append(QPointF(px[i], py[i]));
  s->replace(points);
}

}  // namespace

SortabilityWindow::SortabilityWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                                     PocketCutsSource pocketCuts)
    : Form("SortabilityWindow", "Кривые обогатимости", 1180, 760),
      ws_(ws),
      fmt_(fmt),
      errors_(errors),
      pocketCuts_(std::move(pocketCuts)) {
  buildCharts();
  ChartCurves = new QChartView(curves_);
  ChartCurves->setObjectName("ChartCurves");
  ChartCurves->setRenderHint(QPainter::Antialiasing);
  ChartGrade = new QChartView(grade_);
  ChartGrade->setObjectName("ChartGrade");
  ChartGrade->setRenderHint(QPainter::Antialiasing);
  addChartViewSaveMenu(ChartCurves, curves_->title(), errors_);
  addChartViewSaveMenu(ChartGrade, grade_->title(), errors_);
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

void SortabilityWindow::buildCharts() {
  curves_ = new QChart;
  curves_->setObjectName("CurvesChart");
  curves_->setTitle("Кривые обогатимости, элемент 1");
  curves_->legend()->setAlignment(Qt::AlignRight);
  keyAxis_ = valueAxis("Граница");
  percentAxis_ = valueAxis("Выход, извлечение, %");
  percentAxis_->setRange(0, 100);
  percentAxis_->setTickCount(5);
  contentAxis_ = valueAxis("Содержание, %");
  curves_->addAxis(keyAxis_, Qt::AlignBottom);
  curves_->addAxis(percentAxis_, Qt::AlignLeft);
  curves_->addAxis(contentAxis_, Qt::AlignRight);
  // The letters the separation diagram names its curves with.
  tailsYieldSeries_ = lineSeries("SeriesTailsYield", "λ — выход хвостов", QColor(0, 90, 200));
  tailsContentSeries_ =
      lineSeries("SeriesTailsContent", "θ — содержание в хвостах", QColor(0, 150, 60));
  concContentSeries_ =
      lineSeries("SeriesConcentrateContent", "β — содержание в концентрате", QColor(200, 120, 0));
  tailsRecoverySeries_ =
      lineSeries("SeriesTailsRecovery", "ε — извлечение в хвосты", QColor(150, 40, 170));
  bestLine_ = lineSeries("SeriesBestCut", "Лучшая граница", QColor(220, 0, 0));
  bestLine_->setPen(QPen(QColor(220, 0, 0), 1.5, Qt::DashLine));
  pocketPercent_ = pointSeries("SeriesPocketCuts", "Границы карманов", QColor(40, 40, 40), 7,
                               QScatterSeries::MarkerShapeCircle);
  pocketContent_ = pointSeries("SeriesPocketCutsContent", "Границы карманов", QColor(40, 40, 40), 7,
                               QScatterSeries::MarkerShapeCircle);
  bestPercent_ = pointSeries("SeriesBestCutPoints", "Лучшая граница", QColor(220, 0, 0), 9,
                             QScatterSeries::MarkerShapeRectangle);
  attach(curves_, tailsYieldSeries_, keyAxis_, percentAxis_);
  attach(curves_, tailsContentSeries_, keyAxis_, contentAxis_);
  attach(curves_, concContentSeries_, keyAxis_, contentAxis_);
  attach(curves_, tailsRecoverySeries_, keyAxis_, percentAxis_);
  attach(curves_, bestLine_, keyAxis_, percentAxis_);
  attach(curves_, pocketPercent_, keyAxis_, percentAxis_);
  attach(curves_, pocketContent_, keyAxis_, contentAxis_);
  attach(curves_, bestPercent_, keyAxis_, percentAxis_);
  hideFromLegend(curves_, pocketContent_);
  hideFromLegend(curves_, bestPercent_);

  grade_ = new QChart;
  grade_->setObjectName("GradeChart");
  grade_->setTitle("Содержание в концентрате от извлечения в концентрат, элемент 1");
  grade_->legend()->setAlignment(Qt::AlignBottom);
  recoveryAxis_ = valueAxis("Извлечение в концентрат, %  №= 1");
  recoveryAxis_->setRange(0, 100);
  recoveryAxis_->setTickCount(5);
  gradeAxis_ = valueAxis("Содержание, %");
  grade_->addAxis(recoveryAxis_, Qt::AlignBottom);
  grade_->addAxis(gradeAxis_, Qt::AlignLeft);
  gradeSeries_ = lineSeries("SeriesGrade", "β от извлечения в концентрат", QColor(200, 120, 0));
  pocketGrade_ = pointSeries("SeriesPocketGrade", "Границы карманов", QColor(40, 40, 40), 7,
                             QScatterSeries::MarkerShapeCircle);
  bestGrade_ = pointSeries("SeriesBestGrade", "Лучшая граница", QColor(220, 0, 0), 9,
                           QScatterSeries::MarkerShapeRectangle);
  attach(grade_, gradeSeries_, recoveryAxis_, gradeAxis_);
  attach(grade_, pocketGrade_, recoveryAxis_, gradeAxis_);
  attach(grade_, bestGrade_, recoveryAxis_, gradeAxis_);
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
  curve_ = study::sortabilityCurve(ws_);
  ButtonSave->setEnabled(true);
  showCurves();

  const study::BestCut best = study::bestCut(*curve_, minGrade, fmt_);
  study::BootstrapSettings settings;
  settings.minGrade = minGrade;
  const study::BootstrapResult boot = study::bootstrapBestCut(*curve_, best, settings);
  const auto rows = study::bestCutRows(best, boot, settings.seed, fmt_);
  GridBest->setRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    GridBest->setCell(0, static_cast<int>(r) + 1, rows[r].first);
    GridBest->setCell(1, static_cast<int>(r) + 1, rows[r].second);
  }
  GridBest->resizeRowsToContents();
  showBest(best);
}

void SortabilityWindow::showCurves() {
  const study::SortabilityCurve& cv = *curve_;
  const std::size_t n = cv.cutCount();
  for (auto* v :
       {&key_, &tailsYield_, &tailsContent_, &concContent_, &tailsRecovery_, &concRecovery_})
    v->resize(n);
  hasTails_.resize(n);
  hasConc_.resize(n);
  for (std::size_t g = 0; g < n; ++g) {
    const study::CutFigures f = cv.figures(g);
    key_[g] = f.key;
    tailsYield_[g] = static_cast<double>(f.tailsYield);
    tailsContent_[g] = static_cast<double>(f.tailsContent[1]);
    concContent_[g] = static_cast<double>(f.concentrateContent[1]);
    tailsRecovery_[g] = static_cast<double>(f.tailsRecovery[1]);
    concRecovery_[g] = static_cast<double>(f.concentrateRecovery[1]);
    // A content of no mass is 0 by the rule for a divisor of 0, not a point of the curve: the
    // top cut's empty concentrate would pull the curve down to 0.
    hasTails_[g] = cv.totalMass() != 0 && f.tailsYield != 0;
    hasConc_[g] = f.concentrateYield != 0;
  }
  // The results grid may hold an analysis of lumps loaded before these: its cuts would lie off
  // the curves.
  const bool analysed = ws_.AnalysedDataSet != 0;
  const bool current = analysed && ws_.AnalysedDataSet == ws_.LumpDataSet;
  const std::vector<study::PocketCut> pockets =
      current && pocketCuts_ ? pocketCuts_() : std::vector<study::PocketCut>{};

  keyAxis_->setTitleText(ws_.DistributionKind == DistributionKind::Param
                             ? "Граница: параметр"
                             : "Граница: содержание, %  №= 1");
  double lo = key_.front(), hi = key_.back();
  double cmax = 0;
  for (std::size_t g = 0; g < n; ++g)
    cmax = std::max(
        {cmax, hasTails_[g] ? tailsContent_[g] : 0.0, hasConc_[g] ? concContent_[g] : 0.0});
  QList<QPointF> percent, content, grade;
  for (const study::PocketCut& p : pockets) {
    percent << QPointF(p.limit, p.tailsYield) << QPointF(p.limit, p.tailsRecovery);
    content << QPointF(p.limit, p.tailsContent);
    cmax = std::max(cmax, p.tailsContent);
    if (p.hasConcentrate) {
      content << QPointF(p.limit, p.concentrateContent);
      grade << QPointF(p.concentrateRecovery, p.concentrateContent);
      cmax = std::max(cmax, p.concentrateContent);
    }
    // The last pocket's limit usually lies above every key: keep it in sight.
    lo = std::min(lo, p.limit);
    hi = std::max(hi, p.limit);
  }
  setKeyRange(keyAxis_, lo, hi);
  setContentRange(contentAxis_, cmax);
  setContentRange(gradeAxis_, cmax);
  pocketPercent_->replace(percent);
  pocketContent_->replace(content);
  pocketGrade_->replace(grade);
  LabelPockets->setText(
      !pockets.empty() ? "Границы карманов последнего расчета отмечены точками: " +
                             QString::number(pockets.size())
      : analysed && !current
          ? "Границы карманов: последний расчет по карманам сделан по другим исходным данным"
          : "Границы карманов: расчета по карманам нет");
  drawCurves();
}

void SortabilityWindow::drawCurves() {
  if (key_.empty()) return;
  const int keyColumns = plotColumns(ChartCurves, curves_);
  const std::vector<char> all(key_.size(), 1);
  fill(tailsYieldSeries_, key_, tailsYield_, all, keyAxis_, keyColumns);
  fill(tailsContentSeries_, key_, tailsContent_, hasTails_, keyAxis_, keyColumns);
  fill(concContentSeries_, key_, concContent_, hasConc_, keyAxis_, keyColumns);
  fill(tailsRecoverySeries_, key_, tailsRecovery_, all, keyAxis_, keyColumns);
  // The concentrate's recovery falls as the key rises: from the top cut down it rises.
  std::vector<double> x(concRecovery_.rbegin(), concRecovery_.rend());
  std::vector<double> y(concContent_.rbegin(), concContent_.rend());
  std::vector<char> has(hasConc_.rbegin(), hasConc_.rend());
  fill(gradeSeries_, x, y, has, recoveryAxis_, plotColumns(ChartGrade, grade_));
}

void SortabilityWindow::clearBest() {
  GridBest->setRowCount(1);
  bestLine_->clear();
  bestPercent_->clear();
  bestGrade_->clear();
}

void SortabilityWindow::showBest(const study::BestCut& best) {
  const study::CutFigures& f = best.figures;
  const double key = f.key;
  bestLine_->replace(QList<QPointF>{{key, 0}, {key, 100}});
  bestPercent_->replace(QList<QPointF>{{key, static_cast<double>(f.tailsYield)},
                                       {key, static_cast<double>(f.tailsRecovery[1])}});
  bestGrade_->replace(QList<QPointF>{{static_cast<double>(f.concentrateRecovery[1]),
                                      static_cast<double>(f.concentrateContent[1])}});
}

void SortabilityWindow::resizeEvent(QResizeEvent* e) {
  Form::resizeEvent(e);
  drawCurves();
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
  study::saveSortabilityCurve(*curve_, fmt_, path);
}

}  // namespace ore::gui
