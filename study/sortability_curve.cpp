#include "study/sortability_curve.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <thread>
#include <utility>

#include "analysis/lump_checks.h"
#include "data/errors.h"
#include "study/figure_rules.h"

namespace ore::study {

namespace {

long double quotient(long double a, long double b) {
  return b != 0 ? a / b : 0.0L;
}

// Concentrate recovery of element 1 minus concentrate yield, from the concentrate's sums: the same
// expressions as in CutFigures, so the best cut is the one whose own figures are the largest.
long double efficiency(const long double* conc, long double M, long double T1) {
  return quotient(conc[1], T1) * 100 - quotient(conc[0], M) * 100;
}

bool reaches(const long double* conc, std::optional<double> minGrade) {
  return !minGrade || atLeastAsWritten(quotient(conc[1], conc[0]), *minGrade);
}

// A lump's place in key order: its key as bits that sort as the key does, and its number.
struct Place {
  std::uint64_t bits;
  std::int32_t lump;
};

// Bits of a finite key whose unsigned order is the order of the keys; -0 and 0 give the same bits.
std::uint64_t orderedBits(double key) {
  const std::uint64_t b = std::bit_cast<std::uint64_t>(key + 0.0);
  return (b >> 63) ? ~b : b | (1ULL << 63);
}

// Least-significant-digit radix sort, 11 bits a pass: each pass is stable, so lumps of equal key
// keep their data-set order. A pass whose digit is the same for every lump is skipped.
void sortByKey(std::vector<Place>& v) {
  constexpr int kBits = 11, kPasses = 6;
  constexpr std::size_t kBuckets = std::size_t{1} << kBits;
  std::vector<std::array<std::size_t, kBuckets>> count(kPasses);
  for (auto& c : count) c.fill(0);
  for (const Place& p : v)
    for (int d = 0; d < kPasses; ++d) ++count[d][(p.bits >> (d * kBits)) & (kBuckets - 1)];
  std::vector<Place> tmp(v.size());
  for (int d = 0; d < kPasses; ++d) {
    auto& c = count[d];
    if (std::count(c.begin(), c.end(), v.size()) == 1) continue;
    std::size_t start = 0;
    for (std::size_t& x : c) start += std::exchange(x, start);
    for (const Place& p : v) tmp[c[(p.bits >> (d * kBits)) & (kBuckets - 1)]++] = p;
    v.swap(tmp);
  }
}

}  // namespace

CutFigures SortabilityCurve::figures(std::size_t cut) const {
  const std::size_t S = static_cast<std::size_t>(C_) + 1;
  const long double* t = &tails_[cut * S];
  const long double* q = &conc_[cut * S];
  CutFigures f;
  f.key = keys_[cut];
  f.tailsYield = quotient(t[0], M_) * 100;
  f.concentrateYield = quotient(q[0], M_) * 100;
  for (int k = 1; k <= C_; ++k) {
    f.tailsContent[k] = quotient(t[k], t[0]);
    f.tailsRecovery[k] = quotient(t[k], T_[k]) * 100;
    f.concentrateContent[k] = quotient(q[k], q[0]);
    f.concentrateRecovery[k] = quotient(q[k], T_[k]) * 100;
  }
  return f;
}

SortabilityCurve sortabilityCurve(const Workspace& ws) {
  const int C = ws.ContentCount;
  analysis::checkContentCount(C);
  analysis::checkDistributionKind(ws.DistributionKind);
  analysis::checkLumpArrays(ws, C);
  const std::int32_t n = ws.LumpCount;
  if (n == 0) throw Error("Куски не загружены: кривые обогатимости не строятся");

  const double* key =
      ws.DistributionKind == DistributionKind::Param ? ws.Param.data() : ws.Content.data();
  const double* m = ws.Mass.data();
  std::array<const double*, kMaxSortabilityContents + 1> c{};
  c[1] = ws.Content.data();
  for (int k = 2; k <= C; ++k) c[k] = ws.ExtraContents[k - 1].data();

  std::vector<Place> order(static_cast<std::size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) {
    if (!std::isfinite(key[i]))
      throw Error(
          std::string(ws.DistributionKind == DistributionKind::Param ? "Параметр" : "Содержание") +
          " куска " + std::to_string(i) + " вне диапазона чисел: расчет невозможен");
    order[i - 1] = {orderedBits(key[i]), i};
  }
  sortByKey(order);

  SortabilityCurve cv;
  cv.C_ = C;
  const std::size_t S = static_cast<std::size_t>(C) + 1;
  // The lumps' masses and contents in key order, gathered once so both sums read them in sequence.
  std::vector<double> mass(order.size());
  std::vector<std::vector<double>> content(S);
  for (std::size_t u = 0; u < order.size(); ++u) mass[u] = m[order[u].lump];
  for (int k = 1; k <= C; ++k) {
    content[k].resize(order.size());
    for (std::size_t u = 0; u < order.size(); ++u) content[k][u] = c[k][order[u].lump];
  }

  std::array<long double, kMaxSortabilityContents + 1> sum{};
  auto add = [&](std::size_t u) {
    sum[0] += mass[u];
    for (int k = 1; k <= C; ++k) sum[k] += static_cast<long double>(mass[u]) * content[k][u];
  };
  for (std::size_t u = 0; u < order.size(); ++u) {
    add(u);
    if (u + 1 == order.size() || order[u + 1].bits != order[u].bits) {
      cv.keys_.push_back(key[order[u].lump] + 0.0);  // a key of -0 is the cut at 0
      cv.cutEnd_.push_back(static_cast<std::int32_t>(u + 1));
      cv.tails_.insert(cv.tails_.end(), sum.begin(), sum.begin() + S);
    }
  }
  cv.M_ = sum[0];
  cv.T_ = sum;
  // Finite as doubles, as the pocket analysis holds its totals: the extended range would pass
  // totals that no figure written from them could show.
  bool finite = true;
  for (std::size_t k = 0; k < S; ++k) finite = finite && std::isfinite(static_cast<double>(sum[k]));
  analysis::checkSampleTotals(finite, sum[0] == 0);

  // The concentrate of a cut is summed over its own lumps, from the top down, never as the total
  // minus the tails: near the top of the curve the difference would be mostly rounding.
  const std::size_t cuts = cv.keys_.size();
  cv.conc_.assign(cuts * S, 0.0L);
  sum.fill(0.0L);
  for (std::size_t g = cuts; g-- > 0;) {
    std::copy(sum.begin(), sum.begin() + S, cv.conc_.begin() + g * S);
    const std::size_t begin = g ? cv.cutEnd_[g - 1] : 0;
    for (std::size_t u = begin; u < static_cast<std::size_t>(cv.cutEnd_[g]); ++u) add(u);
  }

  // What the bootstrap walks: each lump's mass and metal of element 1, in key order.
  for (std::size_t u = 0; u < order.size(); ++u) content[1][u] *= mass[u];
  cv.metal1_ = std::move(content[1]);
  cv.mass_ = std::move(mass);
  return cv;
}

BestCut bestCut(const SortabilityCurve& cv, std::optional<double> minGrade,
                const NumberFormat& fmt) {
  const long double M = cv.totalMass(), T1 = cv.totalMetal(1);
  const std::optional<std::size_t> best =
      bestInKeyOrder(cv.cutCount(), [&](std::size_t g) -> std::optional<long double> {
        const long double* conc = cv.concentrateSums(g);
        if (!reaches(conc, minGrade)) return std::nullopt;
        return efficiency(conc, M, T1);
      });
  if (!best)
    throw Error("Ни одна граница не дает содержания элемента 1 в концентрате не ниже " +
                fmt.format(*minGrade) + ": лучшая граница не определена");
  return {*best, cv.figures(*best)};
}

// The walks of a few resamples over the lumps in key order, each weighted by how often each lump
// was drawn into it. They go block by block together, so each block of masses and metals comes
// from memory once for all of them; each resample's own sums are added in the same order as if it
// walked alone.
struct BootstrapWalk {
  static constexpr std::size_t kBlock = 256;
  static constexpr int kTogether = 8;
  const SortabilityCurve& cv;
  std::size_t bestCut;
  std::optional<double> minGrade;

