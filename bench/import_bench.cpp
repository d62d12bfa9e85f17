// Times the import without windows: the file read into the lump arrays with the dialog's
// defaults (B, C, D from row 2, one content, pockets by content), the source grid filled and
// "Перевести данные", as the program and orefrac-batch --lumps do. Prints the median wall and CPU
// time of several imports and the process's peak memory; bench/run-import's figures set against
// these show what the program's window costs on top.
//
// import_bench [--repeat N] [--decimal C] [--no-grid] FILE
//   --no-grid: no source grid, the arrays read back in place, as orefrac-batch without --lumps

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "data/errors.h"
#include "import/content_columns.h"
#include "import/source_read_back.h"
#include "import/workbook_import.h"

namespace {

double cpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

class QuietView : public ore::ImportView {
 public:
  QuietView(std::string file, bool grid) : file_(std::move(file)), grid_(grid) {}
  void drawDialogCaption(const std::string&) override {}
  std::string chooseFile() override { return file_; }
  void showButton3() override {}
  void hideDialog() override {}
  void drawCountText(const std::string&) override {}
  ore::TextGrid& sourceGrid() override { return grid; }
  bool showsSourceGrid() const override { return grid_; }
  void showGroup() override {}
  ore::TextGrid grid;

 private:
  std::string file_;
  bool grid_;
};

}  // namespace

int main(int argc, char** argv) {
  int repeat = 3;
  char decimal = ',';
  bool grid = true;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
      repeat = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--decimal") == 0 && i + 1 < argc)
      decimal = argv[++i][0];
    else if (std::strcmp(argv[i], "--no-grid") == 0)
      grid = false;
    else
      file = argv[i];
  }
  if (file.empty()) {
    std::fprintf(stderr, "import_bench [--repeat N] [--decimal C] [--no-grid] FILE\n");
    return 2;
  }
  const ore::NumberFormat fmt(decimal);
  std::vector<double> wall, cpu;
  int lumps = 0;
  for (int k = 0; k < repeat; ++k) {
    ore::Workspace ws;
    ws.PocketBasis = ore::PocketBasis::ByContent;
    ore::TextGrid columns(2, 1);
    ore::updateContentColumns("1", columns, ws, fmt);
    QuietView view(file, grid);
    ore::Progress progress;
    const auto w0 = std::chrono::steady_clock::now();
    const double c0 = cpuSeconds();
    try {
      ore::importWorkbook(ore::ImportTexts(), ws, fmt, view, progress);
      if (grid)
        ore::readBackSourceGrid(view.grid, fmt, ws);
      else
        ore::readBackLumps(fmt, ws);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), e.what());
      return 1;
    }
    cpu.push_back(cpuSeconds() - c0);
    wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count());
    lumps = ws.LumpCount;
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  std::printf("%s: %d lumps; import %.3f s wall, %.3f s cpu (median of %d), peak %.0f MB\n",
              file.c_str(), lumps, wall[wall.size() / 2], cpu[cpu.size() / 2], repeat,
              ru.ru_maxrss / 1024.0);
  return 0;
}
