// xlsx parts: the input is the sheet XML, then (after NUL bytes) the shared strings, the
// styles and the workbook part, wrapped into a package. Each input is read twice, with the
// worksheet row scanner and through expat alone: the cells or the message must be the same.

#include <cstdint>
#include <string>

#include "platform/workbook/xlsx/xlsx_reader.h"
#include "tools/fuzz/fuzz_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parts = ore::fuzz::splitParts(data, size, 4);
  static const std::string kWorkbook =
      "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" r:id=\"rId1\"/></sheets></workbook>";
  static const std::string kRels =
      "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
      "Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId2\" Type=\"x/sharedStrings\" Target=\"sharedStrings.xml\"/>"
      "<Relationship Id=\"rId3\" Type=\"x/styles\" Target=\"/xl/styles.xml\"/></Relationships>";
  static const std::string kRoot =
      "<Relationships><Relationship Id=\"a\" Type=\"x/officeDocument\" Target=\"xl/workbook.xml\"/>"
      "</Relationships>";
  std::vector<std::pair<std::string, std::string_view>> members = {
      {"_rels/.rels", kRoot},
      {"xl/_rels/workbook.xml.rels", kRels},
      {"xl/worksheets/sheet1.xml", parts[0]},
      {"xl/workbook.xml", parts.size() > 3 ? parts[3] : std::string_view(kWorkbook)}};
  if (parts.size() > 1) members.emplace_back("xl/sharedStrings.xml", parts[1]);
  if (parts.size() > 2) members.emplace_back("xl/styles.xml", parts[2]);
  const std::string zip = ore::fuzz::storedZip(members);
  ore::fuzz::readBothWays([&](bool scanner) {
    ore::reader::ReadContext ctx("fuzz.xlsx");
    ctx.setRegionScanner(scanner);
    auto archive = ore::reader::ZipArchive::openBuffer(zip, ctx);
    return ore::reader::readXlsx(archive, ctx);
  });
  return 0;
}
