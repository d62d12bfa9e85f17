#include "graph/diagram_font.h"

#include <algorithm>

namespace ore::graph::font {

const Glyph& glyphFor(char32_t code) {
  const Glyph* end = kGlyphs + kGlyphCount;
  const Glyph* g =
      std::lower_bound(kGlyphs, end, code, [](const Glyph& a, char32_t c) { return a.code < c; });
  if (g != end && g->code == code) return *g;
  if (code != U'?') return glyphFor(U'?');
  return kGlyphs[0];
}

std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const int extra = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
    char32_t cp = extra <= 0 ? c : c & (0x3F >> extra);
    bool ok = extra >= 0 && i + extra < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char cc = static_cast<unsigned char>(text[i + k]);
      ok = (cc & 0xC0) == 0x80;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
    } else {
      out.push_back(cp);
      i += extra + 1;
    }
  }
  return out;
}

int textWidth(std::string_view text) {
  int w = 0;
  for (char32_t c : decodeUtf8(text)) w += glyphFor(c).advance;
  return w;
}

}  // namespace ore::graph::font
