#pragma once
// The lumps in the order the sample index reads them, a slice of the key range at a time, so a
// ranking of ten million lumps needs memory for a slice and not for every lump.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace ore::analysis {

// Entries of one slice, at most: a slice takes 16 bytes an entry, and each slice reads the keys
// once more.
inline constexpr size_t kRankSlice = size_t{1} << 21;

// An unsigned integer whose order is the order of the doubles, so the comparison is cheap and a
// strict weak order even for NaN (a NaN with the sign set below every number, one without above).
inline std::uint64_t orderedBits(double v) {
  if (v == 0) v = 0;  // -0 ranks with 0
  std::uint64_t b = std::bit_cast<std::uint64_t>(v);
  return (b >> 63) ? ~b : b | (std::uint64_t{1} << 63);
}

namespace ranking {

template <class Value>
struct Entry {
  std::uint64_t key;
  Value value;
};

// Orders a[0..n) by key, equal keys keeping their order, where the keys differ in their lowest
// `bits` bits only: a pass per byte, skipping the bytes every key shares. tmp holds n entries.
template <class Value>
void stableSortByKey(Entry<Value>* a, size_t n, int bits, Entry<Value>* tmp) {
  if (n < 2) return;
  if (n <= 32) {
    for (size_t i = 1; i < n; ++i) {
      Entry<Value> v = a[i];
      size_t j = i;
      for (; j > 0 && v.key < a[j - 1].key; --j) a[j] = a[j - 1];
      a[j] = v;
    }
    return;
  }
  const int bytes = bits / 8;
  std::uint32_t count[8][256];
  std::memset(count, 0, sizeof(count));
  for (size_t i = 0; i < n; ++i)
    for (int p = 0; p < bytes; ++p) ++count[p][(a[i].key >> (8 * p)) & 0xFF];
  Entry<Value>* from = a;
  Entry<Value>* to = tmp;
  for (int p = 0; p < bytes; ++p) {
    const int shift = 8 * p;
    if (count[p][(from[0].key >> shift) & 0xFF] == n) continue;  // every key has this byte
    std::uint32_t start[256];
    std::uint32_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      start[b] = sum;
      sum += count[p][b];
    }
    for (size_t i = 0; i < n; ++i) to[start[(from[i].key >> shift) & 0xFF]++] = from[i];
    std::swap(from, to);
  }
  if (from != a) std::copy(from, from + n, a);
}

template <class Value, class ValueOf, class Visit>
class Ranker {
 public:
  Ranker(const double* key, std::int32_t n, ValueOf& valueOf, Visit& visit, size_t slice)
      : key_(key), n_(n), valueOf_(valueOf), visit_(visit), slice_(std::max<size_t>(slice, 1)) {}

  void run() { range(0, 64); }

 private:
  static constexpr int kDigitBits = 16;
  static constexpr size_t kDigits = size_t{1} << kDigitBits;

  // Keys whose bits above `shift` are `prefix` (every key when shift is 64).
  static bool within(std::uint64_t k, std::uint64_t prefix, int shift) {
    return shift == 64 || (k >> shift) == prefix;
  }

  // The keys of one range, largest first: counted by their next digit, then taken in slices of
  // whole digits from the top; a digit with more keys than a slice holds is a range of its own.
  void range(std::uint64_t prefix, int shift) {
    const int low = shift - kDigitBits;
    std::vector<std::uint32_t> count(kDigits, 0);
    for (std::int32_t i = 1; i <= n_; ++i) {
      const std::uint64_t k = orderedBits(key_[i]);
      if (within(k, prefix, shift)) ++count[(k >> low) & (kDigits - 1)];
    }
    for (std::int64_t d = kDigits - 1; d >= 0 && !stopped_;) {
      if (count[d] == 0) {
        --d;
      } else if (count[d] > slice_) {
        const std::uint64_t sub = (prefix << kDigitBits) | static_cast<std::uint64_t>(d);
        if (low == 0)
          equalKeys(sub);
        else
          range(sub, low);
        --d;
      } else {
        const std::int64_t top = d;
        size_t total = 0;
        for (; d >= 0 && count[d] <= slice_ - total; --d) total += count[d];
        slice(prefix, shift, d + 1, top, count, total);
      }
    }
  }

  // More lumps with one key than a slice holds: they rank from the last lump to the first.
  void equalKeys(std::uint64_t k) {
    for (std::int32_t i = n_; i >= 1 && !stopped_; --i)
      if (orderedBits(key_[i]) == k && !visit_(valueOf_(i))) stopped_ = true;
  }

  // Digits lo..hi of a range: the lumps gathered in lump order into their digits, each digit
  // ordered by the rest of the key, and the whole visited from its end.
  void slice(std::uint64_t prefix, int shift, std::int64_t lo, std::int64_t hi,
             const std::vector<std::uint32_t>& count, size_t total) {
    const int low = shift - kDigitBits;
    reserve(entries_, entriesSize_, total);
    std::vector<std::uint32_t> next(static_cast<size_t>(hi - lo + 1));
    std::uint32_t sum = 0;
    size_t largest = 0;
    for (std::int64_t d = lo; d <= hi; ++d) {
      next[d - lo] = sum;
      sum += count[d];
      largest = std::max<size_t>(largest, count[d]);
    }
    const std::uint64_t first = static_cast<std::uint64_t>(lo), span = hi - lo;
    Entry<Value>* e = entries_.get();
    for (std::int32_t i = 1; i <= n_; ++i) {
      const std::uint64_t k = orderedBits(key_[i]);
      const std::uint64_t d = ((k >> low) & (kDigits - 1)) - first;
      if (d <= span && within(k, prefix, shift)) e[next[d]++] = {k, valueOf_(i)};
    }
    if (low > 0) {
      if (largest > 32) reserve(tmp_, tmpSize_, largest);
      std::uint32_t at = 0;
      for (std::int64_t d = lo; d <= hi; ++d) {
        stableSortByKey(e + at, count[d], low, tmp_.get());
        at += count[d];
      }
    }
    for (size_t u = total; u-- > 0;)
      if (!visit_(e[u].value)) {
        stopped_ = true;
        return;
      }
  }

  // Room for n entries, left unset: each is written before it is read.
  static void reserve(std::unique_ptr<Entry<Value>[]>& p, size_t& size, size_t n) {
    if (size >= n) return;
    p.reset();
    p.reset(new Entry<Value>[n]);
    size = n;
  }

  const double* key_;
  std::int32_t n_;
  ValueOf& valueOf_;
  Visit& visit_;
  size_t slice_;
  bool stopped_ = false;
  std::unique_ptr<Entry<Value>[]> entries_, tmp_;
  size_t entriesSize_ = 0, tmpSize_ = 0;
};

}  // namespace ranking

// Visits lumps 1..n ranked by key[1..n] as the index reads them: the ascending order with equal
// keys in data-set order, reversed (largest key first; among equal keys the later lump first).
// valueOf(i) gives what is kept of lump i, visit(value) receives it in that order and returns
// false to stop. NaN keys go to the ends. The keys are read once per slice of at most `slice`
// lumps, and once more per range of keys that shares more than a slice.
template <class Value, class ValueOf, class Visit>
void visitRanked(const double* key, std::int32_t n, ValueOf valueOf, Visit visit,
                 size_t slice = kRankSlice) {
  if (n <= 0) return;
  ranking::Ranker<Value, ValueOf, Visit>(key, n, valueOf, visit, slice).run();
}

}  // namespace ore::analysis
