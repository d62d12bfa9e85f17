#include "graph/raster.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "graph/diagram_font.h"
#include "graph/pixel_canvas.h"

namespace ore::graph {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels pixelsOf(const std::vector<PixelRun>& runs) {
  Pixels p;
  for (const PixelRun& r : runs)
    for (int i = 0; i < r.len; ++i) p.insert({r.x + i, r.y});
  return p;
}

Pixels row(int y, int x0, int x1) {  // x0..x1 inclusive
  Pixels p;
  for (int x = x0; x <= x1; ++x) p.insert({x, y});
  return p;
}
Pixels column(int x, int y0, int y1) {
  Pixels p;
  for (int y = y0; y <= y1; ++y) p.insert({x, y});
  return p;
}

TEST(LineRule, AxisLinesCoverTheStartAndLeaveOutTheEndInBothDirections) {
  struct Case {
    int x1, y1, x2, y2;
    Pixels want;
  } cases[] = {
      {2, 5, 10, 5, row(5, 2, 9)},          {10, 5, 2, 5, row(5, 3, 10)},
      {4, 3, 4, 9, column(4, 3, 8)},        {4, 517, 4, 17, column(4, 18, 517)},
      {0, 584, 665, 584, row(584, 0, 664)}, {7, 7, 7, 7, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(pixelsOf(linePixels(c.x1, c.y1, c.x2, c.y2, 665, 585)), c.want)
        << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
}

TEST(LineRule, SlopingLinesStepAlongTheirMajorAxis) {
  // (6,6) to (16,9): ten columns, the row following the fixed-point step from the start.
  Pixels want = {{6, 6},  {7, 6},  {8, 6},  {9, 7},  {10, 7},
                 {11, 7}, {12, 7}, {13, 8}, {14, 8}, {15, 8}};
  EXPECT_EQ(pixelsOf(linePixels(6, 6, 16, 9, 100, 100)), want);
  // Drawn backwards the same line covers its end point and leaves out its start.
  Pixels back = pixelsOf(linePixels(16, 9, 6, 6, 100, 100));
  EXPECT_EQ(back, want);
  // A steep line: one pixel per row, rows 10..19.
  Pixels steep = pixelsOf(linePixels(50, 10, 53, 20, 100, 100));
  EXPECT_EQ(steep.size(), 10u);
  EXPECT_TRUE(steep.count({50, 10}));
  EXPECT_FALSE(steep.count({53, 20}));
}

TEST(LineRule, FarAwayEndPointsKeepTheVisiblePixelsAndCostNothing) {
  // The visible part of a line to a far-away point equals that part drawn on a huge canvas.
  struct Case {
    int x1, y1, x2, y2;
  } cases[] = {
      {30, 40, 5000, 900}, {30, 40, -3000, -2000}, {-700, 300, 900, 10}, {5, 5, 5, 1000000000}};
  for (const Case& c : cases) {
    Pixels small = pixelsOf(linePixels(c.x1, c.y1, c.x2, c.y2, 665, 585));
    Pixels big = pixelsOf(linePixels(c.x1, c.y1, c.x2, c.y2, 20000, 20000));
    Pixels bigVisible;
    for (auto p : big)
      if (p.first < 665 && p.second < 585) bigVisible.insert(p);
    if (c.x1 >= 0 && c.y1 >= 0 && c.x2 >= 0 && c.y2 >= 0) {
      EXPECT_EQ(small, bigVisible);
    }
    for (auto p : small)
      EXPECT_TRUE(p.first >= 0 && p.first < 665 && p.second >= 0 && p.second < 585);
  }
  EXPECT_EQ(pixelsOf(linePixels(5, 5, 5, 1000000000, 665, 585)), column(5, 5, 584));
}

TEST(EllipseRule, SmallEllipsesFillTheirBoxSymmetrically) {
  auto shape = [](int w, int h) {
    EllipseRuns e = ellipseRuns(Rect{0, 0, w, h}, 100, 100);
    std::vector<std::string> rows(h, std::string(w, ' '));
    for (const PixelRun& r : e.outline)
      for (int i = 0; i < r.len; ++i) rows[r.y][r.x + i] = '#';
    for (const PixelRun& r : e.inside)
      for (int i = 0; i < r.len; ++i) rows[r.y][r.x + i] = '.';
    return rows;
  };
  EXPECT_EQ(shape(6, 6),
            (std::vector<std::string>{" #### ", "#....#", "#....#", "#....#", "#....#", " #### "}));
  EXPECT_EQ(shape(4, 4), (std::vector<std::string>{" ## ", "#..#", "#..#", " ## "}));
  EXPECT_EQ(shape(4, 5), (std::vector<std::string>{" ## ", "#..#", "#..#", "#..#", " ## "}));
  EXPECT_EQ(shape(2, 2), (std::vector<std::string>{"##", "##"}));
  EXPECT_TRUE(ellipseRuns(Rect{5, 5, 5, 9}, 100, 100).outline.empty());
  // Cut at the canvas edges.
  EllipseRuns cut = ellipseRuns(Rect{-3, -3, 3, 3}, 100, 100);
  for (const PixelRun& r : cut.outline) EXPECT_GE(r.x, 0);
}

TEST(StretchRule, DestinationPixelsTakeTheNearestSourcePixel) {
  struct Case {
    int n, m;
    std::vector<int> want;
  } cases[] = {{1, 1, {0}}, {1, 2, {1}}, {2, 5, {1, 3}}, {3, 7, {1, 3, 5}}, {4, 2, {0, 0, 1, 1}}};
  for (const Case& c : cases) {
    std::vector<int> got;
    for (int i = 0; i < c.n; ++i) got.push_back(stretchSource(i, c.n, c.m));
    EXPECT_EQ(got, c.want) << c.n << " of " << c.m;
  }
}

TEST(PixelCanvas, TextIsBlackOnAWhiteBoxOfItsAdvance) {
  PixelCanvas c(60, 30);
  c.setPenColor(kRed);
  for (int y = 0; y < 30; ++y) c.line(0, y, 60, y);
  c.textOut(5, 4, "10");
  int black = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      Rgb p = c.pixel(x, y);
      bool inBox = x >= 5 && x < 5 + font::textWidth("10") && y >= 4 && y < 4 + font::kHeight;
      if (!inBox) {
        EXPECT_EQ(p, kRed) << x << "," << y;
      }
      if (inBox) {
        EXPECT_TRUE(p == kWhite || p == kBlack);
      }
      black += p == kBlack;
    }
  EXPECT_GT(black, 10);
}

}  // namespace
}  // namespace ore::graph
