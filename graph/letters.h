#pragma once
// The Greek letters that name the diagram's curves and axes: their pictures, their span tables
// and the stamping that copies a letter's ink onto a canvas.

#include <array>
#include <cstdint>

#include "platform/canvas.h"

namespace ore::graph {

enum class Letter { Beta, Lambda, Theta, Epsilon, Alpha, Gamma };

inline constexpr int kLetterWidth = 121;
inline constexpr int kLetterHeight = 126;
inline constexpr int kSpanEntries = 110;

// A letter's spans in three parallel arrays; entries 1..N hold the spans, entry 0 and those
// after N are 0.
struct SpanTable {
  std::array<std::int32_t, kSpanEntries> SpanLeft{};
  std::array<std::int32_t, kSpanEntries> SpanRight{};
  std::array<std::int32_t, kSpanEntries> SpanRow{};
};

// The letter's picture, 121 by 126, black italic serif ink on white.
const Picture& letterPicture(Letter letter);
// N, the number of the letter's spans.
int spanCount(Letter letter);
// Fills entries 1..N of the table with the letter's fixed spans and zeroes the rest.
void fillSpanTable(Letter letter, SpanTable& table);
// The file name of the letter's picture under graph/letters/ ("beta", ...).
const char* letterName(Letter letter);

// Copies the letter's ink runs onto the canvas at scale s with the picture's top-left corner at
// (x0, y0): span j goes from (SpanLeft, SpanRow, SpanRight, SpanRow + 1) of the picture to
// (trunc(SpanLeft·s + x0), trunc(SpanRow·s + y0), trunc(SpanRight·s + x0),
// trunc((SpanRow + 1)·s + y0)); runs that come out empty copy nothing, and the white around
// the ink is never copied.
void stampLetter(Canvas& canvas, Letter letter, const SpanTable& table, double s, int x0, int y0);

}  // namespace ore::graph
