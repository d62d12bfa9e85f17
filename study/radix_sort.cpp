#include "study/radix_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>

namespace ore::study {

std::uint64_t orderedBits(double key) {
  const std::uint64_t b = std::bit_cast<std::uint64_t>(key + 0.0);
  return (b >> 63) ? ~b : b | (1ULL << 63);
}

double keyOfBits(std::uint64_t bits) {
  return std::bit_cast<double>((bits >> 63) ? bits & ~(1ULL << 63) : ~bits);
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

}  // namespace ore::study
