#include "analysis/pocket_distribution.h"

#include "analysis/grid_numbers.h"

namespace ore::analysis {

ContentColumns contentColumns(const Workspace& ws, int K) {
  ContentColumns cols{};
  cols[1] = ws.Content.data();
  for (int k = 2; k <= K; ++k) cols[k] = ws.ExtraContents[k - 1].data();
  return cols;
}

SampleTotals sampleTotals(const Workspace& ws, int K) {
  SampleTotals t;
  const ContentColumns c = contentColumns(ws, K);
  const double* m = ws.Mass.data();
  for (std::int32_t i = 1; i <= ws.LumpCount; ++i) {
    t.M += m[i];
    for (int k = 1; k <= K; ++k) t.T[k] += m[i] * c[k][i];
  }
  if (t.M != 0)
    for (int k = 1; k <= K; ++k) t.a[k] = t.T[k] / t.M;
  return t;
}

PocketSums distributeLumps(const Workspace& ws, const double* key, int K, int P, double M,
                           const std::function<double(int)>& limit) {
  PocketSums s;
  s.N.assign(P + 1, 0);
  s.W.assign(P + 1, 0);
  s.Y.assign(P + 1, 0);
  s.Q.assign(P + 1, {});
  const std::int32_t n = ws.LumpCount;
  if (n <= 0) return s;  // no lump needs a limit, and no yield is evaluated
  const ContentColumns c = contentColumns(ws, K);
  const double* m = ws.Mass.data();
  for (int j = 1; j <= P; ++j) {
    // The texts cannot change during the run, so converting a limit once, when the first lump
    // needs it, gives what converting it at every lump would, failure point included.
    long double lower = j == 1 ? 0.0L : static_cast<long double>(limit(j - 1)) + 1e-11L;
    long double upper = 0;
    bool haveUpper = false;
    double N = 0, W = 0;
    std::array<double, kMaxComputedContents + 1> Q{};
    for (std::int32_t i = 1; i <= n; ++i) {
      const long double d = key[i];
      if (!(d > lower)) continue;
      if (!haveUpper) {
        upper = static_cast<long double>(limit(j)) + 1e-12L;
        haveUpper = true;
      }
      if (!(d <= upper)) continue;
      N += 1;
      W += m[i];
      for (int k = 1; k <= K; ++k) Q[k] += m[i] * c[k][i];
    }
    s.N[j] = N;
    s.W[j] = W;
    s.Q[j] = Q;
    s.Y[j] = W / M * 100;
  }
  return s;
}

void writePocketBlock(TextGrid& results, const PocketSums& s, const SampleTotals& t, int C, int K,
                      int P, const NumberFormat& fmt) {
  for (int j = 1; j <= P; ++j) {
    writeNumber(results, 2, j, s.Y[j], fmt);
    for (int k = 1; k <= K; ++k) {
      double B = s.W[j] != 0 ? s.Q[j][k] / s.W[j] : 0.0;
      writeNumber(results, 2 + k, j, B, fmt);
    }
    if (t.T[1] != 0) {
      for (int k = 1; k <= K; ++k) {
        double E = t.T[k] != 0 ? s.Q[j][k] / t.T[k] * 100 : 0.0;
        writeNumber(results, C + 2 + k, j, E, fmt);
      }
    }
  }
}

}  // namespace ore::analysis
