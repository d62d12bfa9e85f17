#include "graph/gui/graph_window.h"

#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "data/errors.h"
#include "graph/bmp_file.h"
#include "graph/diagram_painter.h"
#include "graph/letters.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/qpainter_canvas.h"
#include "platform/gui/show_in_front.h"

namespace ore::gui {

namespace {

const QString kBmpFilter = QStringLiteral("*.bmp (*.bmp)");
const QString kPngFilter = QStringLiteral("*.png (*.png)");

// The PNG type names its files as picture programs do: NAME becomes NAME.png, a name already
// ending so is kept. (The bitmap type keeps the name exactly as chosen.)
std::string withPngEnding(const std::string& path) {
  if (QString::fromStdString(path).endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
    return path;
  return path + ".png";
}

}  // namespace

class DiagramArea : public QWidget {
 public:
  DiagramArea(TForm8& form, QWidget* parent) : QWidget(parent), form_(form) {
    // It covers itself whole, so its paints never ask the window beneath for one.
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    form_.FormPaint();
    QPainter p(this);
    p.drawImage(0, 0, form_.picture());
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) pressed_ = true;
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rect().contains(e->position().toPoint())) form_.diagramClicked();
  }

 private:
  TForm8& form_;
  bool pressed_ = false;
};

TForm8::TForm8(WindowContext& ctx)
    : Form("TForm8", "График", 681, 650), ctx_(ctx), paintErrors_(ctx.errors) {
  static const TextGrid kNoResults;
  grid_ = []() -> const TextGrid& { return kNoResults; };
  pointText_ = [] { return std::string("2"); };
  saveDialog_ = [this] { return runSaveDialog(); };

  // Designed position of the outer frame; the window system places it only after the first
  // click on the diagram.
  move(301, 40);

  Image1 = new DiagramArea(*this, client());
  Image1->setObjectName("Image1");
  Image1->setGeometry(8, 8, graph::kDiagramWidth, graph::kDiagramHeight);
  addImageSaveMenu(
      Image1, [this] { return picture_; }, ctx_.errors, ctx_.choosePictureFile);
  auto hiddenPicture = [this](const char* name) {
    auto* label = new QLabel(client());
    label->setObjectName(name);
    label->setGeometry(280, 288, 105, 105);
    return label;
  };
  Image2 = hiddenPicture("Image2");
  Image3 = hiddenPicture("Image3");
  Image4 = hiddenPicture("Image4");
  Image5 = hiddenPicture("Image5");
  Image6 = hiddenPicture("Image6");
  Image7 = hiddenPicture("Image7");
  Image8 = hiddenPicture("Image8");
  const std::pair<QLabel*, graph::Letter> letters[] = {
      {Image3, graph::Letter::Beta},  {Image4, graph::Letter::Lambda},
      {Image5, graph::Letter::Theta}, {Image6, graph::Letter::Epsilon},
      {Image7, graph::Letter::Alpha}, {Image8, graph::Letter::Gamma}};
  for (auto [label, letter] : letters)
    label->setPixmap(QPixmap::fromImage(toQImage(graph::letterPicture(letter))));

  Button1 = new QPushButton(QStringLiteral("Cохранит как"), client());  // Latin C
  Button1->setObjectName("Button1");
  Button1->setGeometry(464, 608, 91, 25);
  Button2 = new QPushButton(QStringLiteral("Выход"), client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(576, 608, 75, 25);
  setTabOrder(Button1, Button2);
  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });

  FormCreate();
}

void TForm8::setResultsSource(std::function<const TextGrid&()> grid,
                              std::function<std::string()> pointText) {
  grid_ = std::move(grid);
  pointText_ = std::move(pointText);
}

void TForm8::showDiagram() {
  showInFront(this);
  Image1->update();
}

void TForm8::FormCreate() {
  for (QLabel* l : {Image2, Image3, Image4, Image5, Image6, Image7, Image8}) l->hide();
  fields.fillSpanTables();
}

void TForm8::FormPaint() {
  if (picture_.isNull()) {
    picture_ = QImage(graph::kDiagramWidth, graph::kDiagramHeight, QImage::Format_RGB32);
    picture_.fill(Qt::white);
  }
  const std::string point = pointText_();
  if (!point.empty()) Image2->resize(126, 121);  // the stamping's scratch size
  std::string failure;
  {
    QPainterCanvas canvas(picture_);
    try {
      graph::paintDiagram(canvas, graph::DiagramSource{grid_(), ctx_.ws, point, ctx_.fmt}, fields);
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  if (failure.empty()) {
    paintErrors_.reset();
    return;
  }
  // The message box must not open inside a paint: it is shown right after, once per distinct
  // message however often the window repaints.
  QMetaObject::invokeMethod(
      this, [this, failure] { paintErrors_.run([&] { throw Error(failure); }); },
      Qt::QueuedConnection);
}

TForm8::SaveTarget TForm8::runSaveDialog() {
  QFileDialog dialog(this, QStringLiteral("Сохранить как"));
  dialog.setObjectName("SaveDialog1");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({kBmpFilter, kPngFilter});
  dialog.selectNameFilter(kBmpFilter);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return {dialog.selectedFiles().first().toStdString(), dialog.selectedNameFilter() == kPngFilter};
}

void TForm8::Button1Click() {
  const SaveTarget target = saveDialog_();
  if (target.path.empty()) return;
  if (picture_.isNull()) FormPaint();
  if (!target.png) {
    graph::writeBmp(target.path, toPicture(picture_));
    return;
  }
  writePng(picture_, withPngEnding(target.path));
}

void TForm8::Button2Click() {
  close();
}

void TForm8::diagramClicked() {
  ctx_.guard([this] { Image1Click(); });
}

void TForm8::Image1Click() {
  if (placedBySystem_) return;
  placedBySystem_ = true;
  // Re-created after this click's handling: the window system places the new window, keeping
  // its size, and it paints again.
  QMetaObject::invokeMethod(
      this, [this] { replaceWindow(); }, Qt::QueuedConnection);
}

void TForm8::replaceWindow() {
  const bool shown = isVisible();
  const QSize size = this->size();
  hide();
  destroy();
  setAttribute(Qt::WA_Moved, false);
  resize(size);
  if (shown) show();
}

}  // namespace ore::gui
