#pragma once
// A Canvas over an in-memory 24-bit picture: orefrac-batch's drawing surface and the tests'.

#include "platform/canvas.h"

namespace ore::graph {

class PixelCanvas : public Canvas {
 public:
  PixelCanvas(int width, int height) : picture_(width, height) {}

  int width() const override { return picture_.width(); }
  int height() const override { return picture_.height(); }
  void setPenColor(Rgb c) override { pen_ = c; }
  void line(int x1, int y1, int x2, int y2) override;
  void ellipse(const Rect& box) override;
  void textOut(int x, int y, std::string_view text) override;
  void stretchCopy(const Picture& source, const Rect& from, const Rect& to) override;

  const Picture& picture() const { return picture_; }
  Rgb pixel(int x, int y) const { return picture_.pixel(x, y); }

 private:
  void plot(int x, int y, Rgb c) {
    if (picture_.contains(x, y)) picture_.setPixel(x, y, c);
  }

  Picture picture_;
  Rgb pen_ = kBlack;
};

}  // namespace ore::graph
