#include "graph/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace ore::graph {

namespace {

void addPixel(std::vector<PixelRun>& runs, int x, int y) {
  if (!runs.empty()) {
    PixelRun& last = runs.back();
    if (last.y == y && last.x + last.len == x) {
      ++last.len;
      return;
    }
  }
  runs.push_back({x, y, 1});
}

}  // namespace

bool normalizedLine(int& x1, int& y1, int& x2, int& y2) {
  if (x1 == x2 && y1 == y2) return false;
  if (x1 == x2 && y2 < y1) {
    std::swap(y1, y2);
    ++y1;
    ++y2;
  } else if (y1 == y2 && x2 < x1) {
    std::swap(x1, x2);
    ++x1;
    ++x2;
  }
  return true;
}

std::vector<PixelRun> linePixels(int x1, int y1, int x2, int y2, int width, int height) {
  std::vector<PixelRun> runs;
  if (!normalizedLine(x1, y1, x2, y2)) return runs;
  const std::int64_t dx = std::int64_t(x2) - x1, dy = std::int64_t(y2) - y1;
  const bool yMajor = std::llabs(dx) < std::llabs(dy);
  // Major coordinate m from m1 (inclusive) to m2 (exclusive), minor coordinate n.
  std::int64_t m1 = yMajor ? y1 : x1, m2 = yMajor ? y2 : x2;
  std::int64_t n1 = yMajor ? x1 : y1, n2 = yMajor ? x2 : y2;
  if (m1 > m2) {
    std::swap(m1, m2);
    std::swap(n1, n2);
  }
  const std::int64_t majorSize = yMajor ? height : width;
  const std::int64_t minorSize = yMajor ? width : height;
  const std::int64_t step = (n2 - n1) * 65536 / (m2 - m1);  // truncated toward zero
  const std::int64_t start = n1 * 65536 + (step > 0 ? step / 2 : 0);
  const std::int64_t first = std::max<std::int64_t>(m1, 0);
  const std::int64_t last = std::min<std::int64_t>(m2, majorSize);  // exclusive
  for (std::int64_t m = first; m < last; ++m) {
    // Floor division by 65536 (the fixed-point value may be negative).
    std::int64_t fixed = start + (m - m1) * step;
    std::int64_t n = fixed >= 0 ? fixed / 65536 : -((-fixed + 65535) / 65536);
    if (n < 0 || n >= minorSize) continue;
    if (yMajor)
      addPixel(runs, static_cast<int>(n), static_cast<int>(m));
    else
      addPixel(runs, static_cast<int>(m), static_cast<int>(n));
  }
  return runs;
}

EllipseRuns ellipseRuns(const Rect& box, int width, int height) {
  EllipseRuns out;
  const int w = box.width(), h = box.height();
  if (w <= 0 || h <= 0) return out;
  // Inside columns of each row, relative to the box: [lo, hi], empty when lo > hi.
  std::vector<int> lo(h), hi(h);
  const double a = w / 2.0, b = h / 2.0;
  for (int j = 0; j < h; ++j) {
    double dy = (j + 0.5 - b) / b;
    double rest = 1.0 - dy * dy;
    if (rest < 0) {
      lo[j] = 1;
      hi[j] = 0;
      continue;
    }
    double half = a * std::sqrt(rest) + 1e-9;
    lo[j] = static_cast<int>(std::ceil(a - half - 0.5));
    hi[j] = static_cast<int>(std::floor(a + half - 0.5));
    lo[j] = std::max(lo[j], 0);
    hi[j] = std::min(hi[j], w - 1);
  }
  auto insideRow = [&](int j, int i) { return j >= 0 && j < h && i >= lo[j] && i <= hi[j]; };
  for (int j = 0; j < h; ++j) {
    const std::int64_t y = std::int64_t(box.top) + j;
    if (y < 0 || y >= height) continue;
    for (int i = lo[j]; i <= hi[j]; ++i) {
      const std::int64_t x = std::int64_t(box.left) + i;
      if (x < 0 || x >= width) continue;
      bool edge = i == lo[j] || i == hi[j] || !insideRow(j - 1, i) || !insideRow(j + 1, i);
      addPixel(edge ? out.outline : out.inside, static_cast<int>(x), static_cast<int>(y));
    }
  }
  return out;
}

}  // namespace ore::graph
