#pragma once
// Building lump data sets and pocket tables for the analysis tests, and a view that records the
// run's calls.

#include <string>
#include <vector>

#include "analysis/fraction_analysis.h"
#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore::analysis::testing {

struct Lump {
  double mass = 1;
  double content = 0;
  double param = 0;
  std::vector<double> extra;  // further contents 1, 2, ...
};

// A workspace as the windows leave it after an import: arrays of n + 1 elements, element 0 zero.
inline Workspace makeWorkspace(const std::vector<Lump>& lumps, int contentCount = 1,
                               std::string precision = "0,01",
                               PocketBasis pocketBasis = PocketBasis::ByContent,
                               DistributionKind distributionKind = DistributionKind::Content) {
  Workspace ws;
  ws.LumpCount = static_cast<std::int32_t>(lumps.size());
  ws.resizeLumps(ws.LumpCount);
  for (size_t i = 0; i < lumps.size(); ++i) {
    ws.Mass[i + 1] = lumps[i].mass;
    ws.Content[i + 1] = lumps[i].content;
    ws.Param[i + 1] = lumps[i].param;
    for (size_t k = 0; k < lumps[i].extra.size(); ++k)
      ws.ExtraContents[k + 1][i + 1] = lumps[i].extra[k];
  }
  ws.ContentCount = contentCount;
  ws.PrecisionText = std::move(precision);
  ws.PocketBasis = pocketBasis;
  ws.DistributionKind = distributionKind;
  return ws;
}

// The pocket table as the calculation dialog prepares it, with the limits typed in.
inline TextGrid pocketTable(const std::vector<std::string>& limits) {
  const int P = static_cast<int>(limits.size());
  TextGrid t(2, P + 1);
  t.setCell(1, 0, "Карман");
  for (int r = 1; r <= P; ++r) {
    t.setCell(0, r, std::to_string(r));
    t.setCell(1, r, limits[r - 1]);
  }
  return t;
}

class RecordingView : public AnalysisView {
 public:
  std::vector<std::string> calls;
  std::vector<HistogramPoint> points;
  std::string label;
  std::vector<std::string> notes;
  int pointsPerPage = -1;

  void showResultsWindows() override { calls.push_back("show"); }
  void setHistogram(const std::vector<HistogramPoint>& p) override {
    calls.push_back("histogram");
    points = p;
  }
  void showLabel() override { calls.push_back("showLabel"); }
  void setLabel(const std::string& text) override {
    calls.push_back("setLabel");
    label = text;
  }
  void setNotes(const std::vector<std::string>& lines) override {
    calls.push_back("notes");
    notes = lines;
  }
  void setPointsPerPage(int n) override {
    calls.push_back("pointsPerPage");
    pointsPerPage = n;
  }
};

// One body row of the results grid, columns 0 to the last.
inline std::vector<std::string> row(const TextGrid& g, int r) {
  std::vector<std::string> cells;
  for (int c = 0; c < g.colCount(); ++c) cells.push_back(g.cell(c, r));
  return cells;
}

}  // namespace ore::analysis::testing
