#include "platform/workbook/ods/ods_reader.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/package/xml_scanner.h"
#include "platform/workbook/package/xml_stream.h"
#include "platform/workbook/package/zip_archive.h"

namespace ore::reader {

namespace {

constexpr std::string_view kOffice = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTable = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kText = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kCalcExt =
    "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";
constexpr std::string_view kSpreadsheetMime = "application/vnd.oasis.opendocument.spreadsheet";

// Repeat counts are taken at their word only as far as the sheet reaches.
std::int64_t repeatCount(const char* v) {
  std::uint64_t n;
  if (!v || !parseIndex(v, 1ull << 40, n) || n == 0) return 1;
  return static_cast<std::int64_t>(n);
}

class ManifestHandler : public XmlHandler {
 public:
  bool encrypted = false;
  void start(std::string_view, std::string_view local, const char**) override {
    if (local == "encryption-data") encrypted = true;
  }
  void end(std::string_view, std::string_view) override {}
};

class ContentHandler : public XmlHandler {
 public:
  ContentHandler(ReadContext& ctx, Workbook& wb) : ctx_(ctx), wb_(wb) {}

  void start(std::string_view ns, std::string_view local, const char** attrs) override {
    ++depth_;
    if (skipUntil_) return;
    if (inCell_) {
      cellChild(ns, local, attrs);
      return;
    }
    if (ns != kTable) {
      if (ns == kOffice && local == "spreadsheet") inSpreadsheet_ = true;
      return;
    }
    if (local == "table") {
      if (!inSpreadsheet_ || sheet_) {  // a table nested in a cell, or outside the sheets
        skipUntil_ = depth_;
        return;
      }
      if (wb_.sheets.size() >= kMaxSheets) ctx_.tooBig("в книге больше 4096 листов");
      const char* name = attrValue(attrs, kTable, "name");
      wb_.sheets.emplace_back(name ? name : "");
      sheet_ = &wb_.sheets.back();
      builder_.emplace(ctx_, *sheet_);
      row_ = 1;
    } else if (!sheet_) {
      return;
    } else if (local == "table-row") {
      rowRepeat_ = repeatCount(attrValue(attrs, kTable, "number-rows-repeated"));
      col_ = 1;
      pending_.clear();
    } else if (local == "table-cell" || local == "covered-table-cell") {
      startCell(attrs);
    }
  }

  void end(std::string_view ns, std::string_view local) override {
    if (skipUntil_) {
      if (depth_-- == skipUntil_) skipUntil_ = 0;
      return;
    }
    --depth_;
    if (inCell_) {
      if (depth_ == cellDepth_) {
        finishCell();
      } else if (ns == kText && local == "p" && depth_ == cellDepth_ + 1) {
        inPara_ = false;
      }
      return;
    }
    if (ns != kTable || !sheet_) {
      if (ns == kOffice && local == "spreadsheet") inSpreadsheet_ = false;
      return;
    }
    if (local == "table-row") {
      finishRow();
    } else if (local == "table") {
      sheet_ = nullptr;
      builder_.reset();
    }
  }

  void text(std::string_view s) override {
    if (inPara_ && wantText_ && !skipUntil_) text_.append(s);
  }

  bool inSpreadsheet() const { return inSpreadsheet_; }

 private:
  struct Pending {
    std::int64_t col, repeat;
    Cell cell;
  };

  std::string onSheet() const { return " на листе " + quoted(sheet_->name()); }

