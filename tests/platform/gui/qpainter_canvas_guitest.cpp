#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <random>

#include "data/errors.h"
#include "graph/diagram_font.h"
#include "graph/diagram_painter.h"
#include "graph/letters.h"
#include "graph/pixel_canvas.h"
#include "platform/gui/qpainter_canvas.h"
#include "tests/graph/results_fixture.h"

namespace ore::gui {
namespace {

using graph::Rgb;

QImage blank(int w = 665, int h = 585) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

bool black(const QImage& img, int x, int y) {
  return img.pixel(x, y) == qRgb(0, 0, 0);
}

// Draws the same calls on both canvases and compares every pixel.
template <class Draw>
::testing::AssertionResult sameOnBoth(Draw draw, int w = 665, int h = 585) {
  QImage img = blank(w, h);
  {
    QPainterCanvas q(img);
    draw(static_cast<graph::Canvas&>(q));
  }
  graph::PixelCanvas p(w, h);
  draw(static_cast<graph::Canvas&>(p));
  const graph::Picture got = toPicture(img);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!(got.pixel(x, y) == p.pixel(x, y)))
        return ::testing::AssertionFailure() << "first difference at " << x << "," << y;
  return ::testing::AssertionSuccess();
}

TEST(QPainterCanvas, LinesLeaveOutTheirEndPointAndBoxesTheirRightAndBottomEdges) {
  QImage img = blank(40, 40);
  {
    QPainterCanvas c(img);
    c.line(2, 2, 10, 2);     // right
    c.line(10, 4, 2, 4);     // left: covers 10 down to 3
    c.line(2, 6, 2, 12);     // down
    c.line(4, 12, 4, 6);     // up: covers 12 down to 7
    c.line(20, 20, 20, 20);  // nothing
    c.ellipse(graph::Rect{20, 14, 26, 20});
    c.stretchCopy(graph::Picture(3, 1, graph::kBlack), graph::Rect{0, 0, 3, 1},
                  graph::Rect{30, 30, 36, 31});
  }
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(black(img, x, 2), x >= 2 && x <= 9) << x;
    EXPECT_EQ(black(img, x, 4), x >= 3 && x <= 10) << x;
    EXPECT_EQ(black(img, x, 30), x >= 30 && x <= 35) << x;
    EXPECT_FALSE(black(img, x, 31));
  }
  for (int y = 0; y < 40; ++y) {
    EXPECT_EQ(black(img, 2, y), y == 2 || (y >= 6 && y <= 11)) << y;
    EXPECT_EQ(black(img, 4, y), y == 2 || y == 4 || (y >= 7 && y <= 12)) << y;
  }
  EXPECT_FALSE(black(img, 20, 20));
  // The ellipse of box (20, 14, 26, 20) keeps to columns 20..25 and rows 14..19.
  for (int y = 12; y < 24; ++y)
    for (int x = 18; x < 30; ++x)
      if (black(img, x, y)) {
        EXPECT_TRUE(x >= 20 && x <= 25 && y >= 14 && y <= 19) << x << "," << y;
      }
  EXPECT_TRUE(black(img, 20, 16));
  EXPECT_TRUE(black(img, 25, 16));
  EXPECT_TRUE(black(img, 22, 14));
  EXPECT_TRUE(black(img, 22, 19));
  EXPECT_EQ(img.pixel(22, 16), qRgb(255, 255, 255));
}

TEST(QPainterCanvas, DrawsTheSameLinesAsTheCoreCanvas) {
  std::mt19937 rng(7);
  auto coord = [&](int size) {
    switch (rng() % 6) {
      case 0:
        return static_cast<int>(rng() % 3) - 1;  // at the edge
      case 1:
        return size - 1 + static_cast<int>(rng() % 3);
      case 2:
        return static_cast<int>(rng() % 4000) - 2000;  // far away
      default:
        return static_cast<int>(rng() % size);
    }
  };
  for (int batch = 0; batch < 20; ++batch) {
    std::vector<std::array<int, 4>> lines;
    for (int i = 0; i < 200; ++i) {
      int x1 = coord(665), y1 = coord(585);
      int x2 = rng() % 4 ? coord(665) : x1, y2 = rng() % 4 ? coord(585) : y1;
      lines.push_back({x1, y1, x2, y2});
    }
    EXPECT_TRUE(sameOnBoth([&](graph::Canvas& c) {
      for (auto& l : lines) c.line(l[0], l[1], l[2], l[3]);
    })) << "batch "
        << batch;
  }
}

