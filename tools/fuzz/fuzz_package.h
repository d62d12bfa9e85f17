#pragma once
// Builds a stored (uncompressed) zip archive in memory, so that a fuzz target can hand its
// input to the package readers as parts rather than as deflated bytes the mutations would
// mostly break.

#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ore::fuzz {

inline void put16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& s, std::uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

inline std::string storedZip(const std::vector<std::pair<std::string, std::string_view>>& members) {
  std::string out, dir;
  for (const auto& [name, data] : members) {
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    const auto offset = static_cast<std::uint32_t>(out.size());
    const auto size = static_cast<std::uint32_t>(data.size());
    out += "PK\x03\x04";
    put16(out, 20), put16(out, 0), put16(out, 0), put16(out, 0), put16(out, 0);
    put32(out, crc), put32(out, size), put32(out, size);
    put16(out, static_cast<unsigned>(name.size())), put16(out, 0);
    out += name;
    out.append(data);
    dir += "PK\x01\x02";
    put16(dir, 20), put16(dir, 20), put16(dir, 0), put16(dir, 0), put16(dir, 0), put16(dir, 0);
    put32(dir, crc), put32(dir, size), put32(dir, size);
    put16(dir, static_cast<unsigned>(name.size())), put16(dir, 0), put16(dir, 0), put16(dir, 0),
        put16(dir, 0);
    put32(dir, 0), put32(dir, offset);
    dir += name;
  }
  const auto dirAt = static_cast<std::uint32_t>(out.size());
  out += dir;
  out += "PK\x05\x06";
  put16(out, 0), put16(out, 0);
  put16(out, static_cast<unsigned>(members.size())),
      put16(out, static_cast<unsigned>(members.size()));
  put32(out, static_cast<std::uint32_t>(dir.size())), put32(out, dirAt);
  put16(out, 0);
  return out;
}

// The input split at NUL bytes (which XML cannot hold) into at most n parts.
inline std::vector<std::string_view> splitParts(const std::uint8_t* data, std::size_t size,
                                                std::size_t n) {
  std::vector<std::string_view> parts;
  std::string_view s(reinterpret_cast<const char*>(data), size);
  while (parts.size() + 1 < n) {
    auto z = s.find('\0');
    if (z == std::string_view::npos) break;
    parts.push_back(s.substr(0, z));
    s.remove_prefix(z + 1);
  }
  parts.push_back(s);
  return parts;
}

}  // namespace ore::fuzz
