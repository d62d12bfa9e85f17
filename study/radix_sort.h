#pragma once
// Sorting lumps by a key of doubles in linear time, keeping lumps of equal key in data-set order.

#include <cstdint>
#include <vector>

namespace ore::study {

// A lump's place in key order: its key as bits that sort as the key does, and its number.
struct Place {
  std::uint64_t bits;
  std::int32_t lump;
};

// Bits of a finite key whose unsigned order is the order of the keys; -0 and 0 give the same bits.
std::uint64_t orderedBits(double key);

// The key whose orderedBits these are (a key of -0 comes back as 0).
double keyOfBits(std::uint64_t bits);

// Stable sort by bits: lumps of equal key keep their order.
void sortByKey(std::vector<Place>& places);

}  // namespace ore::study
