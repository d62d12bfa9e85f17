#include "graph/diagram_painter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "data/errors.h"
#include "graph/diagram_font.h"
#include "tests/graph/recording_canvas.h"
#include "tests/graph/results_fixture.h"

namespace ore::graph {
namespace {

using test::RecordingCanvas;

struct Paint {
  TextGrid grid = test::resultsGrid(test::fivePockets());
  Workspace ws;
  std::string point = "2";
  NumberFormat fmt{','};
  RecordingCanvas canvas;
  GraphFields fields;
  std::string error;

  Paint() {
    ws.PocketCount = 5;
    ws.ContentCount = 1;
    ws.ShowGraph4 = ShowGraph4::Show;
    fields.fillSpanTables();
  }
  Paint& paint() {
    try {
      paintDiagram(canvas, DiagramSource{grid, ws, point, fmt}, fields);
    } catch (const Error& e) {
      error = e.what();
    }
    return *this;
  }
  Rgb px(int x, int y) const { return canvas.pixel(x, y); }
  double value(int col, int row) const { return fmt.parseReal(grid.cell(col, row)); }
  // Pixel positions of the diagram's points, computed here from the grid for comparison.
  int X(double v) const {
    return static_cast<int>(std::trunc(v * (500 / value(1, ws.PocketCount))));
  }
  static int Y(double p) { return static_cast<int>(std::trunc(p * 5)); }
};

std::string line(int x1, int y1, int x2, int y2) {
  return "line " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
         std::to_string(y2);
}

TEST(DiagramPainter, FrameAxesAndGridFollowTheirPixelRules) {
  Paint r;
  r.paint();
  ASSERT_EQ(r.error, "");
  // Left axis three pixels wide, rows 20..519, drawn over by the grey grid at y = 30, 40, ...
  for (int x = 38; x <= 40; ++x) {
    EXPECT_EQ(r.px(x, 305), kBlack);
    EXPECT_EQ(r.px(x, 519), kBlack);
    EXPECT_EQ(r.px(x, 300), kGrey);
  }
  EXPECT_EQ(r.px(37, 305), kWhite);
  EXPECT_EQ(r.px(41, 305), kWhite);
  // Bottom axis y = 520..522 from x = 10 on; the grid's last row covers y = 520, and the white
  // box of the label "100" at (10, 515) covers the axis's left end.
  for (int y = 521; y <= 522; ++y) {
    EXPECT_EQ(r.px(10, y), kWhite);
    EXPECT_EQ(r.px(10 + font::textWidth("100"), y), kBlack);
    EXPECT_EQ(r.px(305, y), kBlack);
    EXPECT_EQ(r.px(9, y), kWhite);
  }
  EXPECT_EQ(r.px(305, 520), kGrey);
  // Right axis 540..542; the last grid column x = 540 covers its left column from y = 20 down.
  EXPECT_EQ(r.px(540, 305), kGrey);
  EXPECT_EQ(r.px(541, 305), kBlack);
  EXPECT_EQ(r.px(542, 305), kBlack);
  EXPECT_EQ(r.px(543, 305), kWhite);
  // Top edge one pixel, x = 30..549, up to the white box of the right axis's label "100".
  EXPECT_EQ(r.px(30, 20), kBlack);
  EXPECT_EQ(r.px(543, 20), kBlack);
  EXPECT_EQ(r.px(544, 20), kWhite);
  EXPECT_EQ(r.px(550, 21), kWhite);
  EXPECT_EQ(r.px(50, 529), kGrey);
  EXPECT_EQ(r.px(50, 530), kWhite);
  EXPECT_EQ(r.px(549, 30), kGrey);
  EXPECT_EQ(r.px(550, 30), kWhite);
  EXPECT_EQ(r.px(30, 100), kGrey);
  EXPECT_EQ(r.px(29, 100), kWhite);
  // Drawing order: background, frame, texts, labels, red line, labels, grid, curves.
  EXPECT_EQ(r.canvas.calls[0], "pen 255 255 255");
  EXPECT_EQ(r.canvas.calls[1], line(0, 0, 665, 0));
  EXPECT_EQ(r.canvas.calls[586], line(0, 585, 665, 585));
  EXPECT_LT(r.canvas.find(line(38, 20, 38, 520)), r.canvas.find("text 30 5 xв"));
  EXPECT_LT(r.canvas.find("text 560 515 C%"), r.canvas.find("text 544 15 100"));
  EXPECT_LT(r.canvas.find("pen 255 0 0"), r.canvas.find("text 35 530 0"));
  EXPECT_LT(r.canvas.find("text 545 530 8"), r.canvas.find("pen 100 100 100"));
  EXPECT_LT(r.canvas.find(line(550, 20, 550, 530)), r.canvas.find("ellipse 37 17 43 23"));
}

TEST(DiagramPainter, RedLineStandsAtTheSampleContent) {
  Paint r;
  r.paint();
  // α = 1,59 (tails content of the last pocket), Hmax = 8: kx = 62,5, X(α) = 99.
  ASSERT_EQ(r.grid.cell(6, 5), "1,59");
  const int xa = 40 + 99;
  EXPECT_EQ(r.canvas.find(line(xa, 517, xa, 17)) + 1, r.canvas.find(line(xa + 1, 517, xa + 1, 17)));
  // The grid, the β-curve's start and θ's last marker are drawn over it later: check it on a
  // canvas that holds only the paint's first steps.
  test::RecordingCanvas early;
  for (const std::string& call : r.canvas.calls) {
    if (call == "pen 100 100 100") break;
    int a, b, c, d;
    if (std::sscanf(call.c_str(), "pen %d %d %d", &a, &b, &c) == 3)
      early.setPenColor(Rgb{std::uint8_t(a), std::uint8_t(b), std::uint8_t(c)});
    else if (std::sscanf(call.c_str(), "line %d %d %d %d", &a, &b, &c, &d) == 4)
      early.line(a, b, c, d);
  }
  for (int x : {xa, xa + 1}) {
    EXPECT_EQ(early.pixel(x, 18), kRed);
    EXPECT_EQ(early.pixel(x, 17), kWhite);  // the end point is left out
    EXPECT_EQ(early.pixel(x, 517), kRed);
    EXPECT_EQ(early.pixel(x, 518), kWhite);
  }
  EXPECT_EQ(early.pixel(xa + 2, 305), kWhite);
  EXPECT_EQ(early.pixel(xa - 1, 305), kWhite);
  // In the finished drawing the grid column x = 140 covers the red line's right column.
  EXPECT_EQ(r.px(xa, 305), kRed);
  EXPECT_EQ(r.px(xa + 1, 305), kGrey);
}

TEST(DiagramPainter, RedLineUnderAGridColumnIsCoveredFromTheTopEdgeDown) {
  Paint r;
  r.grid.setCell(6, 5, "1,6");  // X = 100: the red line's left column is the grid line x = 140
  r.paint();
  EXPECT_EQ(r.px(140, 19), kRed);
  EXPECT_EQ(r.px(140, 305), kGrey);
  EXPECT_EQ(r.px(141, 305), kRed);
}

TEST(DiagramPainter, ScaleLabelsStandAtTheirPositions) {
  Paint r;
  for (int j = 1; j <= 5; ++j) r.grid.setCell(1, j, std::to_string(5 * j));  // Hmax = 25
  r.paint();
  ASSERT_EQ(r.error, "");
  EXPECT_GE(r.canvas.find("text 35 530 0"), 0);
  for (int i = 1; i <= 12; ++i)
    EXPECT_GE(
        r.canvas.find("text " + std::to_string(40 * i + 35) + " 530 " + std::to_string(2 * i)), 0)
        << i;
  EXPECT_GE(r.canvas.find("text 545 530 25"), 0);
  EXPECT_GE(r.canvas.find("text 544 15 100"), 0);
  EXPECT_GE(r.canvas.find("text 550 35 96"), 0);
  EXPECT_GE(r.canvas.find("text 550 495 4"), 0);
  EXPECT_EQ(r.canvas.find("text 550 515 0"), -1);
  EXPECT_GE(r.canvas.find("text 10 35 4"), 0);
  EXPECT_GE(r.canvas.find("text 10 515 100"), 0);
  EXPECT_EQ(r.canvas.count("text 550 "), 24 + 1);  // and the "k" at (550, 2)
  EXPECT_EQ(r.canvas.count("text 10 "), 25);
}

TEST(DiagramPainter, HorizontalLabelsAreCutToTwoDecimals) {
  Paint r;
  r.grid.setCell(1, 5, "7,7");  // Hmax / 12,5 = 0,616
  r.paint();
  EXPECT_GE(r.canvas.find("text 75 530 0,616"), 0);
  EXPECT_GE(r.canvas.find("text 115 530 1,23"), 0);  // 1,232 cut
  EXPECT_GE(r.canvas.find("text 515 530 7,39"), 0);  // 7,392 cut
  EXPECT_GE(r.canvas.find("text 545 530 7,7"), 0);
}

TEST(DiagramPainter, CurvesAreTwoPixelsThickWithMarkersAtTheirPoints) {
  Paint r;
  r.paint();
  const int P = 5;
  auto lam = [&](int j) { return std::pair{40 + r.X(r.value(1, j)), 20 + r.Y(r.value(5, j))}; };
  auto bet = [&](int j) { return std::pair{40 + r.X(r.value(9, j)), 520 - r.Y(r.value(8, j))}; };
  auto eps = [&](int j) { return std::pair{40 + r.X(r.value(1, j)), 520 - r.Y(r.value(7, j))}; };
  for (int j = 1; j < P; ++j) {
    auto [ax, ay] = lam(j);
    auto [bx, by] = lam(j + 1);
    int first = r.canvas.find(line(ax - 1, ay - 1, bx - 1, by - 1));
    ASSERT_GE(first, 0) << j;
    EXPECT_EQ(r.canvas.calls[first + 1], line(ax - 1, ay, bx - 1, by));
    EXPECT_EQ(r.canvas.calls[first - 3], "ellipse " + std::to_string(ax - 3) + " " +
                                             std::to_string(ay - 3) + " " + std::to_string(ax + 3) +
                                             " " + std::to_string(ay + 3));
    // Halfway between the points the curve covers two vertically adjacent pixels.
    int mx = (ax + bx) / 2 - 1;
    int dark = 0;
    for (int y = 20; y < 520; ++y)
      dark += r.px(mx, y) == kBlack && std::abs(y - (ay + by) / 2) < 30;
    EXPECT_GE(dark, 2) << j;
  }
  // λ and θ start at the top origin; β has no marker at row P and starts at (40 + X(α), 20).
  EXPECT_GE(r.canvas.find(line(39, 19, lam(1).first - 1, lam(1).second - 1)), 0);
  EXPECT_GE(r.canvas.find(line(40 + 99 - 1, 19, bet(1).first - 1, bet(1).second - 1)), 0);
  EXPECT_EQ(r.canvas.count(line(40 + 99 - 1, 19, bet(1).first - 1, bet(1).second - 1)), 3);
  // Graph No. 4: bottom origin, its two start lines and the segments between the ε points.
  EXPECT_GE(r.canvas.find("ellipse 38 518 42 523"), 0);
  EXPECT_GE(r.canvas.find(line(37, 520, eps(1).first - 1, eps(1).second - 1)), 0);
  EXPECT_GE(r.canvas.find(line(37, 521, eps(1).first - 1, eps(1).second)), 0);
  EXPECT_GE(r.canvas.find(line(eps(2).first - 1, eps(2).second, eps(3).first - 1, eps(3).second)),
            0);
}

TEST(DiagramPainter, GraphFourIsLeftOutWhenTheResultsWindowSaysSo) {
  Paint on, off;
  off.ws.ShowGraph4 = ShowGraph4::Hide;
  on.paint();
  off.paint();
  ASSERT_EQ(off.error, "");
  EXPECT_GE(on.canvas.find("ellipse 37 517 43 523"), 0);
  EXPECT_EQ(off.canvas.find("ellipse 37 517 43 523"), -1);
  EXPECT_EQ(off.canvas.count("line 37 52"), 0);
  // Four stamps fewer spans for the ε of the curve; the axis titles keep theirs.
  const int eps = spanCount(Letter::Epsilon);
  EXPECT_EQ(on.canvas.count("copy ") - off.canvas.count("copy "), eps);
  EXPECT_GT(off.canvas.count("copy "), 2 * eps);
  EXPECT_EQ(on.fields.EpsilonOrgX, off.fields.EpsilonOrgX);  // computed either way
}

TEST(DiagramPainter, LetterPositionsFollowTheLabelPoint) {
  Paint r;
  r.paint();
  ASSERT_EQ(r.error, "");
  const GraphFields& f = r.fields;
  EXPECT_EQ(f.LabelPoint, 2);
  EXPECT_EQ(f.LabelPointEps, 3);
  EXPECT_EQ(f.ThetaOrgX, r.X(r.value(6, 2)) + 37);
  EXPECT_EQ(f.ThetaOrgY, r.Y(r.value(5, 2)));
  EXPECT_EQ(f.LambdaOrgX, r.X(r.value(1, 2)) + 37);
  EXPECT_EQ(f.LambdaOrgY, r.Y(r.value(5, 2)));
  EXPECT_EQ(f.BetaOrgX, r.X(r.value(9, 2)) + 37);
  EXPECT_EQ(f.BetaOrgY, 500 - r.Y(r.value(8, 2)));
  EXPECT_EQ(f.EpsilonOrgX, r.X(r.value(1, 3)));
  EXPECT_EQ(f.EpsilonOrgY, 490 - r.Y(r.value(7, 3)));
  EXPECT_EQ(f.AlphaOrgX, 99 + 30);
  EXPECT_EQ(f.AlphaOrgY, 480);
  EXPECT_EQ(f.TitleOrgX, 10);
  EXPECT_EQ(f.TitleOrgY, -5);
  // θ's first span lands at two fifths of its picture position from the corner.
  SpanTable t;
  fillSpanTable(Letter::Theta, t);
  Rect to{static_cast<int>(t.SpanLeft[1] * 0.4 + f.ThetaOrgX),
          static_cast<int>(t.SpanRow[1] * 0.4 + f.ThetaOrgY),
          static_cast<int>(t.SpanRight[1] * 0.4 + f.ThetaOrgX),
          static_cast<int>((t.SpanRow[1] + 1) * 0.4 + f.ThetaOrgY)};
  std::string want = "copy " + std::to_string(t.SpanLeft[1]) + " " + std::to_string(t.SpanRow[1]) +
                     " " + std::to_string(t.SpanRight[1]) + " " + std::to_string(t.SpanRow[1] + 1) +
                     " -> " + std::to_string(to.left) + " " + std::to_string(to.top) + " " +
                     std::to_string(to.right) + " " + std::to_string(to.bottom);
  EXPECT_GE(r.canvas.find(want), 0);
}

TEST(DiagramPainter, PointNumberIsBoundedToTheInnerRows) {
  struct Case {
    int P;
    const char* point;
    int label;
  } cases[] = {{5, "0", 1}, {5, "1", 1},  {5, "-3", 1}, {5, "3", 3}, {5, "4", 4},
               {5, "5", 4}, {5, "99", 4}, {2, "2", 1},  {2, "0", 1}, {3, "7", 2}};
  for (const Case& c : cases) {
    Paint r;
    std::vector<test::Pocket> pockets = test::fivePockets();
    pockets.resize(c.P);
    r.grid = test::resultsGrid(pockets);
    r.ws.PocketCount = c.P;
    r.point = c.point;
    r.paint();
    EXPECT_EQ(r.error, "") << c.P << " " << c.point;
    EXPECT_EQ(r.fields.LabelPoint, c.label) << c.P << " " << c.point;
    EXPECT_EQ(r.fields.LabelPointEps, c.P - c.label);
  }
}

TEST(DiagramPainter, TwoPocketsDrawASingleBetaMarker) {
  Paint r;
  r.grid = test::resultsGrid({{1, 60, 0.5}, {3, 40, 2}});
  r.ws.PocketCount = 2;
  r.paint();
  ASSERT_EQ(r.error, "");
  const int b1x = 40 + r.X(r.value(9, 1)), b1y = 520 - r.Y(r.value(8, 1));
  EXPECT_GE(r.canvas.find("ellipse " + std::to_string(b1x - 3) + " " + std::to_string(b1y - 3) +
                          " " + std::to_string(b1x + 3) + " " + std::to_string(b1y + 3)),
            0);
  // No β segment and no start segment: every line after the grid belongs to λ, θ or ε.
  EXPECT_EQ(r.canvas.count(line(40 + r.X(r.value(6, 2)) - 1, 19, b1x - 1, b1y - 1)), 0);
}

TEST(DiagramPainter, FailuresStopThePaintWhereTheyOccur) {
  struct Case {
    const char* what;
    void (*change)(Paint&);
    std::string message;
    const char* lastDrawn;   // a call that must be there
    const char* neverDrawn;  // a call that must not
  } cases[] = {
      {"empty grid", [](Paint& r) { r.grid = TextGrid(); },
       "'' is not a valid floating point value", "text 10 515 100", "pen 255 0 0"},
      {"no pockets", [](Paint& r) { r.ws.PocketCount = 0; },
       "'Верхней предел, h' is not a valid floating point value", "text 10 515 100", "pen 255 0 0"},
      {"zero last limit", [](Paint& r) { r.grid.setCell(1, 5, "0"); },
       "Floating point division by zero", "text 10 515 100", "pen 255 0 0"},
      {"bad tails yield", [](Paint& r) { r.grid.setCell(5, 3, "12.5"); },
       "'12.5' is not a valid floating point value", "ellipse 37 17 43 23", "copy "},
      {"bad point number", [](Paint& r) { r.point = "2a"; }, "'2a' is not a valid integer value",
       "ellipse 37 517 43 523", "copy "},
      {"one pocket",
       [](Paint& r) {
         r.grid = test::resultsGrid({{2, 100, 1}});
         r.ws.PocketCount = 1;
       },
       "'Содержание, %  №= 1' is not a valid floating point value", "ellipse 37 17 43 23", "copy "},
  };
  for (const Case& c : cases) {
    Paint r;
    c.change(r);
    r.paint();
    EXPECT_EQ(r.error, c.message) << c.what;
    EXPECT_GE(r.canvas.find(c.lastDrawn), 0) << c.what;
    EXPECT_EQ(r.canvas.count(c.neverDrawn), 0) << c.what;
  }
}

TEST(DiagramPainter, EmptyPointNumberLeavesOutTheCurveLettersOnly) {
  Paint r;
  r.point = "";
  r.paint();
  ASSERT_EQ(r.error, "");
  int titles = 2 * spanCount(Letter::Gamma) + 2 * spanCount(Letter::Epsilon);
  EXPECT_EQ(r.canvas.count("copy "), titles);
  EXPECT_EQ(r.fields.LabelPoint, 0);
}

TEST(DiagramPainter, OtherContentCountsReadTheirOwnColumns) {
  Paint one, two;
  two.grid = test::resultsGrid(test::fivePockets(), 2);
  two.ws.ContentCount = 2;
  // Everything the diagram does not read is made unreadable.
  for (int j = 1; j <= 5; ++j)
    for (int c : {2, 3, 4, 5, 6, 9, 11, 14, 15, 16, 17}) two.grid.setCell(c, j, "x");
  one.paint();
  two.paint();
  ASSERT_EQ(two.error, "");
  EXPECT_TRUE(one.canvas.picture() == two.canvas.picture());
}

TEST(DiagramPainter, ValuesOutsideTheFieldAreDrawnWhereTheyFall) {
  Paint r;
  r.grid.setCell(6, 2, "-3");
  r.grid.setCell(9, 1, "1E15");
  r.paint();
  EXPECT_EQ(r.error, "");
  Paint huge;
  huge.grid.setCell(6, 2, "1E300");
  huge.grid.setCell(1, 5, "1E-300");
  huge.paint();
  EXPECT_EQ(huge.error, "Invalid floating point operation");
}

}  // namespace
}  // namespace ore::graph
