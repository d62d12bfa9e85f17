// Times one fraction analysis run over a large synthetic sample and reports what it allocates.
//
//   analysis_bench [LUMPS [POCKETS [CONTENTS [RUNS]]]]   (defaults 1000000 20 3 9)

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "analysis/fraction_analysis.h"
#include "analysis/pocket_distribution.h"
#include "analysis/sample_index.h"
#include "bench/bench_sample.h"

namespace {

// Allocation accounting: every block carries its size in front of it.
struct Counters {
  size_t live = 0, peak = 0, largest = 0, count = 0;
  bool on = false;
} g;

void* allocate(size_t n) {
  void* p = std::malloc(n + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<size_t*>(p) = n;
  if (g.on) {
    g.live += n;
    g.peak = std::max(g.peak, g.live);
    g.largest = std::max(g.largest, n);
    ++g.count;
  }
  return static_cast<char*>(p) + 16;
}

void release(void* q) {
  if (!q) return;
  void* p = static_cast<char*>(q) - 16;
  if (g.on) g.live -= std::min(g.live, *static_cast<size_t*>(p));
  std::free(p);
}

}  // namespace

void* operator new(size_t n) {
  return allocate(n);
}
void* operator new[](size_t n) {
  return allocate(n);
}
void operator delete(void* p) noexcept {
  release(p);
}
void operator delete[](void* p) noexcept {
  release(p);
}
void operator delete(void* p, size_t) noexcept {
  release(p);
}
void operator delete[](void* p, size_t) noexcept {
  release(p);
}

namespace {

using bench::Clock;
using bench::median;
using bench::seconds;

// The processor time of this thread: on a shared machine it says what the run itself costs.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int P = argc > 2 ? std::atoi(argv[2]) : 20;
  const int C = argc > 3 ? std::atoi(argv[3]) : 3;
  const int runs = argc > 4 ? std::atoi(argv[4]) : 9;

  ore::Workspace ws;
  bench::fillSample(ws, n, C);
  ws.PocketCount = P;
  ws.PrecisionText = "0,01";
  ws.PocketBasis = ore::PocketBasis::ByContent;
  ws.DistributionKind = ore::DistributionKind::Content;
  const ore::NumberFormat fmt(',');
  ore::TextGrid table(2, P + 1);
  for (int j = 1; j <= P; ++j) table.setCell(1, j, fmt.format(10.0 * j / P * 0.95));

  std::vector<double> total, cpu, totals, distribution, index;
  ore::analysis::AnalysisView view;
  std::string label;
  for (int r = 0; r < runs; ++r) {
    ore::TextGrid results;
    g = Counters{};
    g.on = true;
    auto t0 = Clock::now();
    double c0 = cpuSeconds();
    auto out = ore::analysis::runFractionAnalysis(ws, table, results, fmt, view);
    double c1 = cpuSeconds();
    auto t1 = Clock::now();
    g.on = false;
    total.push_back(seconds(t0, t1));
    cpu.push_back(c1 - c0);
    label = out.label;
  }
  const Counters run = g;

  const int K = std::min(C, 6);
  for (int r = 0; r < runs; ++r) {
    double t0 = cpuSeconds();
    auto t = ore::analysis::sampleTotals(ws, K);
    double t1 = cpuSeconds();
    auto s = ore::analysis::distributeLumps(ws, ws.Content.data(), K, P, t.M,
                                            [&](int j) { return fmt.parseReal(table.cell(1, j)); });
    double t2 = cpuSeconds();
    auto i = ore::analysis::computeSampleIndex(ws, t.M, t.a[1]);
    double t3 = cpuSeconds();
    totals.push_back(t1 - t0);
    distribution.push_back(t2 - t1);
    index.push_back(t3 - t2);
    (void)s;
    (void)i;
  }

  std::printf("lumps %d, pockets %d, contents %d, runs %d\n", n, P, C, runs);
  std::printf("run          median %.4f s  (min %.4f, max %.4f)\n", median(total),
              *std::min_element(total.begin(), total.end()),
              *std::max_element(total.begin(), total.end()));
  std::printf("run cpu time median %.4f s; its parts, cpu time:\n", median(cpu));
  std::printf("  totals       median %.4f s\n", median(totals));
  std::printf("  distribution median %.4f s\n", median(distribution));
  std::printf("  index        median %.4f s  (ranking included)\n", median(index));
  std::printf(
      "allocations per run: %zu, peak live %.1f MB, largest block %.1f MB (%.1f bytes per lump)\n",
      run.count, run.peak / 1e6, run.largest / 1e6, double(run.largest) / n);
  std::printf("label: %s\n", label.c_str());
  return 0;
}
