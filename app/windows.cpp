#include "app/windows.h"

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "graph/gui/graph_window.h"
#include "import/gui/import_dialog.h"
#include "platform/gui/report_bridge.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"

namespace ore::gui {

Windows::Windows(AppContext& ctx) {
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
  form5_->setYieldSource([results](int pocket) { return results->resultsGrid().cell(2, pocket); });
  reports_ = std::make_unique<ReportWindows>(ctx.errors, ctx.fmt);
}

// Destroyed in reverse order of creation; timers stop with their windows.
Windows::~Windows() {
  reports_.reset();
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
