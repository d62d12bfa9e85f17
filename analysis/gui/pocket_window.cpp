#include "analysis/gui/pocket_window.h"

#include "analysis/lump_checks.h"
#include "data/errors.h"
#include "platform/gui/busy_cursor.h"

namespace ore::gui {

TForm3::TForm3(WindowContext& ctx)
    : Form("TForm3", "Параметры расчета 2", 345, 468),
      ctx_(ctx),
      runner_(analysis::runFractionAnalysis) {
  GroupBox1 = new QGroupBox("параметры карманов", client());
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(16, 8, 305, 377);
  StringGrid1 = new StringGrid(GroupBox1);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setGeometry(16, 16, 265, 289);
  Button1 = new QPushButton("Далее", client());
  Button1->setObjectName("Button1");
  Button1->setGeometry(240, 400, 75, 25);
  Button2 = new QPushButton("<<< Отмена", client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(152, 400, 75, 25);

  // The table grows with the window, the buttons stay under it at its right.
  anchor(GroupBox1, kAnchorAll);
  anchor(StringGrid1, kAnchorAll);
  anchor(Button1, AnchorRight | AnchorBottom);
  anchor(Button2, AnchorRight | AnchorBottom);

  // FormCreate: the limits are typed cell by cell; Tab leaves the table.
  StringGrid1->setDefaultRowHeight(24);
  StringGrid1->setTabKeyNavigation(false);

  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
}

void TForm3::Button1Click() {
  if (!resultsView_ || !results_) throw Error("Окна результатов не подключены к расчету");
  // Without lumps a run would only show zeros and the index's starting value.
  analysis::checkLumpsLoaded(ctx_.ws);
  BusyCursor busy;
  ProgressDialog progress(this, QStringLiteral("Расчет фракционного состава…"), progressTiming_);
  try {
    runner_(ctx_.ws, StringGrid1->grid(), *results_, ctx_.fmt, *resultsView_, &progress);
  } catch (const WorkStopped&) {
    // The user's own "Отмена": what the run had written stays, as after a failure, unannounced.
  }
}

void TForm3::Button2Click() {
  emit cancelled();
  hide();
}

}  // namespace ore::gui