  struct Outcome {
    long double recovery = 0, yield = 0;  // of the concentrate at the best cut's key
    bool hasBest = false;
    double bestKey = 0;
  };

  // The sums over lumps b..e-1 of weight times mass and weight times metal, for each of count
  // resamples, each summed in lump order. Four resamples at a time share the loop: their sums
  // are independent, so the processor adds them side by side instead of waiting on one chain.
  // With Clear, notes in drawn which resamples hold a lump there and zeroes their weights.
  template <bool Clear, class Weight>
  static void blockSums(Weight* const* weights, int count, std::size_t b, std::size_t e,
                        const double* m, const double* q, double* W, double* Q, unsigned* drawn) {
    int i = 0;
    for (; i + 4 <= count; i += 4)
      lanes<4, Clear>(weights + i, b, e, m, q, W + i, Q + i, drawn ? drawn + i : nullptr);
    for (; i < count; ++i)
      lanes<1, Clear>(weights + i, b, e, m, q, W + i, Q + i, drawn ? drawn + i : nullptr);
  }
  template <int K, bool Clear, class Weight>
  static void lanes(Weight* const* weights, std::size_t b, std::size_t e, const double* m,
                    const double* q, double* W, double* Q, unsigned* drawn) {
    Weight* w[K];
    double w0[K], q0[K];
    unsigned any[K];
    for (int i = 0; i < K; ++i) {
      w[i] = weights[i];
      w0[i] = q0[i] = 0;
      any[i] = 0;
    }
    for (std::size_t u = b; u < e; ++u) {
      const double mu = m[u], qu = q[u];
      for (int i = 0; i < K; ++i) {
        const Weight x = w[i][u];
        w0[i] += x * mu;
        q0[i] += x * qu;
        if constexpr (Clear) {
          any[i] |= x;
          w[i][u] = 0;
        }
      }
    }
    for (int i = 0; i < K; ++i) {
      W[i] = w0[i];
      Q[i] = q0[i];
      if constexpr (Clear) drawn[i] |= any[i] != 0;
    }
  }

