#pragma once
// The diagram's Canvas on a QImage: QPainter without anti-aliasing, a one-pixel flat-capped pen
// and the diagram font, giving the same pixels as the core's PixelCanvas (graph/raster.h).

#include <QFont>
#include <QImage>
#include <QPainter>

#include "graph/raster.h"
#include "platform/canvas.h"

namespace ore::gui {

class QPainterCanvas : public graph::Canvas {
 public:
  // Paints on image (Format_RGB32) for as long as the canvas lives.
  explicit QPainterCanvas(QImage& image);

  int width() const override { return image_.width(); }
  int height() const override { return image_.height(); }
  void setPenColor(graph::Rgb c) override;
  void line(int x1, int y1, int x2, int y2) override;
  void ellipse(const graph::Rect& box) override;
  void textOut(int x, int y, std::string_view text) override;
  void stretchCopy(const graph::Picture& source, const graph::Rect& from,
                   const graph::Rect& to) override;

  // DejaVu Sans at 11 pixels (8 points at 96 dpi), no anti-aliasing, full hinting, no kerning:
  // the font whose glyphs graph/font_data.cpp holds.
  static QFont diagramFont();

 private:
  void fillRuns(const std::vector<graph::PixelRun>& runs, const QColor& c);

  QImage& image_;
  QPainter painter_;
  QColor pen_{Qt::black};
};

// The picture as a QImage (Format_RGB32) and back.
QImage toQImage(const graph::Picture& picture);
graph::Picture toPicture(const QImage& image);

}  // namespace ore::gui