  void startCell(const char** attrs) {
    inCell_ = true;
    cellDepth_ = depth_ - 1;
    text_.clear();
    paragraphs_ = 0;
    inPara_ = false;
    cell_ = Cell();
    hasStringValue_ = false;

    // One pass over the attributes: a million-row sheet has millions of cells.
    const char *type = nullptr, *ext = nullptr, *repeat = nullptr, *value = nullptr,
               *date = nullptr, *time = nullptr, *boolean = nullptr, *string = nullptr;
    for (const char** a = attrs; *a; a += 2) {
      std::string_view ns, local;
      splitName(*a, ns, local);
      if (ns == kOffice) {
        if (local == "value-type")
          type = a[1];
        else if (local == "value")
          value = a[1];
        else if (local == "date-value")
          date = a[1];
        else if (local == "time-value")
          time = a[1];
        else if (local == "boolean-value")
          boolean = a[1];
        else if (local == "string-value")
          string = a[1];
      } else if (ns == kTable && local == "number-columns-repeated") {
        repeat = a[1];
      } else if (ns == kCalcExt && local == "value-type") {
        ext = a[1];
      }
    }
    colRepeat_ = repeatCount(repeat);
    error_ = ext && std::string_view(ext) == "error";
    typed_ = type != nullptr;
    wantText_ = !typed_ || error_;
    if (!type || error_) return;
    std::string_view t = type;
    auto need = [&](const char* v, const char* local) {
      if (!v) bad(std::string("нет атрибута office:") + local);
      return std::string_view(v);
    };
    if (t == "float" || t == "percentage" || t == "currency") {
      std::string_view v = need(value, "value");
      if (!parseNumber(v, cell_.number)) bad("неверное число " + quoted(v));
      cell_.type = Cell::Type::Number;
    } else if (t == "date") {
      std::string_view v = need(date, "date-value");
      if (!isoDateToSerial(v, cell_.number)) bad("неверная дата " + quoted(v));
      cell_.type = Cell::Type::Date;
    } else if (t == "time") {
      std::string_view v = need(time, "time-value");
      if (!isoDurationToDays(v, cell_.number)) bad("неверное время " + quoted(v));
      cell_.type = Cell::Type::Date;
    } else if (t == "boolean") {
      std::string_view v = need(boolean, "boolean-value");
      if (v == "true" || v == "1")
        cell_.number = 1;
      else if (v == "false" || v == "0")
        cell_.number = 0;
      else
        bad("неверное логическое значение " + quoted(v));
      cell_.type = Cell::Type::Logical;
    } else if (t == "string") {
      cell_.type = Cell::Type::Text;
      if (string) {
        cell_.text = string;
        hasStringValue_ = true;
      } else {
        wantText_ = true;
      }
    } else if (t == "void") {
      typed_ = false;
      wantText_ = true;
    } else {
      bad("неизвестный тип значения " + quoted(t));
    }
  }

  void cellChild(std::string_view ns, std::string_view local, const char** attrs) {
    if (ns == kOffice && local == "annotation") {  // a comment is not the cell's text
      skipUntil_ = depth_;
      return;
    }
    if (ns != kText) {
      if (inPara_ && ns != kTable) skipUntil_ = depth_;  // drawings anchored in the text
      return;
    }
    if (local == "p" && depth_ == cellDepth_ + 2) {
      if (paragraphs_++ && wantText_) text_ += '\n';
      inPara_ = true;
    } else if (!wantText_) {
      if (inPara_ && local == "note") skipUntil_ = depth_;
    } else if (inPara_ && local == "s") {
      std::uint64_t n = 1;
      if (const char* c = attrValue(attrs, kText, "c")) {
        if (!parseIndex(c, 1u << 16, n)) bad("неверное число пробелов " + quoted(c));
      }
      // A few bytes of XML for thousands of blanks: they count against the model's memory.
      ctx_.addModel(n);
      text_.append(static_cast<std::size_t>(n), ' ');
    } else if (inPara_ && local == "tab") {
      text_ += '\t';
    } else if (inPara_ && local == "line-break") {
      text_ += '\n';
    } else if (inPara_ && local == "note") {
      skipUntil_ = depth_;  // footnotes are not the cell's text
    }
  }

  [[noreturn]] void bad(const std::string& what) {
    ctx_.corrupt(what + " в ячейке " +
                 cellName(row_ > Sheet::kMaxRows ? Sheet::kMaxRows : row_,
                          col_ > Sheet::kMaxCols ? Sheet::kMaxCols : col_) +
                 onSheet());
  }

