// xlsx parts: the input is the sheet XML, then (after NUL bytes) the shared strings, the
// styles and the workbook part, wrapped into a package. Each input is read twice, with the
// worksheet row scanner and through expat alone: the cells or the message must be the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/errors.h"
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
  auto outcome = [&](bool scanner) {
    ore::reader::useRowScanner(scanner);
    ore::reader::ReadContext ctx("fuzz.xlsx");
    std::string out;
    try {
      auto archive = ore::reader::ZipArchive::openBuffer(zip, ctx);
      const ore::Workbook wb = ore::reader::readXlsx(archive, ctx);
      for (const auto& s : wb.sheets) {
        out += s.name() + "|" + std::to_string(s.lastRow()) + "|" + std::to_string(s.lastCol());
        if (s.lastRow() * s.lastCol() > 100000) continue;
        for (std::int64_t r = 1; r <= s.lastRow(); ++r)
          for (std::int64_t c = 1; c <= s.lastCol(); ++c) {
            const ore::Cell cell = s.cell(r, c);
            out += "|" + std::to_string(static_cast<int>(cell.type)) + ":" +
                   std::to_string(cell.number) + ":" + cell.text + ":" + cell.formula.str();
          }
      }
    } catch (const ore::Error& e) {
      out = std::string("error: ") + e.what();
    }
    return out;
  };
  if (outcome(true) != outcome(false)) std::abort();
  return 0;
}
