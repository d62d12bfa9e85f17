#include "import/gui/import_dialog.h"

#include <QApplication>
#include <QPainter>
#include <optional>

#include "data/errors.h"
#include "import/content_columns.h"
#include "import/workbook_import.h"
#include "platform/gui/busy_cursor.h"
#include "platform/gui/progress_dialog.h"

namespace ore::gui {

namespace {

QLineEdit* edit(QWidget* parent, const char* name, const char* text, int x, int y) {
  auto* e = new QLineEdit(QString::fromUtf8(text), parent);
  e->setObjectName(name);
  e->setGeometry(x, y, 73, 21);
  return e;
}

QLabel* label(QWidget* parent, const char* name, const char* text, int x, int y) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->move(x, y);
  l->adjustSize();
  return l;
}

// The windows the import works on: this dialog and the main window.
class DialogImportView : public ImportView {
 public:
  DialogImportView(TForm6& dialog, SourceWindow& main, ProgressDialog& progress)
      : dialog_(dialog), main_(main), progress_(progress) {}
  void drawDialogCaption(const std::string& text) override { dialog_.drawCaption(text); }
  std::string chooseFile() override {
    std::string file = main_.chooseFileToOpen();
    progress_.restartClock();  // the reading starts now, not when the dialog was pressed
    return file;
  }
  void showButton3() override { main_.showButton3(); }
  void hideDialog() override { dialog_.hide(); }
  void drawCountText(const std::string& text) override { main_.drawCountText(text); }
  TextGrid& sourceGrid() override { return main_.sourceGrid(); }
  void showGroup() override { main_.showGroupBox1(); }
  void setBusy(bool on) override {
    if (on)
      busy_.emplace();
    else
      busy_.reset();
  }

 private:
  std::optional<BusyCursor> busy_;  // also gone when a failing import leaves the view
  TForm6& dialog_;
  SourceWindow& main_;
  ProgressDialog& progress_;
};

}  // namespace

TForm6::TForm6(WindowContext& ctx)
    : Form("TForm6", "Загрузка файла", 599, 353), ctx_(ctx), tickErrors_(countMark_) {
  GroupBox1 = new QGroupBox("Номера столбцов загружаемого файла", this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(16, 8, 369, 153);
  // The group is a control of its own over the dialog's surface: what the import draws on that
  // surface at (30, 45) stays under it instead of showing through between the edits.
  GroupBox1->setAutoFillBackground(true);
  Edit1 = edit(GroupBox1, "Edit1", "B", 16, 24);
  Label1 = label(GroupBox1, "Label1", "Масса куска", 96, 24);
  Edit2 = edit(GroupBox1, "Edit2", "C", 16, 48);
  Label2 = label(GroupBox1, "Label2", "Содержание элемента (1-ого)", 96, 48);
  Edit3 = edit(GroupBox1, "Edit3", "D", 16, 72);
  Label3 = label(GroupBox1, "Label3", "Параметр или содержание второго элемента", 96, 72);
  Edit6 = edit(GroupBox1, "Edit6", "1", 16, 112);
  Label6 = label(GroupBox1, "Label6", "Количество (содержаний)", 96, 112);
  Edit4 = edit(this, "Edit4", "2", 24, 184);
  Label4 = label(this, "Label4", "Номер строки начала чтения файла", 112, 192);
  Edit5 = edit(this, "Edit5", "1", 24, 216);
  Label5 = label(this, "Label5", "Номер листа Excel", 112, 216);
  RadioButton2 = new QRadioButton("Расчет карманов по параметру", this);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton2->setGeometry(16, 256, 329, 17);
  RadioButton1 = new QRadioButton("Расчет карманов по концентрации (1-ый столбец)", this);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setGeometry(16, 288, 361, 17);
  RadioButton1->setChecked(true);
  GroupBox2 = new QGroupBox("Параметры столбцов", this);
  GroupBox2->setObjectName("GroupBox2");
  GroupBox2->setGeometry(400, 16, 177, 209);
  StringGrid1 = new StringGrid(GroupBox2);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setGeometry(8, 24, 153, 169);
  Button2 = new QPushButton("Отмена", this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(392, 280, 75, 25);
  Button1 = new QPushButton("Ok>>>", this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(480, 280, 75, 25);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
  StatusLine = new QLabel(this);
  StatusLine->setObjectName("StatusLine");
  StatusLine->setGeometry(16, 322, 567, 21);
  StatusLine->setStyleSheet(QStringLiteral("color: #d00000;"));
  countMark_.setTargets(Edit6, StatusLine);

  // FormCreate
  ctx_.ws.PocketBasis = PocketBasis::ByContent;
  StringGrid1->setColCount(2);
  StringGrid1->setRowCount(2);
  Edit3->hide();
  Label3->hide();

  connect(RadioButton1, &QRadioButton::clicked, this,
          [this] { ctx_.guard([this] { RadioButton1Click(); }); });
  connect(RadioButton2, &QRadioButton::clicked, this,
          [this] { ctx_.guard([this] { RadioButton2Click(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1->start();
}

void TForm6::RadioButton1Click() {
  Edit3->hide();
  Label3->hide();
  ctx_.ws.PocketBasis = PocketBasis::ByContent;
}

void TForm6::RadioButton2Click() {
  Edit3->show();
  Label3->show();
  ctx_.ws.PocketBasis = PocketBasis::ByParam;
}

void TForm6::Button1Click() {
  ImportTexts texts;
  texts.massColumn = Edit1->text().toStdString();
  texts.contentColumn = Edit2->text().toStdString();
  texts.paramColumn = Edit3->text().toStdString();
  texts.startRow = Edit4->text().toStdString();
  texts.sheet = Edit5->text().toStdString();
  if (!sourceWindow_) throw Error("Главное окно не подключено к загрузке");
  // The reading blocks, as the handler does, but paints its progress past a second.
  ProgressDialog progress(this, QStringLiteral("Чтение исходных данных…"));
  DialogImportView view(*this, *sourceWindow_, progress);
  try {
    importWorkbook(texts, ctx_.ws, ctx_.fmt, view, progress, ctx_.createObject);
  } catch (const WorkStopped&) {
    // The user's own "Отмена": the data set stays as it was, unannounced.
  }
}

void TForm6::Button2Click() {
  hide();
}

void TForm6::Timer1Timer() {
  // The same failure every second would bury the user in boxes, and a box would take the focus
  // from the field being typed in: each distinct failure is shown once, at the field.
  bool done = false;
  tickErrors_.run([this, &done] {
    updateContentColumns(Edit6->text().toStdString(), StringGrid1->grid(), ctx_.ws, ctx_.fmt);
    done = true;
  });
  if (done) countMark_.clear();
}

void TForm6::drawCaption(const std::string& text) {
  caption_ = QString::fromStdString(text);
  update();
}

void TForm6::paintEvent(QPaintEvent* e) {
  Form::paintEvent(e);
  if (caption_.isEmpty()) return;
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  p.setBackgroundMode(Qt::OpaqueMode);
  p.setBackground(palette().brush(QPalette::Window));
  // (30, 45) is the text's top-left corner, as the windowing system draws texts.
  p.drawText(QRect(30, 45, width() - 30, fontMetrics().height()), Qt::AlignLeft | Qt::AlignTop,
             caption_);
}

}  // namespace ore::gui