  void finishCell() {
    inCell_ = false;
    inPara_ = false;
    if (error_) {
      cell_.type = Cell::Type::Error;
      cell_.number = 0;
      cell_.text = text_.empty() ? "#N/A" : text_;
    } else if (cell_.type == Cell::Type::Text) {
      if (!hasStringValue_) cell_.text = std::move(text_);
    } else if (!typed_ && paragraphs_ > 0) {
      // Text without a value type: shown in the cell, so it is the cell's text.
      cell_.type = Cell::Type::Text;
      cell_.text = std::move(text_);
    }
    if (cell_.type != Cell::Type::Empty) {
      if (row_ > Sheet::kMaxRows || col_ + colRepeat_ - 1 > Sheet::kMaxCols) {
        builder_->checkPosition(std::min(row_, Sheet::kMaxRows + 1),
                                std::min(col_ + colRepeat_ - 1, Sheet::kMaxCols + 1));
      }
      pending_.push_back({col_, colRepeat_, std::move(cell_)});
    }
    col_ = std::min(col_ + colRepeat_, Sheet::kMaxCols + 2);
  }

  void finishRow() {
    if (!pending_.empty()) {
      const std::int64_t last = row_ + rowRepeat_ - 1;
      if (last > Sheet::kMaxRows) builder_->checkPosition(Sheet::kMaxRows + 1, pending_[0].col);
      for (std::int64_t r = row_; r <= last; ++r)
        for (const auto& p : pending_)
          for (std::int64_t c = p.col; c < p.col + p.repeat; ++c) builder_->set(r, c, p.cell);
      pending_.clear();
    }
    // Empty repeats only move the row on, however many they claim.
    row_ = std::min(row_ + rowRepeat_, Sheet::kMaxRows + 2);
  }

  ReadContext& ctx_;
  Workbook& wb_;
  Sheet* sheet_ = nullptr;
  std::optional<SheetBuilder> builder_;
  int depth_ = 0, skipUntil_ = 0, cellDepth_ = 0;
  bool inSpreadsheet_ = false, inCell_ = false, inPara_ = false;
  bool typed_ = false, error_ = false, hasStringValue_ = false, wantText_ = false;
  int paragraphs_ = 0;
  std::int64_t row_ = 1, col_ = 1, rowRepeat_ = 1, colRepeat_ = 1;
  Cell cell_;
  std::string text_;
  std::vector<Pending> pending_;
};

}  // namespace

bool looksLikeOds(ZipArchive& zip, bool& otherDocument) {
  otherDocument = false;
  auto part = zip.find("mimetype");
  if (!part) return false;
  std::string mime;
  zip.read(*part, [&](std::string_view chunk) {
    if (mime.size() < 256) mime.append(chunk.substr(0, 256 - mime.size()));
  });
  while (!mime.empty() && (mime.back() == '\n' || mime.back() == '\r' || mime.back() == ' '))
    mime.pop_back();
  if (mime == kSpreadsheetMime || mime == std::string(kSpreadsheetMime) + "-template") return true;
  otherDocument = mime.rfind("application/vnd.oasis.opendocument.", 0) == 0;
  return false;
}

Workbook readOds(ZipArchive& zip, ReadContext& ctx) {
  if (auto manifest = zip.find("META-INF/manifest.xml")) {
    ManifestHandler mh;
    parseMember(zip, *manifest, mh, ctx);
    if (mh.encrypted) ctx.encrypted();
  }
  auto content = zip.find("content.xml");
  if (!content) ctx.corrupt("в архиве нет части content.xml");
  const ReadContext::Account account = ctx.account();
  const std::uint64_t budget = zip.budget();
  if (ctx.regionScanner()) {
    try {
      Workbook wb;
      wb.path = ctx.file();
      ContentHandler h(ctx, wb);
      // The sheets inside <office:spreadsheet> go to the scanner.
      ScannedPartReader reader(
          h, ctx, *content, "spreadsheet", [&h] { return h.inSpreadsheet(); },
          XmlParser::Names::Namespaces);
      zip.read(*content, [&](std::string_view chunk) { reader.feed(chunk); });
      reader.finish();
      return wb;
    } catch (const ScanGiveUp&) {
    }
  }
  // Something the scanner does not take: the part once more, through expat alone.
  ctx.restore(account);
  zip.restoreBudget(budget);
  Workbook wb;
  wb.path = ctx.file();
  ContentHandler h(ctx, wb);
  parseMember(zip, *content, h, ctx, XmlParser::Names::Namespaces);
  return wb;
}

}  // namespace ore::reader
