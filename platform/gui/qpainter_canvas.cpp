#include "platform/gui/qpainter_canvas.h"

#include <QFontMetrics>

#include "graph/diagram_font.h"
#include "graph/raster.h"

namespace ore::gui {

namespace {

QColor qcolor(graph::Rgb c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace

QFont QPainterCanvas::diagramFont() {
  QFont f(QString::fromLatin1(graph::font::kFamily));
  f.setPixelSize(graph::font::kPixelSize);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setKerning(false);
  return f;
}

QPainterCanvas::QPainterCanvas(QImage& image) : image_(image), painter_(&image) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setFont(diagramFont());
  setPenColor(graph::kBlack);
}

void QPainterCanvas::setPenColor(graph::Rgb c) {
  pen_ = qcolor(c);
  painter_.setPen(QPen(pen_, 1, Qt::SolidLine, Qt::FlatCap));
}

void QPainterCanvas::line(int x1, int y1, int x2, int y2) {
  if (!graph::normalizedLine(x1, y1, x2, y2)) return;
  // QPainter cuts a line that reaches beyond the image in floating point before it steps along
  // it, which moves the pixels of the visible part; such lines take the common rule's pixels.
  auto near = [](int v, int size) { return v >= -1 && v <= size + 1; };
  if (near(x1, width()) && near(x2, width()) && near(y1, height()) && near(y2, height())) {
    painter_.drawLine(x1, y1, x2, y2);
  } else {
    fillRuns(graph::linePixels(x1, y1, x2, y2, width(), height()), pen_);
  }
}

void QPainterCanvas::fillRuns(const std::vector<graph::PixelRun>& runs, const QColor& c) {
  for (const graph::PixelRun& r : runs) painter_.fillRect(QRect(r.x, r.y, r.len, 1), c);
}

void QPainterCanvas::ellipse(const graph::Rect& box) {
  graph::EllipseRuns runs = graph::ellipseRuns(box, width(), height());
  fillRuns(runs.inside, Qt::white);
  fillRuns(runs.outline, pen_);
}

void QPainterCanvas::textOut(int x, int y, std::string_view text) {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFontMetrics fm(painter_.font());
  painter_.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), Qt::white);
  const QPen pen = painter_.pen();
  painter_.setPen(Qt::black);
  painter_.drawText(x, y + fm.ascent(), s);
  painter_.setPen(pen);
}

void QPainterCanvas::stretchCopy(const graph::Picture& source, const graph::Rect& from,
                                 const graph::Rect& to) {
  const int n = to.width(), m = to.height();
  if (n <= 0 || m <= 0 || from.width() <= 0 || from.height() <= 0) return;
  // Pixel by pixel with the common sampling rule; QPainter's own scaling samples differently.
  for (int j = 0; j < m; ++j) {
    const int y = to.top + j;
    if (y < 0 || y >= height()) continue;
    const int sy = from.top + graph::stretchSource(j, m, from.height());
    for (int i = 0; i < n; ++i) {
      const int x = to.left + i;
      if (x < 0 || x >= width()) continue;
      const int sx = from.left + graph::stretchSource(i, n, from.width());
      if (source.contains(sx, sy))
        painter_.fillRect(QRect(x, y, 1, 1), qcolor(source.pixel(sx, sy)));
    }
  }
}

QImage toQImage(const graph::Picture& picture) {
  QImage img(picture.width(), picture.height(), QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      graph::Rgb c = picture.pixel(x, y);
      line[x] = qRgb(c.r, c.g, c.b);
    }
  }
  return img;
}

graph::Picture toPicture(const QImage& image) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  graph::Picture pic(img.width(), img.height());
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      pic.setPixel(x, y,
                   graph::Rgb{std::uint8_t(qRed(line[x])), std::uint8_t(qGreen(line[x])),
                              std::uint8_t(qBlue(line[x]))});
  }
  return pic;
}

}  // namespace ore::gui
