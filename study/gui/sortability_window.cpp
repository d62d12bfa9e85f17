#include "study/gui/sortability_window.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>

#include "data/precision.h"
#include "data/progress.h"
#include "platform/gui/busy_cursor.h"
#include "platform/gui/figures_grid.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/show_in_front.h"
#include "platform/gui/table_file_dialog.h"
#include "study/curve_table.h"

namespace ore::gui {

namespace {

constexpr const char* kPending = "считается…";
constexpr const char* kStopped = "остановлено";

// A row of a progress bar and its "Отмена", hidden until work runs.
QWidget* progressPanel(const char* name, const QString& text, QProgressBar*& bar,
                       QPushButton*& cancel) {
  auto* panel = new QWidget;
  panel->setObjectName(name);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(text);
  bar = new QProgressBar;
  bar->setRange(0, 1000);
  bar->setTextVisible(false);
  cancel = new QPushButton("Отмена");
  row->addWidget(label);
  row->addWidget(bar, 1);
  row->addWidget(cancel);
  panel->hide();
  return panel;
}

}  // namespace

SortabilityWindow::SortabilityWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                                     PocketCutsSource pocketCuts,
                                     const PictureFileChooser& choosePicture)
    : Form("SortabilityWindow", "Кривые обогатимости", 1180, 760),
      ws_(ws),
      fmt_(fmt),
      errors_(errors),
      pocketCuts_(std::move(pocketCuts)),
      saveTask_(std::make_unique<BackgroundTask>()),
      bootTask_(std::make_unique<BackgroundTask>()) {
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
  GridBest = newFiguresGrid("GridBest", 205);
  // The labels are long: wrapped from the left edge rather than centred and cut at both ends.
  GridBest->verticalHeader()->setDefaultAlignment(
      Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap));
  PanelBootstrap = progressPanel("PanelBootstrap", "Повторные выборки:", ProgressBootstrap,
                                 ButtonCancelBootstrap);
  ProgressBootstrap->setObjectName("ProgressBootstrap");
  ButtonCancelBootstrap->setObjectName("ButtonCancelBootstrap");
  LabelPockets = new QLabel;
  LabelPockets->setObjectName("LabelPockets");
  LabelPockets->setWordWrap(true);
  PanelSave = progressPanel("PanelSave", "Сохранение таблицы:", ProgressSave, ButtonCancelSave);
  ProgressSave->setObjectName("ProgressSave");
  ButtonCancelSave->setObjectName("ButtonCancelSave");
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
  side->addWidget(PanelBootstrap);
  side->addWidget(LabelPockets);
  side->addWidget(PanelSave);
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

  connect(bootTask_.get(), &BackgroundTask::progressChanged, ProgressBootstrap,
          &QProgressBar::setValue);
  connect(bootTask_.get(), &BackgroundTask::failed, this, [this](const QString& message) {
    stopBootstrap(BootState::Stopped);
    errors_.show(message.toStdString());
  });
  connect(ButtonCancelBootstrap, &QPushButton::clicked, this,
          [this] { stopBootstrap(BootState::Stopped); });
  connect(saveTask_.get(), &BackgroundTask::progressChanged, ProgressSave, &QProgressBar::setValue);
  connect(saveTask_.get(), &BackgroundTask::failed, this,
          [this](const QString& message) { errors_.show(message.toStdString()); });
  connect(saveTask_.get(), &BackgroundTask::finished, this, [this] {
    PanelSave->hide();
    emit saveDone();
  });
  connect(ButtonCancelSave, &QPushButton::clicked, this, [this] {
    saveTask_->cancel();
    PanelSave->hide();
    emit saveDone();
  });
}

SortabilityWindow::~SortabilityWindow() = default;

void SortabilityWindow::open() {
  showInFront(this);
  compute(false);
}

void SortabilityWindow::ButtonComputeClick() {
  compute(true);
}

std::optional<double> SortabilityWindow::readMinGrade() const {
  const std::string text = EditMinGrade->text().trimmed().toStdString();
  if (text.empty()) return std::nullopt;
  return parseRealField(fmt_, "Минимальное содержание", text);
}

void SortabilityWindow::compute(bool restart) {
  const std::optional<double> minGrade = readMinGrade();
  BusyCursor busy;
  const CurveKey key{ws_.LumpDataSet, ws_.DistributionKind, ws_.ContentCount};
  if (!curve_ || !(key == curveKey_)) {
    stopBootstrap(BootState::None);
    best_.reset();
    clearBest();
    curve_.reset();
    ButtonSave->setEnabled(false);
    Progress progress;
    curve_ = std::make_shared<const study::SortabilityCurve>(ws_, progress);
    curveKey_ = key;
    charts_.setCurves(*curve_, ws_.DistributionKind);
  }
  ButtonSave->setEnabled(true);
  showPockets();

  // The same minimum: the best cut stands, and its resamples when they are done or running.
  const bool same = best_ && minGrade_ == minGrade;
  if (same && (bootState_ == BootState::Done || (bootState_ == BootState::Running && !restart))) {
    showBest();
    return;
  }
  stopBootstrap(BootState::None);
  best_.reset();
  clearBest();
  minGrade_ = minGrade;
  best_ = study::bestCut(*curve_, minGrade, fmt_);
  charts_.setBest(*best_);
  startBootstrap();
}

