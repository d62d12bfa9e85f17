#pragma once
// Builds a stored (uncompressed) zip archive in memory, so that a fuzz target can hand its
// input to the package readers as parts rather than as deflated bytes the mutations would
// mostly break.

#include <zlib.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "platform/workbook/workbook.h"

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

// What a read gave: every sheet's name, size and (for sheets of moderate size) cells, or the
// message. Read once with the region scanner and once through expat alone, the two must agree.
inline std::string readBothWays(const std::function<Workbook(bool scanner)>& read) {
  auto outcome = [&](bool scanner) {
    std::string out;
    try {
      const Workbook wb = read(scanner);
      for (const auto& s : wb.sheets) {
        out += s.name() + "|" + std::to_string(s.lastRow()) + "|" + std::to_string(s.lastCol());
        if (s.lastRow() * s.lastCol() > 100000) continue;
        for (std::int64_t r = 1; r <= s.lastRow(); ++r)
          for (std::int64_t c = 1; c <= s.lastCol(); ++c) {
            const Cell cell = s.cell(r, c);
            out += "|" + std::to_string(static_cast<int>(cell.type)) + ":" +
                   std::to_string(cell.number) + ":" + cell.text + ":" + cell.formula.str();
          }
      }
    } catch (const Error& e) {
      out = std::string("error: ") + e.what();
    }
    return out;
  };
  const std::string fast = outcome(true);
  if (fast != outcome(false)) std::abort();
  return fast;
}

}  // namespace ore::fuzz
