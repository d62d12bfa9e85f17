#include "analysis/sortability.h"

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

namespace ore::analysis {

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
  return !minGrade || quotient(conc[1], conc[0]) >= *minGrade;
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
  checkContentCount(C);
  checkDistributionKind(ws.DistributionKind);
  checkLumpArrays(ws, C);
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
  bool finite = true;
  for (std::size_t k = 0; k < S; ++k) finite = finite && std::isfinite(sum[k]);
  checkSampleTotals(finite, sum[0] == 0);

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
  std::optional<std::size_t> best;
  long double bestE = 0;
  for (std::size_t g = 0; g < cv.cutCount(); ++g) {
    const long double* conc = cv.concentrateSums(g);
    if (!reaches(conc, minGrade)) continue;
    const long double E = efficiency(conc, M, T1);
    if (!best || E > bestE) {  // strictly larger: the smaller key keeps a tie
      best = g;
      bestE = E;
    }
  }
  if (!best)
    throw Error("Ни одна граница не дает содержания элемента 1 в концентрате не ниже " +
                fmt.format(*minGrade) + ": лучшая граница не определена");
  return {*best, cv.figures(*best)};
}

// One resample's walk over the lumps in key order, weighted by how often each lump was drawn.
struct BootstrapWalk {
  static constexpr std::size_t kBlock = 256;
  const SortabilityCurve& cv;
  std::size_t bestCut;
  std::optional<double> minGrade;

  struct Outcome {
    long double recovery = 0, yield = 0;  // of the concentrate at the best cut's key
    bool hasBest = false;
    double bestKey = 0;
  };

  // Leaves every weight at 0 again, ready for the next resample.
  template <class Weight>
  Outcome run(std::vector<Weight>& weights) const {
    const std::size_t n = cv.mass_.size();
    const double* m = cv.mass_.data();
    const double* q = cv.metal1_.data();
    Weight* w = weights.data();
    // Sums of at most kBlock lumps in double, each added to the extended total: the speed of
    // double arithmetic, the accuracy of the extended.
    auto blockSums = [&](std::size_t begin, std::size_t end, long double& W, long double& Q) {
      for (std::size_t b = begin; b < end; b += kBlock) {
        const std::size_t e = std::min(end, b + kBlock);
        double w0 = 0, q0 = 0;
        for (std::size_t u = b; u < e; ++u) {
          w0 += w[u] * m[u];
          q0 += w[u] * q[u];
        }
        W += w0;
        Q += q0;
      }
    };
    long double M = 0, T = 0;
    blockSums(0, n, M, T);
    // Multiplying by reciprocals keeps divisions out of the walk; only the ranking of the cuts
    // within a resample uses this form.
    const long double toYield = M != 0 ? 100 / M : 0.0L;
    const long double toRecovery = T != 0 ? 100 / T : 0.0L;

    Outcome out;
    long double Wc = 0, Qc = 0, bestE = 0;
    std::size_t end = n;
    for (std::size_t g = cv.cutEnd_.size(); g-- > 0;) {
      const std::size_t begin = g ? cv.cutEnd_[g - 1] : 0;
      if (g == bestCut) {
        out.recovery = quotient(Qc, T) * 100;
        out.yield = quotient(Wc, M) * 100;
      }
      Weight drawn = 0;
      for (std::size_t v = begin; v < end; ++v) drawn |= w[v];
      long double gw = 0, gq = 0;
      blockSums(begin, end, gw, gq);
      std::fill(w + begin, w + end, Weight{0});
      if (drawn) {  // the resample holds a lump of this key, so it has this cut
        const long double E = Qc * toRecovery - Wc * toYield;
        const bool ok = !minGrade || quotient(Qc, Wc) >= *minGrade;
        if (ok && (!out.hasBest || E >= bestE)) {  // walking down: a tie goes to the smaller key
          out.hasBest = true;
          bestE = E;
          out.bestKey = cv.keys_[g];
        }
      }
      Wc += gw;
      Qc += gq;
      end = begin;
    }
    return out;
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

}  // namespace

BootstrapResult bootstrapBestCut(const SortabilityCurve& cv, const BestCut& best,
                                 const BootstrapSettings& settings) {
  BootstrapResult result;
  const int B = std::max(settings.resamples, 0);
  result.resamples = B;
  if (B == 0) return result;
  const std::size_t n = cv.mass_.size();
  const BootstrapWalk walk{cv, best.cut, settings.minGrade};

  std::vector<BootstrapWalk::Outcome> outcomes(static_cast<std::size_t>(B));
  unsigned threads = settings.threads ? settings.threads : std::thread::hardware_concurrency();
  threads = std::clamp<unsigned>(threads, 1, static_cast<unsigned>(B));
  std::atomic<int> next{0};
  auto work = [&] {
    // Counts of 16 bits keep the randomly hit array small enough for the cache; a lump drawn
    // 65535 times (possible only in theory) sends the resample through counts of 32 bits.
    std::vector<std::uint16_t> w(n);
    std::vector<std::uint32_t> wide;
    for (int r; (r = next.fetch_add(1)) < B;) {
      Generator gen(settings.seed, static_cast<std::uint64_t>(r));
      bool fits = true;
      // Draws in small batches, each count fetched ahead, so the cache misses overlap.
      constexpr std::size_t kBatch = 32;
      std::size_t drawnSoFar = 0;
      std::uint64_t batch[kBatch];
      while (drawnSoFar < n && fits) {
        const std::size_t b = std::min(kBatch, n - drawnSoFar);
        for (std::size_t t = 0; t < b; ++t) {
          batch[t] = gen.below(n);
          __builtin_prefetch(&w[batch[t]], 1);
        }
        for (std::size_t t = 0; t < b; ++t) {
          std::uint16_t& x = w[batch[t]];
          fits = fits && x != 0xFFFF;
          x += fits;
        }
        drawnSoFar += b;
      }
      if (fits) {
        outcomes[static_cast<std::size_t>(r)] = walk.run(w);
        continue;
      }
      std::fill(w.begin(), w.end(), 0);
      wide.resize(n);
      Generator again(settings.seed, static_cast<std::uint64_t>(r));
      for (std::size_t t = 0; t < n; ++t) ++wide[again.below(n)];
      outcomes[static_cast<std::size_t>(r)] = walk.run(wide);
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

}  // namespace ore::analysis
