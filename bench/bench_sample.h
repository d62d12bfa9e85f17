#pragma once
// What the analysis benchmarks share: one large synthetic sample and the timing helpers.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

#include "data/workspace.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// n lumps with log-normal masses, contents 0..10 to three decimals (ties, as measured contents
// have), a parameter and contents-1 further contents; always the same lumps.
inline void fillSample(ore::Workspace& ws, int n, int contents) {
  ws.LumpCount = n;
  ws.resizeLumps(n);
  std::mt19937_64 rng(2024);
  std::lognormal_distribution<double> mass(0, 0.7);
  std::uniform_real_distribution<double> content(0, 10), extra(0, 60);
  for (int i = 1; i <= n; ++i) {
    ws.Mass[i] = mass(rng);
    ws.Content[i] = std::round(content(rng) * 1000) / 1000;
    ws.Param[i] = content(rng);
    for (int k = 1; k < contents && k <= 9; ++k) ws.ExtraContents[k][i] = extra(rng);
  }
  ws.ContentCount = contents;
}

}  // namespace bench
