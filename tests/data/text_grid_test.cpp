#include "data/text_grid.h"

#include <gtest/gtest.h>

#include "data/workspace.h"

namespace ore {
namespace {

TEST(TextGridTest, ResizeKeepsRemainingCells) {
  TextGrid g(2, 6);
  for (int r = 1; r <= 5; ++r) g.setCell(1, r, std::to_string(r));
  g.setRowCount(4);
  EXPECT_EQ(g.cell(1, 3), "3");
  EXPECT_EQ(g.cell(1, 4), "");  // outside reads empty
  g.setRowCount(6);
  EXPECT_EQ(g.cell(1, 4), "");  // a re-grown row starts empty
  g.setColCount(3);
  EXPECT_EQ(g.cell(1, 2), "2");
  g.setCell(9, 9, "x");  // outside: ignored
  EXPECT_EQ(g.cell(9, 9), "");
}

TEST(TextGridTest, MovesRowsAndColumns) {
  TextGrid g(2, 4);
  for (int r = 0; r < 4; ++r) g.setCell(1, r, std::to_string(r));
  g.moveRow(1, 3);
  EXPECT_EQ(g.cell(1, 1), "2");
  EXPECT_EQ(g.cell(1, 2), "3");
  EXPECT_EQ(g.cell(1, 3), "1");
  g.moveRow(3, 1);
  EXPECT_EQ(g.cell(1, 1), "1");
  g.moveColumn(1, 0);
  EXPECT_EQ(g.cell(0, 2), "2");
}

TEST(WorkspaceTest, ResizeKeepsOldValuesAndZeroesNew) {
  Workspace ws;
  EXPECT_TRUE(ws.Mass.empty());
  ws.resizeLumps(5);
  ws.Mass[3] = 7;
  ws.resizeLumps(3);
  EXPECT_EQ(ws.Mass.size(), 4u);
  EXPECT_EQ(ws.ExtraContents[9].size(), 4u);
  EXPECT_EQ(ws.Mass[3], 7);
  EXPECT_EQ(ws.Mass[0], 0);
  // A further content's array shrunk and grown again within its memory comes back as zeros.
  for (int n : {6, 2, 6}) {
    ws.resizeLumps(n);
    for (int j = 3; j <= n; ++j) EXPECT_EQ(ws.ExtraContents[4][j], 0) << n << " " << j;
    for (int j = 1; j <= n; ++j) ws.ExtraContents[4][j] = 9;
  }
  ws.ExtraContents[4].clear();
  ws.ExtraContents[4].resize(6);
  EXPECT_EQ(ws.ExtraContents[4][5], 0);
}

}  // namespace
}  // namespace ore
