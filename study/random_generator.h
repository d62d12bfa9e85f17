#pragma once
// The resamples' random numbers: the same with every compiler and library.

#include <cstdint>

namespace ore::study {

// splitmix64's output function: a bijection that spreads nearby seeds apart.
inline std::uint64_t mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// xoshiro256**, seeded by splitmix64 from a seed and a stream number (one stream per resample).
class RandomGenerator {
 public:
  RandomGenerator(std::uint64_t seed, std::uint64_t stream) {
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

}  // namespace ore::study