void SortabilityWindow::startBootstrap() {
  bootSettings_ = {};
  bootSettings_.minGrade = minGrade_;
  bootState_ = BootState::Running;
  ProgressBootstrap->setValue(0);
  PanelBootstrap->show();
  showBest();
  bootTask_->start([this, curve = curve_, best = *best_,
                    settings = bootSettings_](Progress& p) -> BackgroundTask::Continuation {
    const study::BootstrapResult boot = study::bootstrapBestCut(*curve, best, settings, p);
    return [this, boot] {
      boot_ = boot;
      bootState_ = BootState::Done;
      PanelBootstrap->hide();
      showBest();
      emit bootstrapDone();
    };
  });
}

void SortabilityWindow::stopBootstrap(BootState state) {
  if (bootState_ != BootState::Running) return;
  bootTask_->cancel();
  bootState_ = state;
  PanelBootstrap->hide();
  if (best_) showBest();
}

void SortabilityWindow::showPockets() {
  // The results grid may hold an analysis of lumps loaded before these: its cuts would lie off
  // the curves.
  const bool analysed = ws_.AnalysedDataSet != 0;
  const bool current = analysed && ws_.AnalysedDataSet == ws_.LumpDataSet;
  const std::vector<study::PocketCut> pockets =
      current && pocketCuts_ ? pocketCuts_() : std::vector<study::PocketCut>{};
  charts_.setPockets(pockets);
  LabelPockets->setText(
      !pockets.empty() ? "Границы карманов последнего расчета отмечены точками: " +
                             QString::number(pockets.size())
      : analysed && !current
          ? "Границы карманов: последний расчет по карманам сделан по другим исходным данным"
          : "Границы карманов: расчета по карманам нет");
  charts_.draw(ChartCurves, ChartGrade);
}

void SortabilityWindow::showBest() {
  if (!best_) return;
  // The figures at the precision of the calculation dialog, once one is chosen.
  std::optional<long double> factor;
  if (isKnownPrecision(ws_.PrecisionText)) factor = scaleFactor(ws_.PrecisionText);
  study::BootstrapResult boot = boot_;
  if (bootState_ != BootState::Done) {
    boot = {};
    boot.resamples = bootSettings_.resamples;
  }
  auto rows = study::bestCutRows(*best_, boot, bootSettings_.seed, fmt_, factor);
  if (bootState_ != BootState::Done)
    for (std::size_t r = study::kBestCutBootstrapRowsFrom; r < rows.size(); ++r)
      rows[r].second = bootState_ == BootState::Running ? kPending : kStopped;
  GridBest->setRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    GridBest->setCell(0, static_cast<int>(r) + 1, rows[r].first);
    GridBest->setCell(1, static_cast<int>(r) + 1, rows[r].second);
  }
  fitBestRows();
}

void SortabilityWindow::fitBestRows() {
  // Each row as high as its wrapped label or value needs.
  GridBest->resizeRowsToContents();
  QHeaderView* labels = GridBest->verticalHeader();
  const QFontMetrics fm(labels->font());
  const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, labels) + 4;
  for (int r = 1; r < GridBest->rowCount(); ++r) {
    const QRect box =
        fm.boundingRect(QRect(0, 0, labels->width() - margin, 10000), Qt::TextWordWrap,
                        QString::fromStdString(GridBest->cell(0, r)));
    const int h = std::max(GridBest->rowHeight(r), box.height() + margin);
    if (h != GridBest->rowHeight(r)) GridBest->setRowHeight(r, h);
  }
}

void SortabilityWindow::clearBest() {
  GridBest->setRowCount(1);
  charts_.clearBest();
}

void SortabilityWindow::resizeEvent(QResizeEvent* e) {
  Form::resizeEvent(e);
  charts_.draw(ChartCurves, ChartGrade);
}

void SortabilityWindow::hideEvent(QHideEvent* e) {
  // Closing the window stops the resamples; opening it again starts them anew.
  stopBootstrap(BootState::None);
  Form::hideEvent(e);
}

std::string SortabilityWindow::chooseSaveFile() {
  if (chooser_) return chooser_();
  return chooseTableFile(this, "кривые обогатимости.xlsx");
}

void SortabilityWindow::ButtonSaveClick() {
  if (!curve_) return;
  const std::string path = chooseSaveFile();
  if (path.empty()) return;
  ProgressSave->setValue(0);
  PanelSave->show();
  // The file is replaced only when the whole table is written: a stop leaves it as it was.
  saveTask_->start(
      [curve = curve_, &fmt = fmt_, path](Progress& p) -> BackgroundTask::Continuation {
        study::saveSortabilityCurve(*curve, fmt, path, p);
        return {};
      });
}

}  // namespace ore::gui
