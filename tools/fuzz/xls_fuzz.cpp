// Whole .xls files: the compound file and the BIFF records.

#include <cstdint>
#include <string_view>

#include "data/errors.h"
#include "platform/workbook/xls/xls_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ore::reader::ReadContext ctx("fuzz.xls");
  try {
    ore::reader::readXls(std::string_view(reinterpret_cast<const char*>(data), size), ctx);
  } catch (const ore::Error&) {
  }
  return 0;
}
