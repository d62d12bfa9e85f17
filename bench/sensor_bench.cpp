// Times the sensor study (both curves, their best cuts, the calibration and the ROC figures) over a
// large synthetic sample whose reading follows the content with noise, as a sensor's does.
//
//   sensor_bench [LUMPS [RUNS]]   (defaults 1000000 5)

#include <time.h>

#include <algorithm>
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

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

  ore::Workspace ws;
  bench::fillSample(ws, n, 1);
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0, 2);
  for (int i = 1; i <= n; ++i) ws.Param[i] = std::round((ws.Content[i] + noise(rng)) * 100) / 100;
  const ore::NumberFormat fmt(',');
  ore::Progress silent;
  ore::study::SensorSettings settings;
  settings.cutoffGrade = 5;

  std::vector<double> times, cpu;
  ore::study::SensorStudy s;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = bench::Clock::now();
    const double c0 = cpuSeconds();
    s = ore::study::sensorStudy(ws, settings, silent);
    cpu.push_back(cpuSeconds() - c0);
    times.push_back(bench::seconds(t0, bench::Clock::now()));
  }
  std::printf(
      "sensor study: lumps %d, sensor cuts %zu, content cuts %zu, runs %d: median %.4f s "
      "(min %.4f), cpu time %.4f s\n",
      n, s.sensor.cutCount(), s.ideal.cutCount(), runs, bench::median(times),
      *std::min_element(times.begin(), times.end()), bench::median(cpu));
  std::printf("efficiency %s %%, R2 %s, AUC %s\n", fmt.format(s.efficiency).c_str(),
              fmt.format(s.calibration.r2).c_str(), fmt.format(s.oreWaste->aucCount).c_str());
  return 0;
}
