#pragma once
// The diagram's text font as compiled-in glyph bitmaps, so that orefrac-batch writes the texts
// exactly as the window's QPainter draws them. font_data.cpp is written by
// tools/make_graph_data.sh from the same font the window uses; do not edit it by hand.

#include <string>
#include <string_view>

namespace ore::graph::font {

// The font the window draws its texts with: 8 points at 96 dpi, no anti-aliasing, full hinting,
// no kerning.
inline constexpr const char* kFamily = "DejaVu Sans";
inline constexpr int kPixelSize = 11;

struct Glyph {
  char32_t code;
  int advance;    // pen advance in pixels
  int left, top;  // bitmap corner relative to the pen position on the baseline
  int width, height;
  const char* bits;  // width * height characters, row by row: '#' ink, '.' none
};

extern const int kAscent;  // baseline below the text box's top
extern const int kHeight;  // height of the text box
extern const Glyph kGlyphs[];
extern const int kGlyphCount;

// The glyph of a character, or the glyph of '?' for a character the table does not hold.
const Glyph& glyphFor(char32_t code);

// The characters of a UTF-8 text; a malformed byte counts as U+FFFD.
std::u32string decodeUtf8(std::string_view text);

// Sum of the advances of the text's characters.
int textWidth(std::string_view text);

}  // namespace ore::graph::font
