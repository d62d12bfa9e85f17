#pragma once
// A compound file (OLE2 structured storage), the container of .xls workbooks, held in memory.
// Every sector chain is checked (inside the file, no loops) and a stream's size must fit its
// chain, so a damaged or hostile file fails cleanly instead of reading astray.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/reader_limits.h"

namespace ore::reader {

class CompoundFile {
 public:
  // Throws ReadContext::corrupt on a damaged header, allocation table or directory.
  CompoundFile(std::string_view bytes, ReadContext& ctx);

  // A stream anywhere in the file, by name, ignoring letter case.
  bool has(std::string_view name) const;
  // Its bytes; empty when there is no such stream.
  std::string stream(std::string_view name) const;

 private:
  struct Entry {
    std::string name;  // ASCII only; other names stay empty (never looked up)
    int type;
    std::uint32_t start;
    std::uint64_t size;
  };
  std::vector<std::uint32_t> chain(std::uint32_t start, const std::vector<std::uint32_t>& fat,
                                   std::uint64_t limit) const;
  std::string readChain(std::uint32_t start, std::uint64_t size, bool mini) const;
  const Entry* find(std::string_view name) const;

  std::string_view bytes_;
  ReadContext& ctx_;
  unsigned shift_ = 9;
  std::uint64_t sectors_ = 0;
  std::uint32_t miniCutoff_ = 4096;
  std::vector<std::uint32_t> fat_, miniFat_;
  std::vector<Entry> entries_;
  std::string miniStream_;
};

}  // namespace ore::reader
