#pragma once
// How a letter's span table follows from its picture: every maximal horizontal run of ink
// pixels, rows from top to bottom, runs from left to right.

#include <cstdint>
#include <vector>

#include "platform/canvas.h"

namespace ore::graph {

struct Span {
  std::int32_t SpanLeft = 0;   // first column of the run
  std::int32_t SpanRight = 0;  // column just after the run
  std::int32_t SpanRow = 0;
  friend bool operator==(const Span&, const Span&) = default;
};

// A pixel is ink when none of its channels is lighter than this: the faintest quarter of the
// anti-aliased edge is left out, so no span reaches into the white background.
inline constexpr int kInkThreshold = 191;

inline bool isInk(Rgb c) {
  return c.r <= kInkThreshold && c.g <= kInkThreshold && c.b <= kInkThreshold;
}

std::vector<Span> deriveSpans(const Picture& picture);

}  // namespace ore::graph
