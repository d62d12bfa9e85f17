#include "graph/histogram_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "graph/diagram_font.h"
#include "tests/graph/recording_canvas.h"

namespace ore::graph::test {
namespace {

struct Text {
  int x, y;
  std::string text;
};

std::vector<Text> textsOf(const RecordingCanvas& c) {
  std::vector<Text> out;
  for (const std::string& call : c.calls) {
    std::istringstream in(call);
    std::string word;
    Text t;
    in >> word;
    if (word != "text") continue;
    in >> t.x >> t.y;
    in.get();
    std::getline(in, t.text);
    out.push_back(t);
  }
  return out;
}

// However many pockets, the axis keeps labels spread over its whole length and clear of each
// other, and the marks above the bars likewise; with room for all, every pocket is labelled.
TEST(HistogramPicture, LabelsStayAndNeverOverlapAtAnyPocketCount) {
  const struct {
    int pockets;
    int minLabels;
  } cases[] = {{10, 10}, {100, 10}, {2000, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pockets);
    std::vector<HistogramBar> bars;
    for (int j = 1; j <= c.pockets; ++j)
      bars.push_back({std::to_string(j * 5 / 2) + ",5", double(j % 9)});
    RecordingCanvas canvas(kHistogramWidth, kHistogramHeight);
    drawHistogram(canvas, bars, "Гистограмма");
    const std::vector<Text> texts = textsOf(canvas);
    int axisY = 0;
    for (const Text& t : texts) axisY = std::max(axisY, t.y);
    std::vector<Text> axis, marks;
    for (const Text& t : texts) {
      if (t.y == axisY)
        axis.push_back(t);
      else if (t.text.find(',') != std::string::npos)
        marks.push_back(t);
    }
    ASSERT_GE(static_cast<int>(axis.size()), c.minLabels);
    EXPECT_EQ(marks.size(), axis.size());
    for (size_t i = 1; i < axis.size(); ++i) {
      EXPECT_LT(axis[i - 1].x + font::textWidth(axis[i - 1].text), axis[i].x) << axis[i].text;
      EXPECT_LT(marks[i - 1].x + font::textWidth(marks[i - 1].text) + 6, marks[i].x);
    }
    if (c.pockets == 10) {
      for (size_t i = 0; i < axis.size(); ++i) EXPECT_EQ(axis[i].text, bars[i].label);
    }
    EXPECT_LT(axis.front().x, kHistogramWidth / 4);
    EXPECT_GT(axis.back().x, kHistogramWidth * 3 / 4);
  }
}

}  // namespace
}  // namespace ore::graph::test
