#include "graph/pixel_canvas.h"

#include <algorithm>

#include "graph/diagram_font.h"
#include "graph/raster.h"

namespace ore::graph {

void PixelCanvas::line(int x1, int y1, int x2, int y2) {
  for (const PixelRun& r : linePixels(x1, y1, x2, y2, width(), height()))
    for (int i = 0; i < r.len; ++i) plot(r.x + i, r.y, pen_);
}

void PixelCanvas::ellipse(const Rect& box) {
  EllipseRuns runs = ellipseRuns(box, width(), height());
  for (const PixelRun& r : runs.inside)
    for (int i = 0; i < r.len; ++i) plot(r.x + i, r.y, kWhite);
  for (const PixelRun& r : runs.outline)
    for (int i = 0; i < r.len; ++i) plot(r.x + i, r.y, pen_);
}

void PixelCanvas::textOut(int x, int y, std::string_view text) {
  const std::u32string chars = font::decodeUtf8(text);
  long long boxWidth = 0;
  for (char32_t c : chars) boxWidth += font::glyphFor(c).advance;
  for (int j = 0; j < font::kHeight; ++j)
    for (long long i = 0; i < boxWidth && x + i < width(); ++i)
      if (x + i >= 0) plot(static_cast<int>(x + i), y + j, kWhite);
  long long pen = x;
  for (char32_t c : chars) {
    const font::Glyph& g = font::glyphFor(c);
    for (int j = 0; j < g.height; ++j)
      for (int i = 0; i < g.width; ++i)
        if (g.bits[j * g.width + i] == '#') {
          long long px = pen + g.left + i;
          if (px >= 0 && px < width())
            plot(static_cast<int>(px), y + font::kAscent + g.top + j, kBlack);
        }
    pen += g.advance;
  }
}

void PixelCanvas::stretchCopy(const Picture& source, const Rect& from, const Rect& to) {
  const int n = to.width(), m = to.height();
  if (n <= 0 || m <= 0 || from.width() <= 0 || from.height() <= 0) return;
  // Only the destination pixels on the canvas are visited.
  const long long i0 = std::max(0LL, -static_cast<long long>(to.left));
  const long long i1 = std::min<long long>(n, static_cast<long long>(width()) - to.left);
  const long long j0 = std::max(0LL, -static_cast<long long>(to.top));
  const long long j1 = std::min<long long>(m, static_cast<long long>(height()) - to.top);
  for (long long j = j0; j < j1; ++j) {
    const int sy = from.top + stretchSource(static_cast<int>(j), m, from.height());
    for (long long i = i0; i < i1; ++i) {
      const int sx = from.left + stretchSource(static_cast<int>(i), n, from.width());
      if (source.contains(sx, sy))
        plot(static_cast<int>(to.left + i), static_cast<int>(to.top + j), source.pixel(sx, sy));
    }
  }
}

}  // namespace ore::graph
