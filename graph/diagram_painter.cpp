#include "graph/diagram_painter.h"

#include <cmath>

#include "data/errors.h"
#include "data/results_layout.h"
#include "graph/letters.h"

namespace ore::graph {

namespace {

constexpr const char* kInvalidFloatOperation = "Invalid floating point operation";

struct Point {
  int x = 0, y = 0;
};

// Cuts toward zero; a value beyond the 64-bit range fails as the run-time's truncation does.
double cut(double v) {
  if (!std::isfinite(v) || std::fabs(v) >= 9.2233720368547758e18)
    throw Error(kInvalidFloatOperation);
  return std::trunc(v);
}

// A pixel offset: cut toward zero and kept within a range where sums stay integers; anything
// that far off lies outside the drawing anyway.
int pixel(double v) {
  double t = cut(v);
  if (t > 1e9) return 1000000000;
  if (t < -1e9) return -1000000000;
  return static_cast<int>(t);
}

class Painter {
 public:
  Painter(Canvas& canvas, const DiagramSource& source, GraphFields& fields)
      : c_(canvas), s_(source), f_(fields), P_(source.ws.PocketCount), L_(source.ws.ContentCount) {}

  void paint() {
    background();
    frame();
    axisTexts();
    verticalLabels();
    sampleContentLine();
    horizontalLabels();
    grid();
    curves();
    if (!s_.pointText.empty()) curveLetters();
    titleLetters();
  }

 private:
  // --- values, each converted from its cell text when it is used
  double cell(int col, int row) const { return s_.fmt.parseReal(s_.results.cell(col, row)); }
  double H(int j) const { return cell(ResultsLayout::limit(), j); }
  double Yt(int j) const { return cell(L_.tailsYield(), j); }
  double Ct(int j) const { return cell(L_.tailsContent(1), j); }
  double Rt(int j) const { return cell(L_.tailsRecovery(1), j); }
  double Yc(int j) const { return cell(L_.concentrateYield(), j); }
  double Cc(int j) const { return cell(L_.concentrateContent(1), j); }
  double Hmax() const { return H(P_); }
  double alpha() const { return Ct(P_); }

  double kx() const {
    double hmax = Hmax();
    if (hmax == 0) throw Error(msg::kDivisionByZero);
    return 500 / hmax;
  }
  int X(double v) const { return pixel(v * kx()); }
  static int Y(double p) { return pixel(p * 5); }
  Point top(double v, double p) const {
    int x = 40 + X(v);
    return {x, 20 + Y(p)};
  }
  Point bottom(double v, double p) const {
    int x = 40 + X(v);
    return {x, 520 - Y(p)};
  }
  Point lambda(int j) const {
    double h = H(j);
    return top(h, Yt(j));
  }
  Point theta(int j) const {
    double ct = Ct(j);
    return top(ct, Yt(j));
  }
  Point beta(int j) const {
    double cc = Cc(j);
    return bottom(cc, Yc(j));
  }
  Point epsilon(int j) const {
    double h = H(j);
    return bottom(h, Rt(j));
  }

  // --- drawing pieces
  void text(int x, int y, const std::string& t) { c_.textOut(x, y, t); }
  void number(int x, int y, double v) { text(x, y, s_.fmt.format(v)); }
  void ellipse(int l, int t, int r, int b) { c_.ellipse(Rect{l, t, r, b}); }
  void marker(Point p) {
    ellipse(p.x - 3, p.y - 3, p.x + 3, p.y + 3);
    ellipse(p.x - 2, p.y - 2, p.x + 2, p.y + 2);
    ellipse(p.x - 1, p.y - 1, p.x + 1, p.y + 1);
  }
  // Two lines, one pixel apart, so that every curve is two pixels thick.
  void segment(Point a, Point b) {
    c_.line(a.x - 1, a.y - 1, b.x - 1, b.y - 1);
    c_.line(a.x - 1, a.y, b.x - 1, b.y);
  }

  void background() {
    c_.setPenColor(kWhite);
    for (int y = 0; y <= 585; ++y) c_.line(0, y, 665, y);
  }

  void frame() {
    c_.setPenColor(kBlack);
    for (int x = 40; x >= 38; --x) c_.line(x, 20, x, 520);
    for (int y = 520; y <= 522; ++y) c_.line(10, y, 540, y);
    for (int x = 540; x <= 542; ++x) c_.line(x, 20, x, 520);
    c_.line(30, 20, 550, 20);
  }

  void axisTexts() {
    text(30, 5, "xв");
    text(50, 5, "xв");
    text(530, 5, "k");
    text(550, 2, "k");
    text(560, 515, "C%");
  }

  void verticalLabels() {
    for (int i = 1; i <= 25; ++i) {
      if (i == 1) number(544, 15, 100);
      if (i != 25) number(550, 20 * i + 15, 100 - 4 * i);
      number(10, 20 * i + 15, 4 * i);
    }
  }

