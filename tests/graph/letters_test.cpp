#include "graph/letters.h"

#include <gtest/gtest.h>

#include <string>

#include "graph/bmp_file.h"
#include "graph/diagram_font.h"
#include "graph/graph_fields.h"
#include "graph/pixel_canvas.h"
#include "graph/span_rule.h"

namespace ore::graph {
namespace {

const std::string kLettersDir = std::string(OREFRAC_TEST_DATA) + "/../../graph/letters/";

struct Box {
  Letter letter;
  int firstRow, lastRow, leftCol, rightCol;
};
// Where each letter's ink must lie.
const Box kBoxes[] = {
    {Letter::Beta, 29, 85, 31, 75},  {Letter::Lambda, 33, 74, 42, 74},
    {Letter::Theta, 36, 77, 38, 68}, {Letter::Epsilon, 45, 73, 42, 68},
    {Letter::Alpha, 45, 73, 39, 75}, {Letter::Gamma, 38, 79, 45, 76},
};

TEST(Letters, CompiledPicturesAreTheCommittedBitmaps) {
  for (const Box& b : kBoxes) {
    Picture file = readBmp(kLettersDir + letterName(b.letter) + ".bmp");
    EXPECT_EQ(file.width(), 121);
    EXPECT_EQ(file.height(), 126);
    EXPECT_TRUE(file == letterPicture(b.letter)) << letterName(b.letter);
  }
}

TEST(Letters, SpanTablesAreDerivedFromThePictures) {
  for (const Box& b : kBoxes) {
    SCOPED_TRACE(letterName(b.letter));
    std::vector<Span> derived = deriveSpans(readBmp(kLettersDir + letterName(b.letter) + ".bmp"));
    SpanTable t;
    t.SpanLeft.fill(7);  // filling must also clear what was there
    fillSpanTable(b.letter, t);
    const int n = spanCount(b.letter);
    ASSERT_EQ(static_cast<int>(derived.size()), n);
    ASSERT_LT(n, kSpanEntries);
    for (int j = 1; j <= n; ++j)
      EXPECT_EQ((Span{t.SpanLeft[j], t.SpanRight[j], t.SpanRow[j]}), derived[j - 1]) << j;
    for (int j : {0, n + 1, kSpanEntries - 1})
      EXPECT_EQ(t.SpanLeft[j] | t.SpanRight[j] | t.SpanRow[j], 0) << j;
  }
}

TEST(Letters, InkLiesInsideTheLettersBoxesAndSpansKeepTheirInvariants) {
  for (const Box& b : kBoxes) {
    SCOPED_TRACE(letterName(b.letter));
    const Picture& pic = letterPicture(b.letter);
    bool inkSeen = false;
    for (int y = 0; y < pic.height(); ++y)
      for (int x = 0; x < pic.width(); ++x) {
        Rgb c = pic.pixel(x, y);
        EXPECT_TRUE(c.r == c.g && c.g == c.b);
        if (c == kWhite) continue;
        EXPECT_TRUE(y >= b.firstRow && y <= b.lastRow && x >= b.leftCol && x <= b.rightCol)
            << x << "," << y;
        inkSeen |= c == Rgb{4, 4, 4};
      }
    EXPECT_TRUE(inkSeen);

    SpanTable t;
    fillSpanTable(b.letter, t);
    const int n = spanCount(b.letter);
    for (int j = 1; j <= n; ++j) {
      EXPECT_LT(t.SpanLeft[j], t.SpanRight[j]);
      for (int x = t.SpanLeft[j]; x < t.SpanRight[j]; ++x)
        EXPECT_FALSE(pic.pixel(x, t.SpanRow[j]) == kWhite);
      if (j > 1) {
        // Ordered by row, then left to right without overlap; no row is skipped.
        EXPECT_TRUE(t.SpanRow[j] == t.SpanRow[j - 1] + 1 ||
                    (t.SpanRow[j] == t.SpanRow[j - 1] && t.SpanLeft[j] > t.SpanRight[j - 1]));
      }
    }
    EXPECT_GE(t.SpanRow[1], b.firstRow);
    EXPECT_LE(t.SpanRow[n], b.lastRow);
  }
}

TEST(Letters, StampingChangesOnlyThePixelsUnderTheInkRuns) {
  const Rgb kFill{10, 200, 30};
  for (const Box& b : kBoxes) {
    SCOPED_TRACE(letterName(b.letter));
    PixelCanvas c(200, 200);
    c.setPenColor(kFill);
    for (int y = 0; y < 200; ++y) c.line(0, y, 200, y);
    SpanTable t;
    fillSpanTable(b.letter, t);
    stampLetter(c, b.letter, t, 0.4, 20, 30);
    int changed = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        if (c.pixel(x, y) == kFill) continue;
        ++changed;
        // Inside the letter's box at two fifths of its size, never white.
        EXPECT_FALSE(c.pixel(x, y) == kWhite);
        EXPECT_GE(x, 20 + b.leftCol * 2 / 5);
        EXPECT_LE(x, 20 + (b.rightCol + 1) * 2 / 5);
        EXPECT_GE(y, 30 + b.firstRow * 2 / 5);
        EXPECT_LE(y, 30 + (b.lastRow + 1) * 2 / 5);
      }
    EXPECT_GT(changed, 20);
  }
}

TEST(Letters, ATableOfZeroSpansStampsNothing) {
  PixelCanvas c(100, 100);
  SpanTable zero;
  stampLetter(c, Letter::Theta, zero, 0.4, 10, 10);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(c.pixel(x, y), kWhite);
}

TEST(Letters, WindowFieldsHoldEachLettersTable) {
  GraphFields f;
  f.fillSpanTables();
  for (const Box& b : kBoxes) {
    SpanTable t;
    fillSpanTable(b.letter, t);
    EXPECT_EQ(f.spans(b.letter).SpanLeft, t.SpanLeft);
    EXPECT_EQ(f.spans(b.letter).SpanRow, t.SpanRow);
  }
  EXPECT_EQ(f.LabelPoint | f.ThetaOrgX | f.TitleOrgY, 0);
}

TEST(DiagramFont, GlyphTableIsSortedAndWellFormed) {
  for (int i = 0; i < font::kGlyphCount; ++i) {
    const font::Glyph& g = font::kGlyphs[i];
    if (i > 0) {
      EXPECT_LT(font::kGlyphs[i - 1].code, g.code);
    }
    EXPECT_EQ(std::string(g.bits).size(), static_cast<size_t>(g.width * g.height));
    EXPECT_GT(g.advance, 0);
  }
  for (char32_t d = U'0'; d <= U'9'; ++d)
    EXPECT_EQ(font::glyphFor(d).advance, font::glyphFor(U'0').advance);
  EXPECT_EQ(font::glyphFor(U'€').code, U'?');
  EXPECT_EQ(font::decodeUtf8("xв"), U"xв");
  EXPECT_EQ(font::decodeUtf8("a\xff"), std::u32string(U"a\uFFFD"));
  EXPECT_EQ(font::textWidth("C%"), font::glyphFor(U'C').advance + font::glyphFor(U'%').advance);
}

}  // namespace
}  // namespace ore::graph
