#include "study/gui/value_panel.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "platform/gui/background_task.h"
#include "platform/gui/busy_cursor.h"
#include "platform/gui/figures_grid.h"
#include "platform/gui/run_controls.h"
#include "platform/gui/table_file_dialog.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/value_entries.h"
#include "study/value_table.h"

namespace ore::gui {

struct ValuePanel::Shown {
  std::shared_ptr<const study::SortabilityCurve> curve;
  study::ValueInputs inputs;
  std::vector<std::pair<std::string, std::string>> rows;
  ValueDrawing drawing;
};

namespace {

QLineEdit* field(const QString& name, const QString& placeholder) {
  auto* e = new QLineEdit;
  e->setObjectName(name);
  e->setPlaceholderText(placeholder);
  return e;
}

// What the study reads of the lumps, copied: the worker must not see a later import's arrays.
std::shared_ptr<const Workspace> lumpsOf(const Workspace& ws) {
  auto copy = std::make_shared<Workspace>();
  copy->LumpCount = ws.LumpCount;
  copy->ContentCount = ws.ContentCount;
  copy->DistributionKind = ws.DistributionKind;
  copy->Mass = ws.Mass;
  copy->Content = ws.Content;
  copy->Param = ws.Param;
  for (int k = 1; k < ws.ContentCount && k < kMaxContentCount; ++k)
    copy->ExtraContents[k] = ws.ExtraContents[k];
  return copy;
}

}  // namespace

ValuePanel::ValuePanel(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
                       const PictureFileChooser& choosePicture, QWidget* parent)
    : QWidget(parent), ws_(ws), fmt_(fmt), errors_(errors) {
  setObjectName("ValuePanel");
  task_ = new BackgroundTask(this);

  ChartValue = new QChartView(chart_.chart());
  ChartValue->setObjectName("ChartValue");
  ChartValue->setRenderHint(QPainter::Antialiasing);
  addChartViewSaveMenu(ChartValue, chart_.chart()->title(), errors_, choosePicture);

  auto* elements = new QGridLayout;
  int column = 0;
  for (const char* text : {"Элемент", "Цена тонны элемента", "Извлечение на фабрике, %",
                           "Наибольшее содержание в концентрате, %"}) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    elements->addWidget(l, 0, column++);
  }
  for (int k = 1; k <= study::kMaxSortabilityContents; ++k) {
    const QString n = QString::number(k);
    LabelElement[k] = new QLabel("№= " + n);
    LabelElement[k]->setObjectName("LabelElement" + n);
    EditPrice[k] = field("EditPrice" + n, "0");
    EditRecovery[k] = field("EditRecovery" + n, "100");
    EditMaxContent[k] = field("EditMaxContent" + n, "нет");
    for (QLineEdit* e : {EditPrice[k], EditRecovery[k], EditMaxContent[k]}) e->setMaximumWidth(130);
    elements->addWidget(LabelElement[k], k, 0);
    elements->addWidget(EditPrice[k], k, 1);
    elements->addWidget(EditRecovery[k], k, 2);
    elements->addWidget(EditMaxContent[k], k, 3);
  }
  auto* elementBox = new QGroupBox("Цены и извлечение");
  elementBox->setLayout(elements);

