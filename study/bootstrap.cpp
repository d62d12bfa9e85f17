#include "study/bootstrap.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "analysis/lump_checks.h"
#include "study/figure_rules.h"
#include "study/random_generator.h"

namespace ore::study {

namespace {

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
  CutLimits limits;  // those a resample can weigh, minGrade aside; checked only when any()

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
    const std::size_t n = cv.placeCount();
    const double* m = cv.placeMass();
    const double* q = cv.placeMetal1();
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
    for (std::size_t g = cv.cutCount(); g-- > 0;) {
      const std::size_t begin = g ? cv.cutEnd(g - 1) : 0;
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
          bool ok = !minGrade || atLeastAsWritten(quotient(Qc[i], Wc[i]), *minGrade);
          if (ok && limits.any()) {
            const long double conc[2] = {Wc[i], Qc[i]};
            ok = meetsLimits(limits, conc, M[i], T[i]);
          }
          if (ok && best[i].offer(E)) {
            out[i].hasBest = true;
            out[i].bestKey = cv.key(g);
          }
        }
        Wc[i] += gw[i];
        Qc[i] += gq[i];
      }
      end = begin;
    }
  }
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
  RandomGenerator gen(seed, static_cast<std::uint64_t>(r));
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

// A resample sums its blocks in double: refused when n draws of the largest lump could pass the
// range of numbers, as the curve refuses totals beyond it.
void checkResampleRange(const double* a, const double* b, std::size_t n) {
  double largest = 0;
  for (std::size_t u = 0; u < n; ++u)
    largest = std::fmax(largest, std::fmax(std::fabs(a[u]), std::fabs(b[u])));
  analysis::checkSampleTotals(std::isfinite(largest * static_cast<double>(n)), false);
}

// The threads asked for (0: one per processor), never more than the resamples.
unsigned threadCount(const BootstrapSettings& settings, int resamples) {
  const unsigned t = settings.threads ? settings.threads : std::thread::hardware_concurrency();
  return std::clamp<unsigned>(t, 1, static_cast<unsigned>(resamples));
}

}  // namespace

