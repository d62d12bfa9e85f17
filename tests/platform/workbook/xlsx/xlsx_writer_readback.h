#pragma once
// Reading a saved .xlsx back for tests: the archive's parts as text, the sheet names in order and
// one cell's XML element. Enough to check what the writer stored without a reader of our own.

#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace ore::test {

// The text of one part of the archive; empty when the archive or the part is missing.
inline std::string zipEntry(const std::string& zipPath, const std::string& entry) {
  int err = 0;
  zip_t* z = zip_open(zipPath.c_str(), ZIP_RDONLY, &err);
  if (!z) return {};
  std::string out;
  if (zip_file_t* f = zip_fopen(z, entry.c_str(), 0)) {
    char buf[8192];
    for (zip_int64_t n; (n = zip_fread(f, buf, sizeof buf)) > 0;) out.append(buf, size_t(n));
    zip_fclose(f);
  }
  zip_discard(z);
  return out;
}

inline std::vector<std::string> sheetNames(const std::string& zipPath) {
  const std::string xml = zipEntry(zipPath, "xl/workbook.xml");
  std::vector<std::string> names;
  static const std::regex sheet("<sheet name=\"([^\"]*)\"");
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), sheet); it != std::sregex_iterator();
       ++it)
    names.push_back((*it)[1]);
  return names;
}

// The XML of sheet n (from 1) as the writer numbers its parts.
inline std::string sheetXml(const std::string& zipPath, int n) {
  return zipEntry(zipPath, "xl/worksheets/sheet" + std::to_string(n) + ".xml");
}

// The <c r="ref" ...>...</c> element of a cell, empty when the cell is not stored.
inline std::string cellXml(const std::string& xml, const std::string& ref) {
  const std::string open = "<c r=\"" + ref + "\"";
  size_t at = xml.find(open);
  if (at == std::string::npos) return {};
  size_t end = xml.find("</c>", at);
  size_t selfClose = xml.find("/>", at);
  size_t tagEnd = xml.find('>', at);
  if (selfClose != std::string::npos && selfClose + 1 == tagEnd)
    return xml.substr(at, tagEnd - at + 1);
  return end == std::string::npos ? std::string() : xml.substr(at, end + 4 - at);
}

// A fresh folder under the system's temporary folder, removed with its contents at the end.
struct TempDir {
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orefrac-test-XXXXXX").string();
    if (char* p = mkdtemp(tmpl.data())) path = p;
  }
  ~TempDir() {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
  }
  std::string file(const std::string& name) const {
    return (std::filesystem::path(path) / name).string();
  }
  std::string path;
};

}  // namespace ore::test
