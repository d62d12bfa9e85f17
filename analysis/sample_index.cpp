#include "analysis/sample_index.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace ore::analysis {

namespace {

// An unsigned integer whose order is the order of the doubles, so the comparison is cheap and a
// strict weak order even for NaN.
std::uint64_t orderedBits(double v) {
  if (v == 0) v = 0;  // -0 ranks with 0
  std::uint64_t b = std::bit_cast<std::uint64_t>(v);
  return (b >> 63) ? ~b : b | (std::uint64_t{1} << 63);
}

bool ascending(const RankEntry& a, const RankEntry& b) {
  return a.key != b.key ? a.key < b.key : a.lump < b.lump;
}

void insertionSort(RankEntry* a, size_t n) {
  for (size_t i = 1; i < n; ++i) {
    RankEntry v = a[i];
    size_t j = i;
    for (; j > 0 && ascending(v, a[j - 1]); --j) a[j] = a[j - 1];
    a[j] = v;
  }
}

// In-place radix sort on the key bytes from the most significant one, each bucket permuted in
// place (no buffer proportional to n); buckets of equal keys are ordered by lump at the end.
void radixSort(RankEntry* a, size_t n, int shift) {
  while (true) {
    if (n <= 48) {
      insertionSort(a, n);
      return;
    }
    size_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[(a[i].key >> shift) & 0xFF];
    size_t start[257];
    start[0] = 0;
    for (int b = 0; b < 256; ++b) start[b + 1] = start[b] + count[b];
    bool oneBucket = false;
    for (int b = 0; b < 256; ++b) oneBucket = oneBucket || count[b] == n;
    if (!oneBucket) {
      size_t next[256];
      for (int b = 0; b < 256; ++b) next[b] = start[b];
      for (int b = 0; b < 256; ++b) {
        while (next[b] < start[b + 1]) {
          RankEntry v = a[next[b]];
          int vb = static_cast<int>((v.key >> shift) & 0xFF);
          while (vb != b) {
            std::swap(v, a[next[vb]++]);
            vb = static_cast<int>((v.key >> shift) & 0xFF);
          }
          a[next[b]++] = v;
        }
      }
    }
    if (shift == 0) {
      // Every bucket now holds one key: order it by lump.
      for (int b = 0; b < 256; ++b)
        if (count[b] > 1)
          std::sort(a + start[b], a + start[b + 1],
                    [](const RankEntry& x, const RankEntry& y) { return x.lump < y.lump; });
      return;
    }
    if (oneBucket) {
      shift -= 8;
      continue;
    }
    for (int b = 0; b < 256; ++b)
      if (count[b] > 1) radixSort(a + start[b], count[b], shift - 8);
    return;
  }
}

}  // namespace

void rankLumps(const double* key, std::int32_t n, std::vector<RankEntry>& order) {
  order.clear();
  if (n <= 0) return;
  order.resize(static_cast<size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) order[i - 1] = {orderedBits(key[i]), i};
  // Ascending by (key, lump) is the stable ascending order; the lump number breaks the ties, so
  // an unstable in-place sort gives exactly that order. Reversed, it is the order of the index.
  radixSort(order.data(), order.size(), 56);
  std::reverse(order.begin(), order.end());
}

SampleIndexResult computeSampleIndex(const Workspace& ws, double M, double G) {
  SampleIndexResult res;
  const std::int32_t n = ws.LumpCount;
  if (n <= 0) return res;
  if (G == 0) {
    res.defined = false;
    return res;
  }
  std::vector<RankEntry> order;
  rankLumps(ws.PocketBasis == PocketBasis::ByParam ? ws.Param.data() : ws.Content.data(), n, order);

  std::int32_t first = 1, last = n;
  if (ws.PocketBasis == PocketBasis::ByParam) {
    first = 4;
    last = n - 3;
  }
  double index = kIndexStart;
  double S = 0;
  for (std::int32_t u = 1; u <= n; ++u) {
    const std::int32_t i = order[u - 1].lump;
    double g = ws.Mass[i] / M;
    double q = ws.Content[i] / G;
    double t = (q - 1) * g * 2;
    S = u == 1 ? t : S + t;
    if (!std::isfinite(S)) {
      res.defined = false;
      return res;
    }
    if (u >= first && u <= last && !(index >= S)) index = S;
  }
  res.value = index;
  return res;
}

}  // namespace ore::analysis
