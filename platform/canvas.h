#pragma once
// The drawing surface the diagram is painted on: a few pixel-exact operations that both the
// window's QImage canvas and the core's own pixel canvas carry out identically.

#include <cstdint>
#include <string_view>
#include <vector>

namespace ore::graph {

struct Rgb {
  std::uint8_t r = 255, g = 255, b = 255;
  friend bool operator==(Rgb a, Rgb b) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGrey{100, 100, 100};

// (left, top, right, bottom); right and bottom are exclusive.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// A 24-bit picture held in memory, row 0 at the top.
class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, Rgb fill = kWhite)
      : w_(width), h_(height), px_(static_cast<size_t>(width) * height, fill) {}
  int width() const { return w_; }
  int height() const { return h_; }
  Rgb pixel(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  void setPixel(int x, int y, Rgb c) { px_[static_cast<size_t>(y) * w_ + x] = c; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
  friend bool operator==(const Picture&, const Picture&) = default;

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgb> px_;
};

// Coordinates are pixels, x to the right, y downward; whatever falls outside the surface is cut
// off at its edges. Implementations must produce exactly the pixels the rules in raster.h give.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;

  // Colour of the one pen (width 1, solid) used by line() and the outline of ellipse().
  virtual void setPenColor(Rgb c) = 0;
  // A line from (x1, y1) towards (x2, y2) with the end point left out; see raster.h.
  virtual void line(int x1, int y1, int x2, int y2) = 0;
  // An ellipse inside (left, top, right, bottom) (right and bottom exclusive): its outline in
  // the pen colour, its inside filled white.
  virtual void ellipse(const Rect& box) = 0;
  // UTF-8 text in the diagram font, black on a white box of the text's advance width and the
  // font's height; (x, y) is the box's top-left corner.
  virtual void textOut(int x, int y, std::string_view text) = 0;
  // Copies the source rectangle of a picture into the destination rectangle, stretched or
  // squeezed to its size (nearest source pixel; see raster.h). An empty destination copies
  // nothing.
  virtual void stretchCopy(const Picture& source, const Rect& from, const Rect& to) = 0;
};

}  // namespace ore::graph
