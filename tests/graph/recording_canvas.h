#pragma once
// A pixel canvas that also keeps a log of the calls made on it, one text line per call.

#include <string>
#include <vector>

#include "graph/pixel_canvas.h"

namespace ore::graph::test {

class RecordingCanvas : public PixelCanvas {
 public:
  RecordingCanvas(int w = 665, int h = 585) : PixelCanvas(w, h) {}
  void setPenColor(Rgb c) override {
    log("pen " + std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b));
    PixelCanvas::setPenColor(c);
  }
  void line(int x1, int y1, int x2, int y2) override {
    log("line " + nums({x1, y1, x2, y2}));
    PixelCanvas::line(x1, y1, x2, y2);
  }
  void ellipse(const Rect& b) override {
    log("ellipse " + nums({b.left, b.top, b.right, b.bottom}));
    PixelCanvas::ellipse(b);
  }
  void textOut(int x, int y, std::string_view t) override {
    log("text " + nums({x, y}) + " " + std::string(t));
    PixelCanvas::textOut(x, y, t);
  }
  void stretchCopy(const Picture& p, const Rect& f, const Rect& t) override {
    log("copy " + nums({f.left, f.top, f.right, f.bottom}) + " -> " +
        nums({t.left, t.top, t.right, t.bottom}));
    PixelCanvas::stretchCopy(p, f, t);
  }

  std::vector<std::string> calls;
  // Index of the first call equal to text, or -1.
  int find(const std::string& text) const {
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i] == text) return static_cast<int>(i);
    return -1;
  }
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }

 private:
  void log(std::string s) { calls.push_back(std::move(s)); }
  static std::string nums(std::initializer_list<int> v) {
    std::string s;
    for (int x : v) s += (s.empty() ? "" : " ") + std::to_string(x);
    return s;
  }
};

}  // namespace ore::graph::test
