// Delimited text read straight into lump arrays: in two parts at once it must give exactly what
// it gives in one, lumps, failures and messages alike. The first byte picks the start row, the
// columns and the decimal separator; the rest is the text.

#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "data/errors.h"
#include "import/delimited_lumps.h"

namespace {

std::string readLumps(const std::string& path, const ore::LumpLayout& layout,
                      const ore::NumberFormat& fmt, std::size_t splitFrom) {
  ore::Progress progress;
  try {
    const ore::StreamedLumps s = ore::streamDelimitedLumps(path, layout, fmt, progress, splitFrom);
    std::string out = std::to_string(s.count) + (s.failed ? " failed " : " ") +
                      std::to_string(s.badColumn) + " " + std::to_string(s.failedLump) + " " +
                      std::to_string(s.failedField) + " " + s.failedText + ":";
    for (const auto& v : s.values)
      for (double x : v) out += " " + std::to_string(std::bit_cast<std::uint64_t>(x));
    return out;
  } catch (const ore::Error& e) {
    return std::string("error ") + e.what();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const std::string path = "/tmp/orefrac-delimited-fuzz-" + std::to_string(::getpid());
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  ore::LumpLayout layout;
  layout.startRow = 1 + (data[0] & 3);
  layout.columns = (data[0] & 4) ? std::vector<int>{2, 3, 1} : std::vector<int>{1, 2, 3, 4};
  const ore::NumberFormat fmt((data[0] & 8) ? '.' : ',');
  const std::string whole = readLumps(path, layout, fmt, std::string::npos);
  const std::string halves = readLumps(path, layout, fmt, 1);
  if (whole != halves) {
    std::fprintf(stderr, "one part:  %s\ntwo parts: %s\n", whole.c_str(), halves.c_str());
    std::abort();
  }
  return 0;
}
