// Delimited text.

#include <cstdint>
#include <string_view>

#include "data/errors.h"
#include "platform/workbook/csv/csv_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ore::reader::ReadContext ctx("fuzz.csv");
  try {
    ore::reader::readCsv(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz", ctx);
  } catch (const ore::Error&) {
  }
  return 0;
}
