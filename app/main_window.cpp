#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QPainter>

#include "import/source_read_back.h"
#include "platform/gui/group_client.h"

namespace ore::gui {

namespace {
// The client area: it paints the count text straight onto its surface.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(QString& text) : text_(text) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (text_.isEmpty()) return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    // (10, 15) is the text's top-left corner, as the windowing system draws texts.
    p.drawText(QRect(10, 15, width() - 10, fontMetrics().height()), Qt::AlignLeft | Qt::AlignTop,
               text_);
  }

 private:
  QString& text_;
};
}  // namespace

TForm1::TForm1(WindowContext& ctx) : ctx_(ctx) {
  setObjectName("TForm1");
  setWindowTitle("Программа");

  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  QMenu* n1 = bar->addMenu("Файл");
  n1->setObjectName("N1");
  N2 = n1->addAction("Открыть исходные данные");
  N2->setObjectName("N2");
  N5 = n1->addAction("Выход");
  N5->setObjectName("N5");
  QMenu* n6 = bar->addMenu("Действия");
  n6->setObjectName("N6");
  N7 = n6->addAction("Перевести данные");
  N7->setObjectName("N7");
  QMenu* analysis = bar->addMenu("Анализ");
  analysis->setObjectName("NAnalysis");
  NSortability = analysis->addAction("Кривые обогатимости по кускам");
  NSortability->setObjectName("NSortability");
  NStudy = analysis->addAction("Исследование сортировки");
  NStudy->setObjectName("NStudy");

  client_ = new ClientArea(countText_);
  setCentralWidget(client_);
  resize(743, 403);

  GroupBox1 = new QGroupBox("Исходные данные", client_);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(408, 8, 313, 321);
  StringGrid1 = new StringGrid(GroupBox1);
  StringGrid1->setObjectName("StringGrid1");
  StringGrid1->setGeometry(8, 16, 297, 297);
  StringGrid1->setColCount(5);  // the designed grid, until an import lays it out
  StringGrid1->setRowCount(5);
  Button3 = new QPushButton("Перевести данные", client_);
  Button3->setObjectName("Button3");
  Button3->setGeometry(272, 24, 129, 25);

  keepInClientArea(GroupBox1);

  // FormCreate
  GroupBox1->hide();
  Button3->hide();

  connect(N2, &QAction::triggered, this, [this] { ctx_.guard([this] { N2Click(); }); });
  connect(N5, &QAction::triggered, this, [this] { ctx_.guard([this] { N5Click(); }); });
  connect(N7, &QAction::triggered, this, [this] { ctx_.guard([this] { N7Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button3Click(); }); });
}

void TForm1::drawCountText(const std::string& text) {
  countText_ = QString::fromStdString(text);
  client_->update();
}

std::string TForm1::chooseFileToOpen() {
  if (chooser_) return chooser_();
  return OpenDialog1.choose(this).toStdString();
}

void TForm1::N2Click() {
  emit openSourceDataRequested();
}

void TForm1::N5Click() {
  close();
}

void TForm1::N7Click() {
  emit distributionRequested();
}

void TForm1::Button3Click() {
  readBackSourceGrid(StringGrid1->grid(), ctx_.fmt, ctx_.ws);
  emit distributionRequested();
}

void TForm1::closeEvent(QCloseEvent* e) {
  // Closing the main window ends the program, whatever else is open; unsaved reports are asked
  // about first, so that nothing is lost.
  if (closeCheck_ && !closeCheck_()) {
    e->ignore();
    return;
  }
  e->accept();
  QApplication::quit();
}

}  // namespace ore::gui
