#include "graph/histogram_picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/errors.h"
#include "graph/diagram_font.h"
#include "graph/label_groups.h"
#include "graph/picture_files.h"
#include "graph/pixel_canvas.h"
#include "platform/files/safe_file_writer.h"

namespace ore::graph {

namespace {

constexpr int kConnector = 20;

// Where everything goes: computed once, drawn by the canvas and by the SVG writer alike.
struct Layout {
  struct Bar {
    int left, right, top, bottom;  // right and bottom exclusive
    std::string label;
    bool labelled;
  };
  struct Tick {
    int y;
    std::string text;
  };
  int plotLeft, plotRight, plotTop, plotBottom;
  std::vector<Bar> bars;
  std::vector<Tick> ticks;
};

int markWidth(const std::string& label) {
  return font::textWidth(label) + 6;
}

std::string countText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

Layout layout(const std::vector<HistogramBar>& bars, int width, int height) {
  Layout l;
  // A scale from 0 over whole steps of 1, 2 or 5 times a power of ten, with headroom above the
  // tallest bar for its connector and mark.
  double lo = 0, hi = 0;
  for (const HistogramBar& b : bars) {
    lo = std::min(lo, b.count);
    hi = std::max(hi, b.count);
  }
  const double top = std::max(1.0, hi * 1.2), bottom = lo < 0 ? lo * 1.2 : 0;
  double step = 1;
  while ((top - bottom) / step > 10) {
    const double p = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double m = step / p;
    step = (m < 1.5 ? 2 : m < 3.5 ? 5 : 10) * p;
  }
  const double smin = std::floor(bottom / step) * step, smax = std::ceil(top / step) * step;
  int tickWidth = 0;
  for (double v = smin; v <= smax + step / 2; v += step)
    tickWidth = std::max(tickWidth, font::textWidth(countText(v)));
  l.plotLeft = 16 + tickWidth + 6;
  l.plotRight = width - 16;
  l.plotTop = 16 + font::kHeight + 12;
  l.plotBottom = height - 16 - font::kHeight - 6;
  const double plotH = l.plotBottom - l.plotTop;
  auto yOf = [&](double v) {
    return l.plotBottom - static_cast<int>((v - smin) / (smax - smin) * plotH);
  };
  for (double v = smin; v <= smax + step / 2; v += step) l.ticks.push_back({yOf(v), countText(v)});
  const int n = static_cast<int>(bars.size());
  const double slot = n ? double(l.plotRight - l.plotLeft) / n : 0;
  for (int i = 0; i < n; ++i) {
    const double centre = l.plotLeft + (i + 0.5) * slot;
    const int half = std::max(1, static_cast<int>(slot * 0.3));
    const int y0 = yOf(0), y1 = yOf(bars[i].count);
    l.bars.push_back({static_cast<int>(centre) - half, static_cast<int>(centre) + half,
                      std::min(y0, y1), std::max(y0, y1), bars[i].label, false});
  }
  // A mark is as wide as its label's frame; labelled bars stand so far apart that the widest
  // frames keep a pixel between them, whatever the rounding of the bar centres.
  int widest = 0;
  for (const HistogramBar& b : bars) widest = std::max(widest, markWidth(b.label));
  const int size = labelGroupSize(n, [&](int s) { return s * slot >= widest + 2; });
  for (int i : labelledBars(n, n, size)) l.bars[static_cast<size_t>(i)].labelled = true;
  return l;
}

void fillRect(Canvas& c, int left, int top, int right, int bottom) {
  for (int y = top; y < bottom; ++y) c.line(left, y, right, y);
}

void frame(Canvas& c, int left, int top, int right, int bottom) {
  c.line(left, top, right, top);
  c.line(right, top, right, bottom);
  c.line(right, bottom, left, bottom);
  c.line(left, bottom, left, top);
}

std::string xmlEscaped(const std::string& s) {
  std::string out;
  for (char ch : s) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

std::string endingOf(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string e = path.substr(dot + 1);
  for (char& ch : e) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return e;
}

}  // namespace

void drawHistogram(Canvas& canvas, const std::vector<HistogramBar>& bars,
                   const std::string& title) {
  const Layout l = layout(bars, canvas.width(), canvas.height());
  canvas.setPenColor(kBlack);
  canvas.textOut((canvas.width() - font::textWidth(title)) / 2, 12, title);
  for (const Layout::Tick& t : l.ticks) {
    canvas.setPenColor(Rgb{220, 220, 220});
    canvas.line(l.plotLeft, t.y, l.plotRight, t.y);
    canvas.setPenColor(kBlack);
    canvas.line(l.plotLeft - 4, t.y, l.plotLeft, t.y);
    canvas.textOut(l.plotLeft - 6 - font::textWidth(t.text), t.y - font::kHeight / 2, t.text);
  }
  canvas.setPenColor(kBlack);
  canvas.line(l.plotLeft, l.plotTop, l.plotLeft, l.plotBottom + 1);
  canvas.line(l.plotLeft, l.plotBottom, l.plotRight, l.plotBottom);
  for (const Layout::Bar& b : l.bars) {
    canvas.setPenColor(kRed);
    fillRect(canvas, b.left, b.top, b.right, b.bottom);
    if (!b.labelled) continue;
    const int centre = (b.left + b.right) / 2;
    const int w = markWidth(b.label);
    canvas.setPenColor(kBlack);
    canvas.textOut(centre - font::textWidth(b.label) / 2, l.plotBottom + 4, b.label);
    canvas.line(centre, b.top, centre, b.top - kConnector);
    const int boxTop = b.top - kConnector - font::kHeight - 2;
    canvas.textOut(centre - w / 2 + 3, boxTop + 1, b.label);
    frame(canvas, centre - w / 2, boxTop, centre - w / 2 + w, b.top - kConnector);
  }
}

std::string histogramSvg(const std::vector<HistogramBar>& bars, const std::string& title, int width,
                         int height) {
  const Layout l = layout(bars, width, height);
  std::string s;
  auto num = [](int v) { return std::to_string(v); };
  auto text = [&](int x, int y, const std::string& t, const char* anchor) {
    s += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\" text-anchor=\"" + anchor + "\">" +
         xmlEscaped(t) + "</text>\n";
  };
  auto line = [&](int x1, int y1, int x2, int y2, const char* colour) {
    s += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
         num(y2) + "\" stroke=\"" + colour + "\"/>\n";
  };
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(width) + "\" height=\"" +
       num(height) + "\" viewBox=\"0 0 " + num(width) + " " + num(height) + "\">\n";
  s += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  s += "<g font-family=\"DejaVu Sans, sans-serif\" font-size=\"11px\" fill=\"black\" "
       "shape-rendering=\"crispEdges\">\n";
  text(width / 2, 12 + font::kAscent, title, "middle");
  for (const Layout::Tick& t : l.ticks) {
    line(l.plotLeft, t.y, l.plotRight, t.y, "#dcdcdc");
    line(l.plotLeft - 4, t.y, l.plotLeft, t.y, "black");
    text(l.plotLeft - 6, t.y - font::kHeight / 2 + font::kAscent, t.text, "end");
  }
  line(l.plotLeft, l.plotTop, l.plotLeft, l.plotBottom, "black");
  line(l.plotLeft, l.plotBottom, l.plotRight, l.plotBottom, "black");
  for (const Layout::Bar& b : l.bars) {
    s += "<rect x=\"" + num(b.left) + "\" y=\"" + num(b.top) + "\" width=\"" +
         num(b.right - b.left) + "\" height=\"" + num(b.bottom - b.top) +
         "\" fill=\"#ff0000\"><title>" + xmlEscaped(b.label) + "</title></rect>\n";
    if (!b.labelled) continue;
    const int centre = (b.left + b.right) / 2;
    const int w = markWidth(b.label);
    const int boxTop = b.top - kConnector - font::kHeight - 2;
    text(centre, l.plotBottom + 4 + font::kAscent, b.label, "middle");
    line(centre, b.top, centre, b.top - kConnector, "black");
    s += "<rect x=\"" + num(centre - w / 2) + "\" y=\"" + num(boxTop) + "\" width=\"" + num(w) +
         "\" height=\"" + num(font::kHeight + 2) + "\" fill=\"#ffffe1\" stroke=\"black\"/>\n";
    text(centre, boxTop + 1 + font::kAscent, b.label, "middle");
  }
  s += "</g>\n</svg>\n";
  return s;
}

void saveHistogram(const std::string& path, const std::vector<HistogramBar>& bars,
                   const std::string& title) {
  const std::string ending = endingOf(path);
  if (ending == "svg") {
    writeFileSafely(path, histogramSvg(bars, title));
    return;
  }
  if (ending != "png" && ending != "pdf")
    throw Error("Гистограмма сохраняется в файл .png, .svg или .pdf, а не «" + path + "»");
  PixelCanvas canvas(kHistogramWidth, kHistogramHeight);
  drawHistogram(canvas, bars, title);
  if (ending == "png")
    writePng(path, canvas.picture());
  else
    writePdf(path, canvas.picture());
}

}  // namespace ore::graph
