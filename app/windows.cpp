#include "app/windows.h"

#include <QAction>

#include "analysis/gui/pocket_window.h"
#include "analysis/lump_checks.h"
#include "app/main_window.h"
#include "app/results_windows_view.h"
#include "data/results_layout.h"
#include "graph/gui/graph_window.h"
#include "import/gui/import_dialog.h"
#include "platform/gui/report_bridge.h"
#include "platform/gui/report_window.h"
#include "platform/gui/show_in_front.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "study/gui/sensor_panel.h"
#include "study/gui/sortability_window.h"
#include "study/gui/study_window.h"
#include "study/gui/value_panel.h"
#include "study/pocket_cuts.h"

namespace ore::gui {

Windows::Windows(AppContext& ctx) : ctx_(ctx) {
  form1_ = std::make_unique<TForm1>(ctx);
  ctx.Form1 = form1_.get();
  form2_ = std::make_unique<TForm2>(ctx);
  ctx.Form2 = form2_.get();
  form3_ = std::make_unique<TForm3>(ctx);
  ctx.Form3 = form3_.get();
  form4_ = std::make_unique<TForm4>(ctx);
  ctx.Form4 = form4_.get();
  form5_ = std::make_unique<TForm5>(ctx);
  ctx.Form5 = form5_.get();
  form6_ = std::make_unique<TForm6>(ctx);
  ctx.Form6 = form6_.get();
  form7_ = std::make_unique<TForm7>(ctx);
  ctx.Form7 = form7_.get();
  form8_ = std::make_unique<TForm8>(ctx);
  ctx.Form8 = form8_.get();

  // The diagram paints from the results window's grid and its point-number edit.
  TForm4* results = form4_.get();
  form8_->setResultsSource([results]() -> const TextGrid& { return results->resultsGrid(); },
                           [results] { return results->Edit1->text().toStdString(); });
  form5_->setYieldSource([results](int pocket) {
    return results->resultsGrid().cell(ResultsLayout::pocketYield(), pocket);
  });
  reports_ = std::make_unique<ReportWindows>(ctx.errors, ctx.fmt);
  ctx.createObject = reports_->objectFactory();

  TForm1* main = form1_.get();
  TForm2* calcParams = form2_.get();
  TForm3* pockets = form3_.get();
  TForm6* import = form6_.get();
  TForm7* distribution = form7_.get();
  TForm8* graph = form8_.get();
  QObject::connect(main, &TForm1::openSourceDataRequested, import,
                   [import] { showInFront(import); });
  QObject::connect(main, &TForm1::distributionRequested, distribution,
                   [distribution] { showInFront(distribution); });
  main->setCloseCheck([reports = reports_.get()] { return reports->confirmCloseAll(); });
  import->setSourceWindow(main);
  QObject::connect(distribution, &TForm7::accepted, calcParams,
                   [calcParams] { showInFront(calcParams); });
  calcParams->setPocketWindow(pockets, pockets->StringGrid1);
  resultsView_ = std::make_unique<ResultsWindowsView>(*results, *form5_);
  pockets->setResultsTarget(resultsView_.get(), &results->resultsGrid());
  QObject::connect(pockets, &TForm3::cancelled, calcParams,
                   [calcParams] { showInFront(calcParams); });
  QObject::connect(results, &TForm4::diagramRequested, graph, &TForm8::showDiagram);

  // The sortability window marks the pocket cuts of the results grid's last analysis.
  Workspace& ws = ctx.ws;
  const NumberFormat& fmt = ctx.fmt;
  sortability_ = std::make_unique<SortabilityWindow>(
      ws, fmt, ctx.errors,
      [results, &ws, &fmt] {
        return study::readPocketCuts(results->resultsGrid(), ws.PocketCount, ws.ContentCount, fmt);
      },
      ctx.choosePictureFile);
  SortabilityWindow* sortability = sortability_.get();
  QObject::connect(form1_->NSortability, &QAction::triggered, sortability, [&ctx, sortability] {
    ctx.guard([&ctx, sortability] {
      // Refused before the window shows, so that no empty window is left open.
      analysis::checkLumpsLoaded(ctx.ws);
      sortability->open();
    });
  });

  // The study window's tabs: the sensor against the assay computes whenever the window opens.
  study_ = std::make_unique<StudyWindow>();
  StudyWindow* study = study_.get();
  auto* sensor = new SensorPanel(ws, fmt, ctx.errors, ctx.choosePictureFile);
  study->addTab(sensor, "Датчик и анализ");
  QObject::connect(study, &StudyWindow::opened, sensor,
                   [&ctx, sensor] { ctx.guard([sensor] { sensor->ButtonComputeClick(); }); });
  QObject::connect(study, &StudyWindow::closed, sensor, &SensorPanel::ButtonCancelClick);
  QObject::connect(form1_->NStudy, &QAction::triggered, study, [&ctx, study] {
    ctx.guard([&ctx, study] {
      analysis::checkLumpsLoaded(ctx.ws);
      study->open();
    });
  });
  // The value of a cut: its inputs live in the panel's fields as long as the window does, the
  // program's run; each opening shows a row for every content loaded.
  auto* value = new ValuePanel(ws, fmt, ctx.errors, ctx.choosePictureFile);
  study->addTab(value, "Стоимость границы");
  QObject::connect(study, &StudyWindow::opened, value, &ValuePanel::showContents);
  QObject::connect(study, &StudyWindow::closed, value, &ValuePanel::ButtonCancelClick);
}

// Destroyed in reverse order of creation; timers stop with their windows.
Windows::~Windows() {
  study_.reset();
  sortability_.reset();
  ctx_.createObject = automation::createObject;  // the report windows' factory goes with them
  reports_.reset();
  resultsView_.reset();
  form8_.reset();
  form7_.reset();
  form6_.reset();
  form5_.reset();
  form4_.reset();
  form3_.reset();
  form2_.reset();
  form1_.reset();
}

}  // namespace ore::gui