TEST(QPainterCanvas, DrawsTheSameEllipsesTextsAndCopiesAsTheCoreCanvas) {
  EXPECT_TRUE(sameOnBoth([](graph::Canvas& c) {
    c.setPenColor(graph::kRed);
    int x = -5;
    for (int w = 1; w <= 14; ++w)
      for (int h = 1; h <= 14; ++h)
        c.ellipse(graph::Rect{x + w * 17, h * 17 - 5, x + w * 18, h * 18 - 5});
  }));
  // Every glyph of the compiled font, then the diagram's own texts.
  EXPECT_TRUE(sameOnBoth([](graph::Canvas& c) {
    for (int i = 0; i < graph::font::kGlyphCount; i += 30) {
      std::u32string chunk;
      for (int k = i; k < std::min(i + 30, graph::font::kGlyphCount); ++k)
        chunk += graph::font::kGlyphs[k].code;
      c.textOut(3, 3 + (i / 30) * 14, QString::fromStdU32String(chunk).toStdString());
    }
    const char* texts[] = {"xв", "k", "C%", "100", "96", "0,64", "1,2E-5", "-3,75", "12345678,9"};
    int y = 400;
    for (const char* t : texts) c.textOut(400, y += 15, t);
  }));
  EXPECT_TRUE(sameOnBoth([](graph::Canvas& c) {
    graph::SpanTable t;
    for (graph::Letter l : {graph::Letter::Beta, graph::Letter::Gamma, graph::Letter::Theta}) {
      graph::fillSpanTable(l, t);
      graph::stampLetter(c, l, t, 0.4, 100 + 60 * int(l), 100);
      graph::stampLetter(c, l, t, 0.3, 100 + 60 * int(l), -9);
      graph::stampLetter(c, l, t, 1.7, 100 + 60 * int(l), 300);
    }
  }));
  QFontMetrics fm(QPainterCanvas::diagramFont());
  EXPECT_EQ(QFontInfo(QPainterCanvas::diagramFont()).family(), graph::font::kFamily);
  EXPECT_EQ(fm.ascent(), graph::font::kAscent);
  EXPECT_EQ(fm.height(), graph::font::kHeight);
}

TEST(QPainterCanvas, DrawsTheSameDiagramAsTheCoreCanvas) {
  struct Case {
    std::vector<graph::test::Pocket> pockets;
    ShowGraph4 showGraph4;
    const char* point;
  } cases[] = {{graph::test::fivePockets(), ShowGraph4::Show, "2"},
               {graph::test::fivePockets(), ShowGraph4::Hide, ""},
               {{{1, 60, 0.5}, {3, 40, 2}}, ShowGraph4::Show, "7"},
               {{{2, 100, 1}}, ShowGraph4::Show, "2"}};  // fails after the curves
  for (const Case& c : cases) {
    const TextGrid grid = graph::test::resultsGrid(c.pockets);
    Workspace ws;
    ws.PocketCount = static_cast<int>(c.pockets.size());
    ws.ContentCount = 1;
    ws.ShowGraph4 = c.showGraph4;
    const NumberFormat fmt(',');
    EXPECT_TRUE(sameOnBoth([&](graph::Canvas& canvas) {
      graph::GraphFields f;
      f.fillSpanTables();
      try {
        graph::paintDiagram(canvas, graph::DiagramSource{grid, ws, c.point, fmt}, f);
      } catch (const Error&) {
      }
    })) << ws.PocketCount
        << " pockets";
  }
}

}  // namespace
}  // namespace ore::gui
