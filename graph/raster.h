#pragma once
// The pixel rules of the diagram's drawing operations, shared by every Canvas so that the
// window and orefrac-batch draw the same pixels.
//
// Lines: a line covers the pixels from its start point up to, not including, its end point.
// Along the major axis (y when |dy| > |dx|, otherwise x) it runs from the smaller coordinate to
// the greater; the minor coordinate follows a 16.16 fixed-point step with the start offset by
// half a step when the step is positive. This is exactly what QPainter draws for an aliased,
// flat-capped, one-pixel pen; it means that a sloping line drawn "backwards" covers its end
// point and leaves out its start. Horizontal and vertical lines keep the start-to-end rule in
// both directions. A line of zero length draws nothing.
//
// Ellipses: the pixels of the box whose centres lie inside the ellipse inscribed in the box; the
// outline is those of them with a neighbour (left, right, above, below) outside, the rest is the
// inside.
//
// Stretching: destination pixel i of n takes source pixel floor((2i + 1) * m / (2n)) of m.

#include <vector>

#include "platform/canvas.h"

namespace ore::graph {

// A horizontal run of len pixels starting at (x, y).
struct PixelRun {
  int x = 0, y = 0, len = 0;
  friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// The pixels of a line that fall inside [0, width) x [0, height), in drawing order, as runs of
// one pixel or more. Only the visible part is computed, so far-away end points cost nothing.
std::vector<PixelRun> linePixels(int x1, int y1, int x2, int y2, int width, int height);

// The same line as QPainter would be asked to draw it: horizontal and vertical lines drawn
// backwards are turned around (end and start moved by one pixel) so that QPainter's own rule
// gives the pixels above. Returns false for a line of zero length (nothing to draw).
bool normalizedLine(int& x1, int& y1, int& x2, int& y2);

// Pixels of an ellipse in its box, cut to [0, width) x [0, height).
struct EllipseRuns {
  std::vector<PixelRun> outline;
  std::vector<PixelRun> inside;
};
EllipseRuns ellipseRuns(const Rect& box, int width, int height);

// Index (0..m-1) of the source pixel that destination pixel i (0..n-1) takes.
inline int stretchSource(int i, int n, int m) {
  return static_cast<int>((2LL * i + 1) * m / (2LL * n));
}

}  // namespace ore::graph
