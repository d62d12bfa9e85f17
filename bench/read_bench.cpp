// Reads workbooks with readWorkbook and prints, per file, the median wall and CPU time of
// several reads and the process's peak memory.
//
// read_bench [--repeat N] FILE...

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/workbook/workbook_reader.h"

namespace {

double cpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  int repeat = 5;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc)
      repeat = std::max(1, std::atoi(argv[++i]));
    else
      files.emplace_back(argv[i]);
  }
  if (files.empty()) {
    std::fprintf(stderr, "read_bench [--repeat N] FILE...\n");
    return 2;
  }
  std::printf("%-34s %9s %10s %10s %10s %9s\n", "file", "rows", "cells", "wall, s", "cpu, s",
              "peak, MB");
  for (const auto& f : files) {
    std::vector<double> wall, cpu;
    long long rows = 0, cells = 0;
    for (int k = 0; k < repeat; ++k) {
      const auto w0 = std::chrono::steady_clock::now();
      const double c0 = cpuSeconds();
      ore::Workbook wb;
      try {
        wb = ore::readWorkbook(f);
      } catch (const std::exception& e) {
        std::printf("%s: %s\n", f.c_str(), e.what());
        return 1;
      }
      cpu.push_back(cpuSeconds() - c0);
      wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count());
      rows = cells = 0;
      for (const auto& s : wb.sheets) {
        rows += s.lastRow();
        const long long lastRow = s.lastRow(), lastCol = s.lastCol();
        for (long long r = 1; r <= lastRow; ++r)
          for (long long c = 1; c <= lastCol; ++c)
            cells += s.cell(r, c).type != ore::Cell::Type::Empty;
      }
    }
    rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    const char* name = std::strrchr(f.c_str(), '/');
    std::printf("%-34s %9lld %10lld %10.3f %10.3f %9.0f\n", name ? name + 1 : f.c_str(), rows,
                cells, median(wall), median(cpu), ru.ru_maxrss / 1024.0);
  }
  return 0;
}
