#include "platform/workbook/xlsx/xlsx_reader.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/package/xml_scanner.h"
#include "platform/workbook/package/xml_stream.h"
#include "platform/workbook/xlsx/sheet_part.h"

namespace ore::reader {

namespace {

constexpr std::size_t kMaxSmallPart = 64u << 20;  // relationships, workbook.xml

struct Relationship {
  std::string type;
  std::string target;  // resolved part name; empty for external targets
};

bool typeIs(const std::string& type, std::string_view suffix) {
  return type.size() >= suffix.size() &&
         std::string_view(type).substr(type.size() - suffix.size()) == suffix;
}

std::string dirOf(std::string_view part) {
  auto slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

std::string relsPartOf(std::string_view part) {
  auto slash = part.rfind('/');
  std::string_view dir = slash == std::string_view::npos ? "" : part.substr(0, slash + 1);
  std::string_view file = slash == std::string_view::npos ? part : part.substr(slash + 1);
  return std::string(dir) + "_rels/" + std::string(file) + ".rels";
}

class RelsHandler : public XmlHandler {
 public:
  explicit RelsHandler(std::string baseDir) : base_(std::move(baseDir)) {}
  std::map<std::string, Relationship> rels;

  void start(std::string_view, std::string_view local, const char** attrs) override {
    if (local != "Relationship") return;
    const char* id = attrValue(attrs, "Id");
    const char* type = attrValue(attrs, "Type");
    const char* target = attrValue(attrs, "Target");
    const char* mode = attrValue(attrs, "TargetMode");
    if (!id || !type || !target) return;
    Relationship r;
    r.type = type;
    if (!(mode && std::string_view(mode) == "External")) r.target = resolvePartName(base_, target);
    rels.emplace(id, std::move(r));
  }
  void end(std::string_view, std::string_view) override {}

 private:
  std::string base_;
};

std::map<std::string, Relationship> readRels(ZipArchive& zip, const std::string& relsPart,
                                             const std::string& baseDir, ReadContext& ctx) {
  RelsHandler h(baseDir);
  auto stored = zip.find(relsPart);
  if (!stored) return {};
  XmlParser p(h, ctx, *stored);
  p.feed(zip.readAll(*stored, kMaxSmallPart));
  p.finish();
  return std::move(h.rels);
}

struct SheetEntry {
  std::string name;
  std::string relId;
};

class WorkbookHandler : public XmlHandler {
 public:
  explicit WorkbookHandler(ReadContext& ctx) : ctx_(ctx) {}
  std::vector<SheetEntry> sheets;
  bool date1904 = false;
  bool sawRoot = false;

  void start(std::string_view, std::string_view local, const char** attrs) override {
    if (depth_++ == 0) {
      if (local != "workbook") ctx_.notWorkbook();
      sawRoot = true;
      return;
    }
    if (local == "workbookPr") {
      const char* v = attrValue(attrs, "date1904");
      date1904 = v && (std::string_view(v) == "1" || std::string_view(v) == "true");
    } else if (local == "sheet") {
      SheetEntry e;
      if (const char* n = attrValue(attrs, "name")) e.name = n;
      // r:id is the one "id" attribute in a namespace (the relationships one).
      for (const char** a = attrs; *a; a += 2) {
        std::string_view full(*a);
        auto colon = full.find(':');
        if (colon != std::string_view::npos && full.substr(colon + 1) == "id") e.relId = a[1];
      }
      if (sheets.size() >= kMaxSheets) ctx_.tooBig("в книге больше 4096 листов");
      sheets.push_back(std::move(e));
    }
  }
  void end(std::string_view, std::string_view) override { --depth_; }

 private:
  ReadContext& ctx_;
  int depth_ = 0;
};

// Which cell formats (the s attribute of a cell) show dates.
class StylesHandler : public XmlHandler {
 public:
  std::vector<bool> dateXf;

  void start(std::string_view, std::string_view local, const char** attrs) override {
    if (local == "numFmt") {
      const char* id = attrValue(attrs, "numFmtId");
      const char* code = attrValue(attrs, "formatCode");
      std::uint64_t n;
      if (id && code && parseIndex(id, 1u << 20, n)) customDate_[n] = isDateFormatCode(code);
    } else if (local == "cellXfs") {
      inCellXfs_ = true;
    } else if (local == "xf" && inCellXfs_) {
      const char* id = attrValue(attrs, "numFmtId");
      std::uint64_t n = 0;
      if (!id || !parseIndex(id, 1u << 20, n)) n = 0;
      xfFormats_.push_back(n);
    }
  }
  void end(std::string_view, std::string_view local) override {
    if (local == "cellXfs") inCellXfs_ = false;
  }
  void resolve() {
    dateXf.reserve(xfFormats_.size());
    for (auto id : xfFormats_) {
      auto it = customDate_.find(id);
      // A custom code overrides a built-in id (LibreOffice redefines 164 and up only, but a
      // writer may restate a built-in one).
      dateXf.push_back(it != customDate_.end() ? it->second : isBuiltinDateFormat(id));
    }
  }

 private:
  std::map<std::uint64_t, bool> customDate_;
  std::vector<std::uint64_t> xfFormats_;
  bool inCellXfs_ = false;
};

}  // namespace

std::string resolvePartName(std::string_view baseDir, std::string_view target) {
  std::string decoded;
  for (std::size_t i = 0; i < target.size(); ++i) {
    char c = target[i];
    auto hex = [](char h) -> int {
      if (h >= '0' && h <= '9') return h - '0';
      if (h >= 'a' && h <= 'f') return h - 'a' + 10;
      if (h >= 'A' && h <= 'F') return h - 'A' + 10;
      return -1;
    };
    if (c == '%' && i + 2 < target.size() && hex(target[i + 1]) >= 0 && hex(target[i + 2]) >= 0) {
      decoded += static_cast<char>(hex(target[i + 1]) * 16 + hex(target[i + 2]));
      i += 2;
    } else {
      decoded += c == '\\' ? '/' : c;
    }
  }
  std::string path =
      !decoded.empty() && decoded[0] == '/' ? decoded : std::string(baseDir) + decoded;
  std::vector<std::string_view> parts;
  std::string_view p(path);
  while (!p.empty()) {
    auto slash = p.find('/');
    std::string_view seg = p.substr(0, slash);
    p = slash == std::string_view::npos ? std::string_view() : p.substr(slash + 1);
    if (seg.empty() || seg == ".") continue;
    if (seg == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(seg);
  }
  std::string out;
  for (auto s : parts) {
    if (!out.empty()) out += '/';
    out += s;
  }
  return out;
}

bool looksLikeXlsx(const ZipArchive& zip) {
  return zip.has("_rels/.rels") || zip.has("xl/workbook.xml");
}

Workbook readXlsx(ZipArchive& zip, ReadContext& ctx) {
  // The workbook part, as the package relationships name it.
  std::string wbPart;
  for (const auto& [id, r] : readRels(zip, "_rels/.rels", "", ctx))
    if (typeIs(r.type, "/officeDocument") && !r.target.empty()) wbPart = r.target;
  if (wbPart.empty()) wbPart = "xl/workbook.xml";
  auto stored = zip.find(wbPart);
  if (!stored) ctx.notWorkbook("в пакете нет книги");
  wbPart = *stored;
  if (wbPart.size() >= 4 && wbPart.compare(wbPart.size() - 4, 4, ".bin") == 0)
    ctx.notWorkbook("двоичные книги xlsb не поддерживаются; сохраните книгу как xlsx");

  WorkbookHandler wbh(ctx);
  parseMember(zip, wbPart, wbh, ctx);

  const std::string base = dirOf(wbPart);
  auto rels = readRels(zip, relsPartOf(wbPart), base, ctx);

  std::vector<bool> dateXf;
  std::unique_ptr<SharedStrings> sst;
  for (const auto& [id, r] : rels) {
    if (r.target.empty()) continue;
    if (typeIs(r.type, "/styles")) {
      if (auto part = zip.find(r.target)) {
        StylesHandler sh;
        parseMember(zip, *part, sh, ctx);
        sh.resolve();
        dateXf = std::move(sh.dateXf);
      }
    } else if (typeIs(r.type, "/sharedStrings")) {
      if (auto part = zip.find(r.target)) {
        sst = std::make_unique<SharedStrings>(ctx);
        parseMember(zip, *part, *sst, ctx);
      }
    }
  }

  Workbook wb;
  wb.path = ctx.file();
  wb.sheets.reserve(wbh.sheets.size());
  for (const auto& e : wbh.sheets) {
    wb.sheets.emplace_back(e.name);
    Sheet& sheet = wb.sheets.back();
    auto it = rels.find(e.relId);
    if (it == rels.end() || it->second.target.empty())
      ctx.corrupt("для листа " + quoted(e.name) + " в книге нет ссылки на его часть");
    const Relationship& r = it->second;
    // Chart and dialog sheets hold no cells but keep their place in the numbering of sheets.
    if (!typeIs(r.type, "/worksheet") && !typeIs(r.type, "/xlMacrosheet")) continue;
    auto part = zip.find(r.target);
    if (!part) ctx.corrupt("в архиве нет части " + r.target + " листа " + quoted(e.name));
    readSheetPart(zip, *part, sheet, sst.get(), dateXf, wbh.date1904, ctx);
  }
  return wb;
}

}  // namespace ore::reader
