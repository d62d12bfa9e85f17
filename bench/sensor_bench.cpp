// Times the sensor study (both curves, their best cuts, the calibration and the ROC figures at a
// cut-off grade) over a large synthetic sample whose reading follows the content with noise, as a
// sensor's does: once with readings to 0.01 (a few thousand sensor cuts), once with every reading
// distinct (a cut per lump, the most work).
//
//   sensor_bench [LUMPS [RUNS]]   (defaults 1000000 5)

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench/bench_sample.h"
#include "data/number_format.h"
#include "data/progress.h"
#include "study/sensor_study.h"

namespace {

// The processor time of the whole process: on a machine shared with other work the wall clock
// says more about the others.
double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

void time(const ore::Workspace& ws, const char* readings, int runs) {
  ore::Progress silent;
  ore::study::SensorSettings settings;
  settings.cutoffGrade = 5;
  std::vector<double> wall, cpu;
  ore::study::SensorStudy s;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = bench::Clock::now();
    const double c0 = cpuSeconds();
    s = ore::study::sensorStudy(ws, settings, silent);
    cpu.push_back(cpuSeconds() - c0);
    wall.push_back(bench::seconds(t0, bench::Clock::now()));
  }
  const ore::NumberFormat fmt(',');
  std::printf(
      "sensor study, %d lumps, readings %s: %zu sensor cuts, %zu content cuts; median "
      "%.4f s (min %.4f), cpu time %.4f s; efficiency %s %%, R2 %s, AUC %s\n",
      ws.LumpCount, readings, s.sensor.cutCount(), s.ideal.cutCount(), bench::median(wall),
      *std::min_element(wall.begin(), wall.end()), bench::median(cpu),
      fmt.format(s.efficiency).c_str(), fmt.format(s.calibration.r2).c_str(),
      fmt.format(s.oreWaste->aucCount).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

  ore::Workspace ws;
  bench::fillSample(ws, n, 1);
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0, 2);
  std::vector<double> exact(static_cast<std::size_t>(n) + 1);
  for (int i = 1; i <= n; ++i) exact[i] = ws.Content[i] + noise(rng);
  for (int i = 1; i <= n; ++i) ws.Param[i] = std::round(exact[i] * 100) / 100;
  time(ws, "to 0.01", runs);
  ws.Param = exact;
  time(ws, "distinct", runs);
  return 0;
}
