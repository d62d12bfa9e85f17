// ods content: the input is content.xml (and, after a NUL byte, META-INF/manifest.xml),
// wrapped into a package. Each input is read twice, with the region scanner and through expat
// alone: the cells or the message must be the same.

#include <cstdint>
#include <string>

#include "platform/workbook/ods/ods_reader.h"
#include "tools/fuzz/fuzz_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parts = ore::fuzz::splitParts(data, size, 2);
  std::vector<std::pair<std::string, std::string_view>> members = {
      {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", parts[0]}};
  if (parts.size() > 1) members.emplace_back("META-INF/manifest.xml", parts[1]);
  const std::string zip = ore::fuzz::storedZip(members);
  ore::fuzz::readBothWays([&](bool scanner) {
    ore::reader::ReadContext ctx("fuzz.ods");
    ctx.setRegionScanner(scanner);
    auto archive = ore::reader::ZipArchive::openBuffer(zip, ctx);
    return ore::reader::readOds(archive, ctx);
  });
  return 0;
}
