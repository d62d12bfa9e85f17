#pragma once
// Little-endian fields of the binary formats (compound file, BIFF records). The caller has
// checked that the bytes are there.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace ore::reader {

inline std::uint16_t u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    (static_cast<unsigned char>(b[at + 1]) << 8));
}
inline std::uint32_t u32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(u16(b, at)) |
         (static_cast<std::uint32_t>(u16(b, at + 2)) << 16);
}
inline std::uint64_t u64(std::string_view b, std::size_t at) {
  return static_cast<std::uint64_t>(u32(b, at)) |
         (static_cast<std::uint64_t>(u32(b, at + 4)) << 32);
}
inline double f64(std::string_view b, std::size_t at) {
  const std::uint64_t bits = u64(b, at);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

}  // namespace ore::reader
