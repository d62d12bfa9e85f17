#pragma once
// Builders of small workbooks for the reader tests: zip packages (xlsx, ods) through libzip and
// compound files holding BIFF8 records (xls), written to the test's temporary folder.

#include <zip.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "gtest/gtest.h"

namespace ore::testfiles {

inline std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + name;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

using Members = std::vector<std::pair<std::string, std::string>>;

// A zip archive of the members, deflated at the best compression.
inline std::string writeZip(const std::string& name, const Members& members) {
  const std::string path = tempPath(name);
  int err = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  if (!z) throw std::runtime_error("zip_open");
  for (const auto& [member, data] : members) {
    zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
    zip_int64_t i = zip_file_add(z, member.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
    if (i < 0) throw std::runtime_error("zip_file_add");
    zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 9);
  }
  if (zip_close(z) != 0) throw std::runtime_error("zip_close");
  return path;
}

inline const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// The parts of an xlsx package with the given sheets (name, sheet XML), plus extra members
// (shared strings, styles: linked when present).
inline Members xlsx(const std::vector<std::pair<std::string, std::string>>& sheets,
                    const Members& extra = {}) {
  std::string wb = std::string("<workbook xmlns=\"") + kMainNs +
                   "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                   "relationships\"><sheets>";
  std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  const std::string rt = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  Members m;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    wb += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + rt +
            "worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    m.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets[i].second);
  }
  for (const auto& [name, data] : extra) {
    if (name == "xl/sharedStrings.xml")
      rels += "<Relationship Id=\"rSst\" Type=\"" + rt +
              "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    if (name == "xl/styles.xml")
      rels += "<Relationship Id=\"rSty\" Type=\"" + rt + "styles\" Target=\"styles.xml\"/>";
    m.emplace_back(name, data);
  }
  wb += "</sheets></workbook>";
  rels += "</Relationships>";
  m.emplace_back("xl/workbook.xml", wb);
  m.emplace_back("xl/_rels/workbook.xml.rels", rels);
  m.emplace_back("_rels/.rels",
                 "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                 "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                     rt + "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  return m;
}

// A worksheet part around the given sheetData content.
inline std::string sheetXml(const std::string& data, const std::string& before = "") {
  return std::string("<worksheet xmlns=\"") + kMainNs + "\">" + before + "<sheetData>" + data +
         "</sheetData></worksheet>";
}

// An ods package whose content.xml holds the given table XML.
inline Members ods(const std::string& tables) {
  std::string content =
      "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
      "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
      "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
      "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\">"
      "<office:body><office:spreadsheet>" +
      tables + "</office:spreadsheet></office:body></office:document-content>";
  return {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}};
}

// BIFF8 records.
inline std::string le16(unsigned v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
inline std::string le32(std::uint32_t v) {
  return le16(v & 0xFFFF) + le16(v >> 16);
}
inline std::string record(unsigned type, const std::string& data) {
  return le16(type) + le16(static_cast<unsigned>(data.size())) + data;
}
inline std::string bof(unsigned kind) {
  return record(0x0809, le16(0x0600) + le16(kind) + std::string(12, '\0'));
}
inline std::string eof() {
  return record(0x000A, "");
}
// A compressed (one byte a character) BIFF8 string with a 16-bit length.
inline std::string str16(const std::string& latin) {
  return le16(static_cast<unsigned>(latin.size())) + '\0' + latin;
}

// A workbook stream: globals (with the given extra records), one sheet "S" of cell records.
inline std::string biffWorkbook(const std::string& globals, const std::string& cells) {
  const std::string before = bof(0x0005) + globals;
  const std::string bound = record(0x0085, le32(0) + '\0' + '\0' + '\1' + '\0' + 'S');
  const std::uint32_t sheetAt =
      static_cast<std::uint32_t>(before.size() + bound.size() + eof().size());
  return before + record(0x0085, le32(sheetAt) + '\0' + '\0' + '\1' + '\0' + 'S') + eof() +
         bof(0x0010) + cells + eof();
}

// A version-3 compound file with one stream "Workbook" in regular sectors (padded to 4096
// bytes, the smallest size kept outside the mini stream).
inline std::string compoundFile(std::string stream) {
  if (stream.size() < 4096) stream.resize(4096, '\0');
  const std::uint32_t n = static_cast<std::uint32_t>((stream.size() + 511) / 512);
  stream.resize(n * 512, '\0');
  std::string header(512, '\0');
  header.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
  header.replace(0x18, 2, le16(0x3E));
  header.replace(0x1A, 2, le16(3));
  header.replace(0x1C, 2, le16(0xFFFE));
  header.replace(0x1E, 2, le16(9));
  header.replace(0x20, 2, le16(6));
  header.replace(0x2C, 4, le32(1));  // one FAT sector
  header.replace(0x30, 4, le32(1));  // directory in sector 1
  header.replace(0x38, 4, le32(4096));
  header.replace(0x3C, 4, le32(0xFFFFFFFE));  // no mini FAT
  header.replace(0x44, 4, le32(0xFFFFFFFE));  // no DIFAT
  for (int i = 0; i < 109; ++i) header.replace(0x4C + 4 * i, 4, le32(i == 0 ? 0 : 0xFFFFFFFF));
  std::string fat;
  fat += le32(0xFFFFFFFD) + le32(0xFFFFFFFE);
  for (std::uint32_t i = 0; i < n; ++i) fat += le32(i + 1 < n ? i + 3 : 0xFFFFFFFE);
  fat.resize(512, '\xFF');
  auto entry = [](const std::string& name, int type, std::uint32_t start, std::uint32_t size,
                  std::uint32_t child) {
    std::string e(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) e[2 * i] = name[i];
    e.replace(0x40, 2, le16(static_cast<unsigned>(2 * name.size() + 2)));
    e[0x42] = static_cast<char>(type);
    e.replace(0x44, 4, le32(0xFFFFFFFF));
    e.replace(0x48, 4, le32(0xFFFFFFFF));
    e.replace(0x4C, 4, le32(child));
    e.replace(0x74, 4, le32(start));
    e.replace(0x78, 4, le32(size));
    return e;
  };
  std::string dir = entry("Root Entry", 5, 0xFFFFFFFE, 0, 1) +
                    entry("Workbook", 2, 2, static_cast<std::uint32_t>(stream.size()), 0xFFFFFFFF);
  dir.resize(512, '\0');
  return header + fat + dir + stream;
}

}  // namespace ore::testfiles