  EditCostProcess = field("EditCostProcess", "0");
  EditCostReject = field("EditCostReject", "0");
  EditCostSort = field("EditCostSort", "0");
  EditMinGrade = field("EditMinGrade", "нет");
  EditMinRecovery = field("EditMinRecovery", "нет");
  EditMaxYield = field("EditMaxYield", "нет");
  auto* costs = new QGridLayout;
  const std::pair<const char*, QLineEdit*> costRows[] = {
      {"Переработка тонны концентрата", EditCostProcess},
      {"Тонна отвальных хвостов", EditCostReject},
      {"Сортировка тонны питания", EditCostSort},
  };
  int r = 0;
  for (const auto& [text, edit] : costRows) {
    auto* l = new QLabel(text);
    l->setBuddy(edit);
    edit->setMaximumWidth(130);
    costs->addWidget(l, r, 0);
    costs->addWidget(edit, r++, 1);
  }
  auto* costBox = new QGroupBox("Затраты на тонну");
  costBox->setLayout(costs);
  auto* limits = new QGridLayout;
  const std::pair<const char*, QLineEdit*> limitRows[] = {
      {"Наименьшее содержание в концентрате, %  №= 1", EditMinGrade},
      {"Наименьшее извлечение в концентрат, %  №= 1", EditMinRecovery},
      {"Наибольший выход концентрата, %", EditMaxYield},
  };
  r = 0;
  for (const auto& [text, edit] : limitRows) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    l->setBuddy(edit);
    edit->setMaximumWidth(130);
    limits->addWidget(l, r, 0);
    limits->addWidget(edit, r++, 1);
  }
  auto* limitBox = new QGroupBox("Ограничения на концентрат");
  limitBox->setLayout(limits);

  run_ = std::make_unique<RunControls>(*task_, this, errors_);
  ButtonCompute = run_->ButtonCompute;
  GridFigures = newFiguresGrid("GridFigures", 330);
  ButtonSave = new QPushButton("Сохранить таблицу…");
  ButtonSave->setObjectName("ButtonSave");
  ButtonSave->setEnabled(false);

  auto* side = new QVBoxLayout;
  side->addWidget(elementBox);
  side->addWidget(costBox);
  side->addWidget(limitBox);
  run_->addTo(side);
  side->addWidget(GridFigures, 1);
  auto* save = new QHBoxLayout;
  save->addWidget(ButtonSave);
  save->addStretch(1);
  side->addLayout(save);
  auto* sideBox = new QWidget;
  sideBox->setObjectName("PanelInputs");
  sideBox->setLayout(side);
  // Ten elements do not fit every screen: the inputs scroll, the chart keeps its room.
  auto* scroll = new QScrollArea;
  scroll->setObjectName("ScrollInputs");
  scroll->setWidget(sideBox);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setFixedWidth(560);

  auto* top = new QHBoxLayout(this);
  top->addWidget(ChartValue, 1);
  top->addWidget(scroll);

  auto guard = [this](void (ValuePanel::*handler)()) {
    return [this, handler] { guarded(errors_, [this, handler] { (this->*handler)(); }); };
  };
  connect(ButtonCompute, &QPushButton::clicked, this, guard(&ValuePanel::ButtonComputeClick));
  connect(run_->ButtonCancel, &QPushButton::clicked, this, guard(&ValuePanel::ButtonCancelClick));
  connect(ButtonSave, &QPushButton::clicked, this, guard(&ValuePanel::ButtonSaveClick));
  for (QLineEdit* e : findChildren<QLineEdit*>())
    connect(e, &QLineEdit::returnPressed, this, guard(&ValuePanel::ButtonComputeClick));
  showContents();
}

// The task joins its threads before the panel's members go.
ValuePanel::~ValuePanel() {
  delete task_;
}

bool ValuePanel::computing() const {
  return task_->running();
}

void ValuePanel::showContents() {
  const int C = std::max(ws_.ContentCount, 1);
  for (int k = 1; k <= study::kMaxSortabilityContents; ++k)
    for (QWidget* w : std::initializer_list<QWidget*>{LabelElement[k], EditPrice[k],
                                                      EditRecovery[k], EditMaxContent[k]})
      w->setVisible(k <= C);
}

void ValuePanel::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  showContents();
}

