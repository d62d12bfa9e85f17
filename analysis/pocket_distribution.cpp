#include "analysis/pocket_distribution.h"

#include <algorithm>
#include <cmath>

#include "analysis/grid_numbers.h"
#include "data/results_layout.h"

namespace ore::analysis {

SampleTotals sampleTotals(const Workspace& ws, int K) {
  SampleTotals t;
  const ContentColumns c = contentColumns<kMaxComputedContents>(ws, K);
  const double* m = ws.Mass.data();
  for (std::int32_t i = 1; i <= ws.LumpCount; ++i) {
    t.M += m[i];
    for (int k = 1; k <= K; ++k) t.T[k] += m[i] * c[k][i];
  }
  if (t.M != 0)
    for (int k = 1; k <= K; ++k) t.a[k] = t.T[k] / t.M;
  return t;
}

namespace {

// The largest double not above x. For a double d, d > x holds exactly when d > floorToDouble(x),
// and d <= x exactly when d <= floorToDouble(x): no double lies between the two, so comparing
// the key with this double decides as comparing it with the extended sum itself.
double floorToDouble(long double x) {
  double t = static_cast<double>(x);
  if (static_cast<long double>(t) > x) t = std::nextafter(t, -HUGE_VAL);
  return t;
}

// The limits of a pocket that some lump reaches, as exact double thresholds.
struct Bounds {
  double lower, upper;
  int pocket;
};

// Every pocket's sums in one pass over the lumps. Each pocket still adds its lumps in lump order,
// so the sums are those of a pass per pocket, while the lump arrays are read once, not P times.
// A lump that no pocket takes is counted outside, in lump order as well.
// Lumps between two progress reports: few enough for a report every few milliseconds, many
// enough that reporting costs nothing against the sums.
constexpr std::int64_t kReportBlock = 1 << 16;

template <int K>
void addLump(PocketSums& s, int j, double mass, const ContentColumns& c, std::int64_t i) {
  s.N[j] += 1;
  s.W[j] += mass;
  for (int k = 1; k <= K; ++k) s.Q[j][k] += mass * c[k][i];
}

// Pockets that follow one another without overlap (lower limits not falling, each upper limit
// at most the next lower one): a lump can lie in the last pocket whose lower limit it exceeds
// and in no other, so a search finds its pocket instead of a test of every pocket.
bool followWithoutOverlap(const std::vector<Bounds>& bounds) {
  for (size_t t = 1; t < bounds.size(); ++t)
    if (!(bounds[t - 1].lower <= bounds[t].lower && bounds[t - 1].upper <= bounds[t].lower))
      return false;
  return true;
}

template <int K>
void sumPockets(const double* key, const double* m, const ContentColumns& c, std::int32_t n,
                const std::vector<Bounds>& bounds, PocketSums& s, Progress* progress) {
  const Bounds* b = bounds.data();
  const size_t nb = bounds.size();
  const bool ordered = followWithoutOverlap(bounds);
  std::vector<double> lowers;
  for (const Bounds& x : bounds) lowers.push_back(x.lower);
  for (std::int64_t first = 1; first <= n; first += kReportBlock) {
    const std::int64_t last = std::min<std::int64_t>(n, first + kReportBlock - 1);
    if (ordered && nb > 0) {
      for (std::int64_t i = first; i <= last; ++i) {
        const double d = key[i];
        // How many lower limits lie below d, without branches: d is in pocket t - 1 or nowhere.
        const double* base = lowers.data();
        size_t len = nb;
        while (len > 1) {
          const size_t half = len / 2;
          base = base[half - 1] < d ? base + half : base;
          len -= half;
        }
        const size_t t = static_cast<size_t>(base - lowers.data()) + (*base < d ? 1 : 0);
        if (t > 0 && d <= b[t - 1].upper) {
          addLump<K>(s, b[t - 1].pocket, m[i], c, i);
        } else {
          s.outsideN += 1;
          s.outsideW += m[i];
        }
      }
    } else {
      for (std::int64_t i = first; i <= last; ++i) {
        const double d = key[i];
        bool inside = false;
        for (size_t t = 0; t < nb; ++t) {
          if (!((d > b[t].lower) & (d <= b[t].upper))) continue;
          inside = true;
          addLump<K>(s, b[t].pocket, m[i], c, i);
        }
        if (!inside) {
          s.outsideN += 1;
          s.outsideW += m[i];
        }
      }
    }
    if (progress) {
      progress->report(static_cast<std::uint64_t>(last), static_cast<std::uint64_t>(n));
      progress->checkStop();
    }
  }
}

}  // namespace

PocketSums distributeLumps(const Workspace& ws, const double* key, int K, int P, double M,
                           const std::function<double(int)>& limit, Progress* progress) {
  PocketSums s;
  s.N.assign(P + 1, 0);
  s.W.assign(P + 1, 0);
  s.Y.assign(P + 1, 0);
  s.Q.assign(P + 1, {});
  const std::int32_t n = ws.LumpCount;
  if (n <= 0) return s;  // no lump needs a limit, and no yield is evaluated

  // The limits are converted pocket by pocket, each when the first lump needs it: pocket j's
  // lower limit at once, its upper limit only if some lump lies above the lower one. The texts
  // cannot change during the run, so this converts what a test of every lump would, in the same
  // order, and fails at the same limit.
  std::vector<Bounds> bounds;
  for (int j = 1; j <= P; ++j) {
    const double lower =
        j == 1 ? 0.0 : floorToDouble(static_cast<long double>(limit(j - 1)) + 1e-11L);
    std::int32_t first = 1;
    while (first <= n && !(key[first] > lower)) ++first;
    if (first > n) continue;  // no lump reaches this pocket
    const double upper = floorToDouble(static_cast<long double>(limit(j)) + 1e-12L);
    bounds.push_back({lower, upper, j});
  }

  const ContentColumns c = contentColumns<kMaxComputedContents>(ws, K);
  const double* m = ws.Mass.data();
  switch (K) {
    case 1:
      sumPockets<1>(key, m, c, n, bounds, s, progress);
      break;
    case 2:
      sumPockets<2>(key, m, c, n, bounds, s, progress);
      break;
    case 3:
      sumPockets<3>(key, m, c, n, bounds, s, progress);
      break;
    case 4:
      sumPockets<4>(key, m, c, n, bounds, s, progress);
      break;
    case 5:
      sumPockets<5>(key, m, c, n, bounds, s, progress);
      break;
    default:
      sumPockets<6>(key, m, c, n, bounds, s, progress);
      break;
  }
  for (int j = 1; j <= P; ++j) s.Y[j] = s.W[j] / M * 100;

  return s;
}

void writePocketBlock(TextGrid& results, const PocketSums& s, const SampleTotals& t, int C, int K,
                      int P, const NumberFormat& fmt) {
  const ResultsLayout L(C);
  for (int j = 1; j <= P; ++j) {
    writeNumber(results, L.pocketYield(), j, s.Y[j], fmt);
    for (int k = 1; k <= K; ++k) {
      double B = s.W[j] != 0 ? s.Q[j][k] / s.W[j] : 0.0;
      writeNumber(results, L.pocketContent(k), j, B, fmt);
    }
    if (t.T[1] != 0) {
      for (int k = 1; k <= K; ++k) {
        double E = t.T[k] != 0 ? s.Q[j][k] / t.T[k] * 100 : 0.0;
        writeNumber(results, L.pocketRecovery(k), j, E, fmt);
      }
    }
  }
}

}  // namespace ore::analysis