  // Walks count (1..kTogether) resamples, weights[i] giving out[i]. Leaves every weight at 0
  // again, ready for the next resamples.
  template <class Weight>
  void run(Weight* const* weights, int count, Outcome* out) const {
    const std::size_t n = cv.mass_.size();
    const double* m = cv.mass_.data();
    const double* q = cv.metal1_.data();
    // Sums of at most kBlock lumps in double, each added to the extended total: the speed of
    // double arithmetic, the accuracy of the extended.
    long double M[kTogether] = {}, T[kTogether] = {};
    for (std::size_t b = 0; b < n; b += kBlock) {
      const std::size_t e = std::min(n, b + kBlock);
      double w0[kTogether], q0[kTogether];
      blockSums<false>(weights, count, b, e, m, q, w0, q0, nullptr);
      for (int i = 0; i < count; ++i) {
        M[i] += w0[i];
        T[i] += q0[i];
      }
    }
    // Multiplying by reciprocals keeps divisions out of the walk; only the ranking of the cuts
    // within a resample uses this form.
    long double toYield[kTogether], toRecovery[kTogether];
    for (int i = 0; i < count; ++i) {
      toYield[i] = M[i] != 0 ? 100 / M[i] : 0.0L;
      toRecovery[i] = T[i] != 0 ? 100 / T[i] : 0.0L;
      out[i] = Outcome{};
    }

    long double Wc[kTogether] = {}, Qc[kTogether] = {};
    BestFromTheTop best[kTogether];
    std::size_t end = n;
    for (std::size_t g = cv.cutEnd_.size(); g-- > 0;) {
      const std::size_t begin = g ? cv.cutEnd_[g - 1] : 0;
      if (g == bestCut)
        for (int i = 0; i < count; ++i) {
          out[i].recovery = quotient(Qc[i], T[i]) * 100;
          out[i].yield = quotient(Wc[i], M[i]) * 100;
        }
      long double gw[kTogether] = {}, gq[kTogether] = {};
      unsigned drawn[kTogether] = {};
      for (std::size_t b = begin; b < end; b += kBlock) {
        const std::size_t e = std::min(end, b + kBlock);
        double w0[kTogether], q0[kTogether];
        blockSums<true>(weights, count, b, e, m, q, w0, q0, drawn);
        for (int i = 0; i < count; ++i) {
          gw[i] += w0[i];
          gq[i] += q0[i];
        }
      }
      for (int i = 0; i < count; ++i) {
        if (drawn[i]) {  // the resample holds a lump of this key, so it has this cut
          const long double E = Qc[i] * toRecovery[i] - Wc[i] * toYield[i];
          const bool ok = !minGrade || atLeastAsWritten(quotient(Qc[i], Wc[i]), *minGrade);
          if (ok && best[i].offer(E)) {
            out[i].hasBest = true;
            out[i].bestKey = cv.keys_[g];
          }
        }
        Wc[i] += gw[i];
        Qc[i] += gq[i];
      }
      end = begin;
    }
  }
};

namespace {

// splitmix64's output function: a bijection that spreads nearby seeds apart.
std::uint64_t mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// xoshiro256**, seeded by splitmix64: the same numbers with every compiler and library.
class Generator {
 public:
  Generator(std::uint64_t seed, std::uint64_t stream) {
    std::uint64_t x = mix64(seed) ^ (stream * 0xD1B54A32D192ED03ULL);
    for (auto& v : s_) {
      x += 0x9E3779B97F4A7C15ULL;
      v = mix64(x);
    }
  }
  std::uint64_t next() {
    const std::uint64_t r = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return r;
  }
  // Uniform on 0..n-1 without bias (multiply and reject, after Lemire).
  std::uint64_t below(std::uint64_t n) {
    unsigned __int128 p = static_cast<unsigned __int128>(next()) * n;
    std::uint64_t low = static_cast<std::uint64_t>(p);
    if (low < n) {
      const std::uint64_t threshold = (0 - n) % n;
      while (low < threshold) {
        p = static_cast<unsigned __int128>(next()) * n;
        low = static_cast<std::uint64_t>(p);
      }
    }
    return static_cast<std::uint64_t>(p >> 64);
  }

