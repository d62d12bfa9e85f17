// Times the sortability curve, the best cut and the bootstrap over a large synthetic sample.
//
//   sortability_bench [LUMPS [CONTENTS [RUNS [RESAMPLES [THREADS]]]]]   (defaults 1000000 3 5 1000
//   2)

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_sample.h"
#include "data/progress.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/cut_value.h"
#include "study/sortability_curve.h"

namespace {

using bench::Clock;
using bench::median;
using bench::seconds;

// The processor time of the whole process, all threads.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int C = argc > 2 ? std::atoi(argv[2]) : 3;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  const int resamples = argc > 4 ? std::atoi(argv[4]) : 1000;
  const unsigned threads = argc > 5 ? static_cast<unsigned>(std::atoi(argv[5])) : 2;

  ore::Workspace ws;
  bench::fillSample(ws, n, C);
  ws.DistributionKind = ore::DistributionKind::Content;
  const ore::NumberFormat fmt(',');
  ore::Progress silent;

  std::vector<double> curve, best, curveCpu, wall, cpu;
  ore::study::SortabilityCurve cv;
  ore::study::BestCut b;
  for (int r = 0; r < runs; ++r) {
    auto t0 = Clock::now();
    double c0 = cpuSeconds();
    cv = ore::study::SortabilityCurve(ws, silent);
    auto t1 = Clock::now();
    b = ore::study::bestCut(cv, std::nullopt, fmt);
    auto t2 = Clock::now();
    curveCpu.push_back(cpuSeconds() - c0);
    curve.push_back(seconds(t0, t1));
    best.push_back(seconds(t1, t2));
  }
  ore::study::BootstrapSettings settings;
  settings.resamples = resamples;
  settings.threads = threads;
  ore::study::BootstrapResult boot;
  for (int r = 0; r < std::min(runs, 3); ++r) {
    auto t0 = Clock::now();
    double c0 = cpuSeconds();
    boot = ore::study::bootstrapBestCut(cv, b, settings, silent);
    cpu.push_back(cpuSeconds() - c0);
    wall.push_back(seconds(t0, Clock::now()));
  }

  // What a cut is worth: every cut's value and the best, then the value's interval at it.
  ore::study::ValueInputs in;
  in.price[1] = 1000;
  in.costProcess = 5;
  in.costReject = 1;
  in.costSort = 0.5;
  std::vector<double> value, valueBoot;
  ore::study::BestValueCut bv;
  ore::study::ValueInterval vi;
  for (int r = 0; r < std::min(runs, 3); ++r) {
    auto t0 = Clock::now();
    bv = ore::study::bestValueCut(cv, in, {}, fmt);
    auto t1 = Clock::now();
    vi = ore::study::bootstrapCutValue(cv, bv.cut, ore::study::placeValues(cv, ws, in), in,
                                       settings, silent);
    value.push_back(seconds(t0, t1));
    valueBoot.push_back(seconds(t1, Clock::now()));
  }

  std::printf("lumps %d, contents %d, cuts %zu, runs %d\n", n, C, cv.cutCount(), runs);
  std::printf("curve          median %.4f s  (min %.4f)\n", median(curve),
              *std::min_element(curve.begin(), curve.end()));
  std::printf("best cut       median %.4f s\n", median(best));
  std::printf("curve + best   median %.4f s, cpu time %.4f s\n", median(curve) + median(best),
              median(curveCpu));
  std::printf("bootstrap %d resamples, %u threads: median %.3f s, cpu time %.3f s\n", resamples,
              threads, median(wall), median(cpu));
  std::printf("best cut %s: E %s, recovery %s..%s, yield %s..%s, within 10 %%: %d\n",
              fmt.format(b.figures.key).c_str(), fmt.format(b.figures.efficiency()).c_str(),
              fmt.format(boot.recoveryLow).c_str(), fmt.format(boot.recoveryHigh).c_str(),
              fmt.format(boot.yieldLow).c_str(), fmt.format(boot.yieldHigh).c_str(), boot.within);
  std::printf("best value cut median %.4f s; its interval, %d resamples: median %.3f s\n",
              median(value), resamples, median(valueBoot));
  std::printf("best value cut %s: V %s, V0 %s, interval %s..%s\n",
              fmt.format(bv.figures.key).c_str(), fmt.format(bv.value).c_str(),
              fmt.format(bv.withoutSorting).c_str(), fmt.format(vi.low).c_str(),
              fmt.format(vi.high).c_str());
  return 0;
}
