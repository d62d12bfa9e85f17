// Member calls of the automation layer and the workbook import over a sheet of a million
// lumps held in memory (no file is read): prints the median of several runs of each.
//
//   build/dev/automation_bench [lumps] [runs]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/workspace.h"
#include "import/content_columns.h"
#include "import/workbook_import.h"
#include "platform/spreadsheet/excel_application.h"

namespace {

using ore::automation::Args;
using ore::automation::Variant;

ore::Workbook lumpBook(int lumps, int contents) {
  ore::Workbook wb;
  wb.sheets.emplace_back("Проба");
  ore::Sheet& s = wb.sheets[0];
  for (int i = 1; i <= lumps; ++i) {
    for (int c = 2; c <= 3 + contents; ++c) {
      ore::Cell cell;
      cell.type = ore::Cell::Type::Number;
      cell.number = i * 0.5 + c;
      s.set(i + 1, c, cell);
    }
  }
  return wb;
}

double seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

template <class F>
double medianOf(int runs, F&& f) {
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    f();
    t.push_back(seconds(std::chrono::steady_clock::now() - start));
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

// Notes the time of each step the import tells its windows about, so the phases are timed
// apart: open (file chosen .. Button3), count (.. count text), reading (.. grid asked for),
// grid (.. group shown), close (.. dialog hidden).
class TimingView : public ore::ImportView {
 public:
  void drawDialogCaption(const std::string&) override {}
  std::string chooseFile() override {
    mark();
    return "bench.xlsx";
  }
  void showButton3() override { mark(); }
  void hideDialog() override {
    if (marks.size() == 5) mark();
  }
  void drawCountText(const std::string&) override { mark(); }
  ore::TextGrid& sourceGrid() override {
    mark();
    return grid;
  }
  void showGroup() override { mark(); }

  void mark() { marks.push_back(std::chrono::steady_clock::now()); }
  std::vector<std::chrono::steady_clock::time_point> marks;
  ore::TextGrid grid;
};

}  // namespace

int main(int argc, char** argv) {
  const int lumps = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  const int contents = 3;
  const ore::Workbook book = lumpBook(lumps, contents - 1);
  auto reader = [&](const std::string&) { return book; };
  ore::NumberFormat fmt(',');

  // 1. The chain "sheets", "cells", "value" and the conversion, as the reading makes it.
  {
    auto app = std::make_shared<ore::ExcelApplication>(reader);
    Variant excel = Variant::fromObject(app);
    excel.get("workbooks").get("open", {Variant("bench.xlsx")});
    const Variant sheet[1] = {Variant(1)};
    double sum = 0;
    double t = medianOf(runs, [&] {
      for (int r = 2; r <= lumps + 1; ++r) {
        const Variant rc[2] = {Variant(r), Variant(2)};
        sum += excel.get("sheets", Args(sheet)).get("cells", Args(rc)).get("value").toDouble(fmt);
      }
    });
    std::printf(
        "cell read chain (3 member calls):  %8.1f ns per cell, %6.1f ns per call  (%d cells)\n",
        t / lumps * 1e9, t / lumps / 3 * 1e9, lumps);
    if (sum == 42) std::puts("");
  }

  // 2. The whole import, phase by phase.
  for (int count : {1, contents}) {
    ore::Workspace ws;
    ws.PocketBasis = ore::PocketBasis::ByContent;
    ore::TextGrid columnGrid(2, count);
    for (int k = 1; k < count; ++k) columnGrid.setCell(1, k, std::string(1, char('D' + k)));
    ore::updateContentColumns(std::to_string(count), columnGrid, ws, fmt);
    auto factory = [&](std::string_view) {
      return std::make_shared<ore::ExcelApplication>(reader);
    };
    const char* names[] = {"open (copies the workbook)", "count", "reading", "grid", "close"};
    std::vector<std::vector<double>> phases(5);
    for (int i = 0; i < runs; ++i) {
      TimingView view;
      ore::Progress progress;
      ore::importWorkbook({}, ws, fmt, view, progress, factory);
      for (size_t p = 0; p < 5; ++p)
        phases[p].push_back(seconds(view.marks[p + 1] - view.marks[p]));
    }
    std::printf("import of %d lumps, %d content(s), median of %d:\n", ws.LumpCount, count, runs);
    const double calls[] = {2, 3.0 * (lumps + 1), 3.0 * (count + 2) * lumps, 0, 2};
    for (size_t p = 0; p < 5; ++p) {
      std::sort(phases[p].begin(), phases[p].end());
      double t = phases[p][phases[p].size() / 2];
      std::printf("  %-28s %7.3f s", names[p], t);
      if (p == 1 || p == 2)
        std::printf("   %.0f member calls, %5.1f ns per call", calls[p], t / calls[p] * 1e9);
      std::printf("\n");
    }
  }
  return 0;
}