 private:
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t s_[4];
};

// The ceil(share * B)-th smallest of the values (1-based), share given in thousandths.
long double nearestRank(std::vector<long double>& v, int thousandths) {
  const std::size_t B = v.size();
  std::size_t rank = (static_cast<std::size_t>(thousandths) * B + 999) / 1000;
  rank = std::clamp<std::size_t>(rank, 1, B);
  std::nth_element(v.begin(), v.begin() + (rank - 1), v.end());
  return v[rank - 1];
}

// Draws resample r of n lumps into the zeroed counts w: n lumps with replacement, each count the
// times its lump was drawn. Returns false, the counts spoilt, when a count would pass 255.
bool draw(std::uint64_t seed, std::size_t r, std::size_t n, std::uint8_t* w) {
  Generator gen(seed, static_cast<std::uint64_t>(r));
  bool fits = true;
  // Draws in small batches, each count fetched ahead, so the cache misses overlap.
  constexpr std::size_t kBatch = 32;
  std::uint64_t batch[kBatch];
  for (std::size_t drawnSoFar = 0; drawnSoFar < n && fits;) {
    const std::size_t b = std::min(kBatch, n - drawnSoFar);
    for (std::size_t t = 0; t < b; ++t) {
      batch[t] = gen.below(n);
      __builtin_prefetch(&w[batch[t]], 1);
    }
    for (std::size_t t = 0; t < b; ++t) {
      std::uint8_t& x = w[batch[t]];
      fits = fits && x != 0xFF;
      x += fits;
    }
    drawnSoFar += b;
  }
  return fits;
}

}  // namespace

BootstrapResult bootstrapBestCut(const SortabilityCurve& cv, const BestCut& best,
                                 const BootstrapSettings& settings) {
  BootstrapResult result;
  const int B = std::max(settings.resamples, 0);
  result.resamples = B;
  if (B == 0) return result;
  const std::size_t n = cv.mass_.size();
  // A resample sums its blocks in double: refused when n draws of the largest lump could pass the
  // range of numbers, as the curve refuses totals beyond it.
  double largest = 0;
  for (std::size_t u = 0; u < n; ++u)
    largest = std::fmax(largest, std::fmax(std::fabs(cv.mass_[u]), std::fabs(cv.metal1_[u])));
  analysis::checkSampleTotals(std::isfinite(largest * static_cast<double>(n)), false);
  const BootstrapWalk walk{cv, best.cut, settings.minGrade};

  std::vector<BootstrapWalk::Outcome> outcomes(static_cast<std::size_t>(B));
  unsigned threads = settings.threads ? settings.threads : std::thread::hardware_concurrency();
  threads = std::clamp<unsigned>(threads, 1, static_cast<unsigned>(B));
  std::atomic<int> next{0};
  auto work = [&] {
    constexpr int kTogether = BootstrapWalk::kTogether;
    // Counts of 8 bits keep the randomly hit arrays small enough for the cache; a lump drawn 255
    // times into one resample (possible only in theory for a large sample) sends that resample
    // through counts of 32 bits.
    std::vector<std::vector<std::uint8_t>> w(kTogether, std::vector<std::uint8_t>(n));
    std::vector<std::uint32_t> wide;
    for (int r0; (r0 = next.fetch_add(kTogether)) < B;) {
      const int count = std::min(kTogether, B - r0);
      std::uint8_t* narrow[kTogether];
      std::size_t narrowResample[kTogether];
      BootstrapWalk::Outcome narrowOut[kTogether];
      int narrowCount = 0;
      for (int i = 0; i < count; ++i) {
        const std::size_t r = static_cast<std::size_t>(r0 + i);
        std::uint8_t* x = w[static_cast<std::size_t>(i)].data();
        if (draw(settings.seed, r, n, x)) {
          narrow[narrowCount] = x;
          narrowResample[narrowCount++] = r;
          continue;
        }
        std::fill(x, x + n, 0);
        wide.assign(n, 0);
        Generator again(settings.seed, r);
        for (std::size_t t = 0; t < n; ++t) ++wide[again.below(n)];
        std::uint32_t* one = wide.data();
        walk.run(&one, 1, &outcomes[r]);
      }
      if (narrowCount == 0) continue;
      walk.run(narrow, narrowCount, narrowOut);
      for (int i = 0; i < narrowCount; ++i) outcomes[narrowResample[i]] = narrowOut[i];
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();

  std::vector<long double> recovery, yield;
  recovery.reserve(outcomes.size());
  yield.reserve(outcomes.size());
  const long double key = best.figures.key;
  for (const auto& o : outcomes) {
    recovery.push_back(o.recovery);
    yield.push_back(o.yield);
    if (o.hasBest && std::fabs(static_cast<long double>(o.bestKey) - key) * 10 <= std::fabs(key))
      ++result.within;
  }
  result.recoveryLow = nearestRank(recovery, 25);
  result.recoveryHigh = nearestRank(recovery, 975);
  result.yieldLow = nearestRank(yield, 25);
  result.yieldHigh = nearestRank(yield, 975);
  return result;
}

}  // namespace ore::study
