#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "graph/histogram_picture.h"
#include "graph/pixel_canvas.h"

namespace ore::batch {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::uint32_t be32(const std::string& s, size_t at) {
  return (std::uint32_t(std::uint8_t(s[at])) << 24) |
         (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
         (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint8_t(s[at + 3]);
}

const std::vector<graph::HistogramBar> kBars = {{"5", 2}, {"10,0", 0}, {"<15>", 5}};

// Red pixels in the column through the middle of each bar: taller bars, longer runs; an empty
// pocket none.
TEST(BatchHistogram, BarsStandOnOneScaleInPocketOrder) {
  graph::PixelCanvas c(graph::kHistogramWidth, graph::kHistogramHeight);
  graph::drawHistogram(c, kBars, "Гистограмма");
  // Runs of columns holding red: one per bar that has lumps.
  std::vector<std::pair<int, int>> runs;  // first column, red pixels in its middle column
  auto redIn = [&](int x) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y) n += c.pixel(x, y) == graph::kRed;
    return n;
  };
  for (int x = 0; x < c.width(); ++x) {
    if (!redIn(x)) continue;
    int end = x;
    while (end + 1 < c.width() && redIn(end + 1)) ++end;
    runs.push_back({x, redIn((x + end) / 2)});
    x = end;
  }
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_NEAR(double(runs[1].second) / runs[0].second, 2.5, 0.05);
}

// The three kinds of file, chosen by the name's ending: a PNG whose pixels are the drawing, a PDF
// holding it, an SVG with a red rect per pocket and the limit texts escaped; another ending is
// refused on the command line.
TEST(BatchHistogram, WritesPngSvgAndPdfByTheEnding) {
  BatchState state(',');
  for (const graph::HistogramBar& b : kBars) state.histogram.push_back({0, b.count, b.label});
  const std::string base =
      (std::filesystem::temp_directory_path() / "orefrac-histogram-").string() +
      std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  for (const char* ending : {".png", ".SVG", ".pdf"}) {
    SCOPED_TRACE(ending);
    Options o;
    o.histogramFile = base + ending;
    histogramStage(o, state);
    const std::string bytes = readAll(*o.histogramFile);
    std::remove(o.histogramFile->c_str());
    if (std::string(ending) == ".png") {
      ASSERT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
      const std::uint32_t w = be32(bytes, 16), h = be32(bytes, 20);
      ASSERT_EQ(w, 921u);
      ASSERT_EQ(h, 441u);
      const size_t idat = bytes.find("IDAT");
      ASSERT_NE(idat, std::string::npos);
      std::string raw(size_t(h) * (w * 3 + 1), '\0');
      uLongf size = raw.size();
      ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                           reinterpret_cast<const Bytef*>(bytes.data() + idat + 4),
                           be32(bytes, idat - 4)),
                Z_OK);
      graph::PixelCanvas c(w, h);
      graph::drawHistogram(c, kBars, "Гистограмма");
      int differ = 0;
      for (int y = 0; y < int(h); ++y)
        for (int x = 0; x < int(w); ++x) {
          const char* p = raw.data() + size_t(y) * (w * 3 + 1) + 1 + x * 3;
          const graph::Rgb px = c.pixel(x, y);
          differ += std::uint8_t(p[0]) != px.r || std::uint8_t(p[1]) != px.g ||
                    std::uint8_t(p[2]) != px.b;
        }
      EXPECT_EQ(differ, 0);
    } else if (std::string(ending) == ".pdf") {
      EXPECT_EQ(bytes.substr(0, 8), "%PDF-1.4");
      EXPECT_NE(bytes.find("/Width 921 /Height 441"), std::string::npos);
      EXPECT_NE(bytes.find("%%EOF"), std::string::npos);
    } else {
      size_t bars = 0;
      for (size_t at = 0; (at = bytes.find("fill=\"#ff0000\"", at)) != std::string::npos; ++at)
        ++bars;
      EXPECT_EQ(bars, 3u);
      EXPECT_NE(bytes.find(">10,0<"), std::string::npos);
      EXPECT_NE(bytes.find("&lt;15&gt;"), std::string::npos);
      EXPECT_NE(bytes.find("Гистограмма"), std::string::npos);
    }
  }
  EXPECT_THROW(parseOptions({"book.xlsx", "--limits", "1", "--histogram", "h.bmp"}), Error);
  EXPECT_EQ(*parseOptions({"book.xlsx", "--limits", "1", "--histogram", "h.Png"}).histogramFile,
            "h.Png");
}

}  // namespace
}  // namespace ore::batch
