// Whole archives to the xlsx and ods readers: the zip layer, the package detection and all.

#include <cstdint>
#include <string_view>

#include "data/errors.h"
#include "platform/workbook/ods/ods_reader.h"
#include "platform/workbook/xlsx/xlsx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ore::reader::ReadContext ctx("fuzz.xlsx");
  try {
    auto zip = ore::reader::ZipArchive::openBuffer(bytes, ctx);
    bool other = false;
    if (ore::reader::looksLikeOds(zip, other))
      ore::reader::readOds(zip, ctx);
    else
      ore::reader::readXlsx(zip, ctx);
  } catch (const ore::Error&) {
  }
  return 0;
}