BootstrapResult bootstrapBestCut(const SortabilityCurve& cv, const BestCut& best,
                                 const BootstrapSettings& settings, Progress& progress) {
  BootstrapResult result;
  const int B = std::max(settings.resamples, 0);
  result.resamples = B;
  if (B == 0) return result;
  const std::size_t n = cv.placeCount();
  checkResampleRange(cv.placeMass(), cv.placeMetal1(), n);
  BootstrapWalk walk{cv, best.cut, settings.minGrade ? settings.minGrade : settings.limits.minGrade,
                     CutLimits{}};
  walk.limits.minRecovery = settings.limits.minRecovery;
  walk.limits.maxYield = settings.limits.maxYield;
  for (const MaxContent& c : settings.limits.maxContent)
    if (c.element == 1) walk.limits.maxContent.push_back(c);

  std::vector<BootstrapWalk::Outcome> outcomes(static_cast<std::size_t>(B));
  const unsigned threads = threadCount(settings, B);
  std::atomic<int> next{0}, done{0};
  progress.report(0, static_cast<std::uint64_t>(B));
  // Only the calling thread reports, so that a watcher's hook runs where it was set up; every
  // thread gives up at a stop request, and the caller throws once they have all returned.
  auto work = [&](bool reports) {
    constexpr int kTogether = BootstrapWalk::kTogether;
    // Counts of 8 bits keep the randomly hit arrays small enough for the cache; a lump drawn 255
    // times into one resample (possible only in theory for a large sample) sends that resample
    // through counts of 32 bits.
    std::vector<std::vector<std::uint8_t>> w(kTogether, std::vector<std::uint8_t>(n));
    std::vector<std::uint32_t> wide;
    for (int r0; !progress.stopRequested() && (r0 = next.fetch_add(kTogether)) < B;) {
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
        RandomGenerator again(settings.seed, r);
        for (std::size_t t = 0; t < n; ++t) ++wide[again.below(n)];
        std::uint32_t* one = wide.data();
        walk.run(&one, 1, &outcomes[r]);
      }
      if (narrowCount) {
        walk.run(narrow, narrowCount, narrowOut);
        for (int i = 0; i < narrowCount; ++i) outcomes[narrowResample[i]] = narrowOut[i];
      }
      const int finished = done.fetch_add(count) + count;
      if (reports)
        progress.report(static_cast<std::uint64_t>(finished), static_cast<std::uint64_t>(B));
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, false);
  work(true);
  for (std::thread& t : pool) t.join();
  progress.checkStop();
  progress.report(static_cast<std::uint64_t>(B), static_cast<std::uint64_t>(B));

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

ValueInterval bootstrapCutValue(const SortabilityCurve& cv, std::size_t cut,
                                const std::vector<double>& placeValue, const ValueInputs& inputs,
                                const BootstrapSettings& settings, Progress& progress) {
  ValueInterval result;
  const int B = std::max(settings.resamples, 0);
  result.resamples = B;
  if (B == 0) return result;
  const std::size_t n = cv.placeCount();
  const double* mass = cv.placeMass();
  const double* value = placeValue.data();
  checkResampleRange(mass, value, n);
  const std::size_t end = cv.cutEnd(cut);  // the tails are the places before it

  std::vector<long double> values(static_cast<std::size_t>(B));
  const unsigned threads = threadCount(settings, B);
  std::atomic<int> next{0}, done{0};
  progress.report(0, static_cast<std::uint64_t>(B));
  // V of one resample from its counts w, in blocks summed in double, each added to the extended
  // sums, as the walk sums.
  auto resampleValue = [&](const auto* w) {
    long double Wt = 0, Wc = 0, G = 0;
    constexpr std::size_t kBlock = 256;
    for (std::size_t b = 0; b < n; b += kBlock) {
      const std::size_t e = std::min(n, b + kBlock), split = std::clamp(end, b, e);
      double wt = 0, wc = 0, g = 0;
      for (std::size_t u = b; u < split; ++u) wt += w[u] * mass[u];
      for (std::size_t u = split; u < e; ++u) {
        wc += w[u] * mass[u];
        g += w[u] * value[u];
      }
      Wt += wt;
      Wc += wc;
      G += g;
    }
    const long double numerator = G - inputs.costProcess * Wc - inputs.costReject * Wt;
    return quotient(numerator, Wt + Wc) - inputs.costSort;
  };
  auto work = [&](bool reports) {
    // The walk's counts: 8 bits, and 32 for a resample that draws a lump 255 times.
    std::vector<std::uint8_t> w(n);
    std::vector<std::uint32_t> wide;
    for (int r; !progress.stopRequested() && (r = next.fetch_add(1)) < B;) {
      std::fill(w.begin(), w.end(), 0);
      if (draw(settings.seed, static_cast<std::size_t>(r), n, w.data())) {
        values[static_cast<std::size_t>(r)] = resampleValue(w.data());
      } else {
        wide.assign(n, 0);
        RandomGenerator again(settings.seed, static_cast<std::uint64_t>(r));
        for (std::size_t t = 0; t < n; ++t) ++wide[again.below(n)];
        values[static_cast<std::size_t>(r)] = resampleValue(wide.data());
      }
      const int finished = done.fetch_add(1) + 1;
      if (reports)
        progress.report(static_cast<std::uint64_t>(finished), static_cast<std::uint64_t>(B));
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work, false);
  work(true);
  for (std::thread& t : pool) t.join();
  progress.checkStop();
  progress.report(static_cast<std::uint64_t>(B), static_cast<std::uint64_t>(B));
  result.low = nearestRank(values, 25);
  result.high = nearestRank(values, 975);
  return result;
}

}  // namespace ore::study
