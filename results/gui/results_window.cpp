#include "results/gui/results_window.h"

#include "data/errors.h"
#include "results/report_export.h"
#include "results/results_header.h"

namespace ore::gui {

namespace {
QRadioButton* radio(const char* name, const QString& caption, QWidget* parent, int top) {
  auto* b = new QRadioButton(caption, parent);
  b->setObjectName(name);
  b->setGeometry(8, top, 188, 21);
  return b;
}
}  // namespace

TForm4::TForm4(WindowContext& ctx)
    : Form("TForm4", "Результат", 984, 437), ctx_(ctx), timerErrors_(ctx.errors) {
  StringGrid1 = new StringGrid(client());
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setGeometry(8, 8, 753, 353);
  // The designed grid until an analysis lays it out. The header row is two lines high and wraps,
  // so that "Содержание, %  №= 1" shows whole in a column of moderate width.
  StringGrid1->setColCount(5);
  StringGrid1->setRowCount(5);
  StringGrid1->setDefaultColWidth(100);
  StringGrid1->setHeaderWordWrap(true);
  StringGrid1->setRowHeight(0, 36);
  Label1 = new QLabel(client());
  Label1->setObjectName("Label1");
  Label1->setGeometry(8, 372, 753, 21);
  Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LabelNotes = new QLabel(client());
  LabelNotes->setObjectName("LabelNotes");
  LabelNotes->setGeometry(8, 394, 753, 36);
  LabelNotes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  LabelNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  LabelNotes->hide();

  GroupBox1 = new QGroupBox("Запись в excel", client());
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(772, 8, 204, 113);
  RadioButton6 = radio("RadioButton6", "в отдельный файл excel", GroupBox1, 20);
  RadioButton6->setChecked(true);
  RadioButton5 = radio("RadioButton5", "в один файл excel", GroupBox1, 44);
  Button4 = new QPushButton("Записать в Excel", GroupBox1);
  Button4->setObjectName("Button4");
  Button4->setGeometry(8, 76, 188, 25);

  GroupBox2 = new QGroupBox("График", client());
  GroupBox2->setObjectName("GroupBox2");
  GroupBox2->setGeometry(772, 132, 204, 149);
  RadioButton3 = radio("RadioButton3", "Показывать график  №4", GroupBox2, 20);
  RadioButton3->setChecked(true);
  RadioButton4 = radio("RadioButton4", "Не показывать график №4", GroupBox2, 44);
  Edit1 = new QLineEdit("2", GroupBox2);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(8, 76, 25, 21);
  Label2 = new QLabel("номер точки - обозначения", GroupBox2);
  Label2->setObjectName("Label2");
  Label2->setGeometry(38, 76, 164, 21);
  Button1 = new QPushButton("Построить График", GroupBox2);
  Button1->setObjectName("Button1");
  Button1->setGeometry(8, 112, 188, 25);

  Button2 = new QPushButton("Выход", client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(901, 400, 75, 25);

  // The grid takes what the window grows by; the labels stay under it, the groups and "Выход"
  // at its right.
  anchor(StringGrid1, kAnchorAll);
  anchor(Label1, AnchorLeft | AnchorRight | AnchorBottom);
  anchor(LabelNotes, AnchorLeft | AnchorRight | AnchorBottom);
  anchor(GroupBox1, AnchorRight | AnchorTop);
  anchor(GroupBox2, AnchorRight | AnchorTop);
  anchor(Button2, AnchorRight | AnchorBottom);

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(100);

  // FormCreate
  ctx_.ws.ShowGraph4 = ShowGraph4::Show;
  ctx_.ws.ReportMode = ReportMode::SeparateWorkbook;
  Label1->hide();

  auto on = [this](QAbstractButton* b, void (TForm4::*handler)()) {
    connect(b, &QAbstractButton::clicked, this,
            [this, handler] { ctx_.guard([this, handler] { (this->*handler)(); }); });
  };
  on(RadioButton3, &TForm4::RadioButton1Click);
  on(RadioButton4, &TForm4::RadioButton2Click);
  on(RadioButton6, &TForm4::RadioButton6Click);
  on(RadioButton5, &TForm4::RadioButton5Click);
  on(Button4, &TForm4::Button1Click);
  on(Button1, &TForm4::Button3Click);
  on(Button2, &TForm4::Button2Click);
  connect(Timer1, &QTimer::timeout, this, [this] { timerErrors_.run([this] { Timer1Timer(); }); });
  Timer1->start();
}

void TForm4::Timer1Timer() {
  // The header is written into a scratch row and only the cells that differ are stored: a write
  // repaints the grid, and a repaint every tick would reset a body cell the user is typing into.
  TextGrid& grid = resultsGrid();
  TextGrid header(grid.colCount(), 1);
  results::writeResultsHeader(header, ctx_.ws.ContentCount);
  for (int c = 0; c < header.colCount(); ++c) {
    const std::string& text = header.cell(c, 0);
    if (!text.empty() && grid.cell(c, 0) != text) grid.setCell(c, 0, text);
  }
}

void TForm4::RadioButton1Click() {
  ctx_.ws.ShowGraph4 = ShowGraph4::Show;
}

void TForm4::RadioButton2Click() {
  ctx_.ws.ShowGraph4 = ShowGraph4::Hide;
}

void TForm4::RadioButton6Click() {
  ctx_.ws.ReportMode = ReportMode::SeparateWorkbook;
}

void TForm4::RadioButton5Click() {
  ctx_.ws.ReportMode = ReportMode::SameWorkbook;
}

void TForm4::Button1Click() {
  report::exportReport(ctx_.ws, StringGrid1->grid(), ctx_.fmt, ReportRowOffset,
                       [this] { return ctx_.createObject("excel.application"); });
}

void TForm4::Button2Click() {
  hide();
}

void TForm4::Button3Click() {
  emit diagramRequested();
}

}  // namespace ore::gui
