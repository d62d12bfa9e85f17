#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "graph/bmp_file.h"
#include "graph/diagram_painter.h"
#include "graph/pixel_canvas.h"
#include "tests/graph/results_fixture.h"

namespace ore::batch {
namespace {

struct GraphStage {
  BatchState state{','};
  Options options;
  std::string file;

  GraphStage() {
    state.results = graph::test::resultsGrid(graph::test::fivePockets());
    state.ws.PocketCount = 5;
    state.ws.ContentCount = 1;
    file = (std::filesystem::temp_directory_path() /
            ("orefrac-graph-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
               .string();
    options.graphFile = file;
  }
  ~GraphStage() { std::remove(file.c_str()); }

  graph::Picture expected(ShowGraph4 showGraph4, const std::string& point) {
    Workspace ws = state.ws;
    ws.ShowGraph4 = showGraph4;
    graph::PixelCanvas c(665, 585);
    graph::GraphFields f;
    f.fillSpanTables();
    graph::paintDiagram(c, graph::DiagramSource{state.results, ws, point, state.fmt}, f);
    return c.picture();
  }
};

TEST(BatchGraph, SavesTheWindowsDrawingAsA24BitBitmap) {
  struct Case {
    std::optional<std::string> point;
    bool noGraph4;
    ShowGraph4 showGraph4;
    std::string usedPoint;
  } cases[] = {{std::nullopt, false, ShowGraph4::Show, "2"},
               {"3", false, ShowGraph4::Show, "3"},
               {std::nullopt, true, ShowGraph4::Hide, "2"}};
  for (const Case& c : cases) {
    GraphStage g;
    g.options.point = c.point;
    g.options.noGraph4 = c.noGraph4;
    graphStage(g.options, g.state);
    graph::Picture saved = graph::readBmp(g.file);
    EXPECT_EQ(saved.width(), 665);
    EXPECT_EQ(saved.height(), 585);
    EXPECT_TRUE(saved == g.expected(c.showGraph4, c.usedPoint)) << c.usedPoint;
    EXPECT_EQ(std::filesystem::file_size(g.file), 54u + 585u * ((665u * 3 + 3) & ~3u));
  }
}

TEST(BatchGraph, AFailingPaintWritesNoFile) {
  GraphStage g;
  g.options.point = "x";
  try {
    graphStage(g.options, g.state);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
  }
  EXPECT_FALSE(std::filesystem::exists(g.file));
}

TEST(BatchGraph, AFileThatCannotBeCreatedNamesItself) {
  GraphStage g;
  g.options.graphFile = "/nonexistent-folder/graph.bmp";
  try {
    graphStage(g.options, g.state);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Не удается создать файл /nonexistent-folder/graph.bmp: No such file or directory");
  }
}

}  // namespace
}  // namespace ore::batch