  void sampleContentLine() {
    const double k = kx();
    const int xa = pixel(alpha() * k);
    c_.setPenColor(kRed);
    c_.line(40 + xa, 517, 40 + xa, 17);
    c_.line(41 + xa, 517, 41 + xa, 17);
  }

  void horizontalLabels() {
    c_.setPenColor(kBlack);
    for (int i = 1; i <= 13; ++i) {
      if (i == 1) {
        number(35, 530, 0);
        number(75, 530, Hmax() / 12.5);
      } else if (i <= 12) {
        number(40 * i + 35, 530, cut(Hmax() / 12.5 * i * 100) / 100);
      } else {
        text(545, 530, s_.results.cell(1, P_));
      }
    }
  }

  void grid() {
    c_.setPenColor(kGrey);
    for (int j = 1; j <= 50; ++j) {
      c_.line(40 + 10 * j, 20, 40 + 10 * j, 530);
      c_.line(30, 20 + 10 * j, 550, 20 + 10 * j);
    }
  }

  void curves() {
    c_.setPenColor(kBlack);
    if (P_ < 0) return;
    const bool graph4 = s_.ws.ShowGraph4 == ShowGraph4::Show;
    for (int g = 0; g <= P_; ++g) {
      if (g == 0) {
        ellipse(37, 17, 43, 23);
        ellipse(38, 18, 42, 23);
        ellipse(39, 19, 41, 21);
        segment({40, 20}, lambda(1));
        segment({40, 20}, theta(1));
      } else {
        marker(lambda(g));
        if (g != P_) segment(lambda(g), lambda(g + 1));
        marker(theta(g));
        if (g != P_) segment(theta(g), theta(g + 1));
      }
      if (g >= 1 && g <= P_ - 1) {
        marker(beta(g));
        if (g <= P_ - 2) {
          segment(beta(g), beta(g + 1));
          Point start{40 + X(alpha()), 20};
          segment(start, beta(1));
        }
      }
      if (graph4) {
        if (g == 0) {
          ellipse(37, 517, 43, 523);
          ellipse(38, 518, 42, 523);
          ellipse(39, 519, 41, 521);
          Point e = epsilon(1);
          c_.line(37, 520, e.x - 1, e.y - 1);
          e = epsilon(1);
          c_.line(37, 521, e.x - 1, e.y);
        } else {
          marker(epsilon(g));
          if (g != P_) segment(epsilon(g), epsilon(g + 1));
        }
      }
    }
  }

  void stamp(Letter letter, double scale, int x0, int y0) {
    stampLetter(c_, letter, f_.spans(letter), scale, x0, y0);
  }

  void curveLetters() {
    const std::int32_t n = s_.fmt.parseInteger(s_.pointText);
    // Both bounds test the number as typed: with one pocket and a number of 2 or more the row
    // comes out as 0 (the header row), which then fails to convert.
    f_.LabelPoint = n;
    if (n >= P_ - 1) f_.LabelPoint = P_ - 1;
    if (n <= 1) f_.LabelPoint = 1;
    const int t = f_.LabelPoint;
    f_.LabelPointEps = P_ - t;
    f_.ThetaOrgX = X(Ct(t)) + 37;
    f_.ThetaOrgY = Y(Yt(t));
    f_.LambdaOrgX = X(H(t)) + 37;
    f_.LambdaOrgY = Y(Yt(t));
    f_.BetaOrgX = X(Cc(t)) + 37;
    f_.BetaOrgY = 500 - Y(Yc(t));
    f_.EpsilonOrgX = X(H(P_ - t));
    f_.EpsilonOrgY = 490 - Y(Rt(P_ - t));
    f_.AlphaOrgX = X(alpha()) + 30;
    f_.AlphaOrgY = 480;
    stamp(Letter::Theta, 0.4, f_.ThetaOrgX, f_.ThetaOrgY);
    stamp(Letter::Lambda, 0.4, f_.LambdaOrgX, f_.LambdaOrgY);
    stamp(Letter::Beta, 0.4, f_.BetaOrgX, f_.BetaOrgY);
    if (s_.ws.ShowGraph4 == ShowGraph4::Show)
      stamp(Letter::Epsilon, 0.4, f_.EpsilonOrgX, f_.EpsilonOrgY);
    stamp(Letter::Alpha, 0.4, f_.AlphaOrgX, f_.AlphaOrgY);
  }

  void titleLetters() {
    f_.TitleOrgX = 10;
    f_.TitleOrgY = -5;
    stamp(Letter::Gamma, 0.3, f_.TitleOrgX, f_.TitleOrgY);
    stamp(Letter::Epsilon, 0.3, 30, -5);
    stamp(Letter::Gamma, 0.3, 510, -9);
    stamp(Letter::Epsilon, 0.3, 530, -9);
  }

  Canvas& c_;
  const DiagramSource& s_;
  GraphFields& f_;
  const int P_;
  const ResultsLayout L_;
};

}  // namespace

void paintDiagram(Canvas& canvas, const DiagramSource& source, GraphFields& fields) {
  Painter(canvas, source, fields).paint();
}

}  // namespace ore::graph