void ValuePanel::ButtonComputeClick() {
  showContents();
  study::ValueTexts texts;
  for (int k = 1; k <= study::kMaxSortabilityContents; ++k) {
    texts.price[k] = EditPrice[k]->text().toStdString();
    texts.plantRecovery[k] = EditRecovery[k]->text().toStdString();
    texts.maxContent[k] = EditMaxContent[k]->text().toStdString();
  }
  texts.costProcess = EditCostProcess->text().toStdString();
  texts.costReject = EditCostReject->text().toStdString();
  texts.costSort = EditCostSort->text().toStdString();
  texts.minGrade = EditMinGrade->text().toStdString();
  texts.minRecovery = EditMinRecovery->text().toStdString();
  texts.maxYield = EditMaxYield->text().toStdString();
  study::ValueEntry entry;
  try {
    entry = study::readValueTexts(texts, ws_.ContentCount, fmt_);
  } catch (const study::ValueTextError& e) {
    if (auto* f = findChild<QLineEdit*>(QString::fromStdString(e.field()))) {
      f->setFocus();
      f->selectAll();
    }
    throw;
  }

  std::shared_ptr<const Workspace> lumps;
  {
    BusyCursor busy;
    lumps = lumpsOf(ws_);
  }
  clearResults();
  run_->started();
  const NumberFormat fmt = fmt_;
  task_->start([this, lumps, entry, fmt](Progress& progress) -> BackgroundTask::Continuation {
    auto shown = std::make_shared<Shown>();
    auto curve = std::make_shared<const study::SortabilityCurve>(*lumps, progress);
    const study::SortabilityCurve& cv = *curve;
    const study::ValueInputs& in = entry.inputs;
    const study::BestValueCut best = study::bestValueCut(cv, in, entry.limits, fmt);
    const study::BestCut byE = study::bestCut(cv, entry.limits, fmt);
    const study::BootstrapSettings settings;
    const study::ValueInterval interval = study::bootstrapCutValue(
        cv, best.cut, study::placeValues(cv, *lumps, in), in, settings, progress);
    shown->rows = study::bestValueRows(best, interval, fmt);
    const long double atE = study::cutValue(cv, in, byE.cut);
    shown->rows.push_back({"Лучшая граница по E", fmt.format(byE.figures.key)});
    shown->rows.push_back({"Стоимость тонны питания у лучшей границы по E", fmt.format(atE)});
    ValueDrawing& d = shown->drawing;
    d.key.resize(cv.cutCount());
    d.value.resize(cv.cutCount());
    for (std::size_t g = 0; g < cv.cutCount(); ++g) {
      d.key[g] = cv.key(g);
      d.value[g] = static_cast<double>(study::cutValue(cv, in, g));
    }
    d.withoutSorting = static_cast<double>(best.withoutSorting);
    d.bestKey = best.figures.key;
    d.bestValue = static_cast<double>(best.value);
    d.bestEKey = byE.figures.key;
    d.valueAtBestE = static_cast<double>(atE);
    d.kind = lumps->DistributionKind;
    shown->curve = std::move(curve);
    shown->inputs = in;
    return [this, shown = std::shared_ptr<const Shown>(std::move(shown))] { showResults(shown); };
  });
}

void ValuePanel::ButtonCancelClick() {
  run_->cancel();
}

void ValuePanel::clearResults() {
  shown_.reset();
  GridFigures->setRowCount(1);
  ButtonSave->setEnabled(false);
  chart_.clear();
}

void ValuePanel::showResults(std::shared_ptr<const Shown> shown) {
  shown_ = std::move(shown);
  const auto& rows = shown_->rows;
  GridFigures->setRowCount(static_cast<int>(rows.size()) + 1);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    GridFigures->setCell(0, static_cast<int>(r) + 1, rows[r].first);
    GridFigures->setCell(1, static_cast<int>(r) + 1, rows[r].second);
  }
  GridFigures->resizeRowsToContents();
  ButtonSave->setEnabled(true);
  run_->LabelStatus->clear();
  chart_.set(shown_->drawing);
  chart_.draw(ChartValue);
  emit computed();
}

void ValuePanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  chart_.draw(ChartValue);
}

std::string ValuePanel::chooseSaveFile() {
  if (chooser_) return chooser_();
  return chooseTableFile(this, "стоимость границы.xlsx");
}

void ValuePanel::ButtonSaveClick() {
  if (!shown_) return;
  const std::string path = chooseSaveFile();
  if (path.empty()) return;
  BusyCursor busy;
  study::saveValueCurve(*shown_->curve, shown_->inputs, fmt_, path);
}

}  // namespace ore::gui
