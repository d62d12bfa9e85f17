#include "platform/workbook/xlsx/sheet_part.h"

#include <algorithm>
#include <map>
#include <optional>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/package/xml_scanner.h"
#include "platform/workbook/package/xml_stream.h"

namespace ore::reader {

namespace {

// "AB12" to row and column; false when malformed. Values past the sheet are returned as they
// are (capped) so that the builder can name them in its message.
bool parseCellRef(std::string_view ref, std::int64_t& row, std::int64_t& col) {
  std::size_t i = 0;
  std::int64_t c = 0;
  while (i < ref.size() && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
    char u = static_cast<char>(ref[i] & ~0x20);
    if (c <= Sheet::kMaxCols) c = c * 26 + (u - 'A' + 1);
    ++i;
  }
  if (i == 0 || i == ref.size()) return false;
  std::int64_t r = 0;
  for (; i < ref.size(); ++i) {
    if (ref[i] < '0' || ref[i] > '9') return false;
    if (r <= Sheet::kMaxRows) r = r * 10 + (ref[i] - '0');
  }
  row = r;
  col = c;
  return true;
}

class SheetHandler final : public XmlHandler {
 public:
  SheetHandler(ReadContext& ctx, Sheet& sheet, const SharedStrings* sst,
               const std::vector<bool>& dateXf, bool date1904)
      : ctx_(ctx),
        sheet_(sheet),
        out_(ctx, sheet),
        sst_(sst),
        dateXf_(dateXf),
        date1904_(date1904) {}

  void start(std::string_view, std::string_view local, const char** attrs) override {
    if (!inData_) {
      if (local == "sheetData") inData_ = true;
      if (local == "dimension") reserveFor(attrValue(attrs, "ref"));
      return;
    }
    if (inCell_) {
      if (local == "v") {
        hasV_ = true;
        capture_ = &v_;
      } else if (local == "f") {
        hasF_ = true;
        capture_ = &f_;
        startFormula(attrs);
      } else if (local == "is") {
        hasIs_ = true;
      } else if (local == "rPh") {
        ++phonetic_;
      } else if (local == "t" && hasIs_ && !phonetic_) {
        capture_ = &is_;
      }
      return;
    }
    if (local == "row") {
      const char* r = nullptr;
      for (const char** a = attrs; *a; a += 2)
        if (a[0][0] == 'r' && a[0][1] == 0) r = a[1];
      if (r) {
        std::uint64_t n;
        if (!parseIndex(r, 1ull << 40, n))
          ctx_.corrupt("неверный номер строки " + quoted(r) + onSheet());
        row_ = static_cast<std::int64_t>(n);
      } else {
        ++row_;
      }
      out_.checkPosition(row_, 1);
      col_ = 0;
    } else if (local == "c") {
      startCell(attrs);
    }
  }

  void end(std::string_view, std::string_view local) override {
    if (!inData_) return;
    if (inCell_) {
      if (local == "c") {
        finishCell();
      } else if (local == "v" || local == "f" || local == "t") {
        capture_ = nullptr;
      } else if (local == "rPh" && phonetic_) {
        --phonetic_;
      }
      return;
    }
    if (local == "sheetData") inData_ = false;
  }

  void text(std::string_view s) override {
    if (capture_) capture_->append(s);
  }

  bool inSheetData() const { return inData_; }

 private:
  std::string onSheet() const { return " на листе " + quoted(sheet_.name()); }

  // The range the writer says the sheet covers ("A1:D1000001"): room for it at once, as far as
  // the model may grow before the content has to justify it.
  void reserveFor(const char* ref) {
    if (!ref) return;
    const std::string_view r(ref);
    const auto colon = r.find(':');
    std::int64_t row1, col1, row2, col2;
    if (colon == std::string_view::npos || !parseCellRef(r.substr(0, colon), row1, col1) ||
        !parseCellRef(r.substr(colon + 1), row2, col2) || row2 < row1 || col2 < col1)
      return;
    // Rows are kept from column 1 on; a sheet cell takes 16 bytes.
    const auto rows = static_cast<std::uint64_t>(row2);
    const std::uint64_t cells = rows * static_cast<std::uint64_t>(col2);
    if (rows > static_cast<std::uint64_t>(Sheet::kMaxRows) || cells > kModelFloor / 16) return;
    sheet_.reserve(rows, cells);
  }

  void startCell(const char** attrs) {
    const char* ref = nullptr;
    const char* style = nullptr;
    const char* type = nullptr;
    for (const char** a = attrs; *a; a += 2) {
      const char* n = a[0];
      if (n[1] != 0) continue;  // r, s and t are one letter, unprefixed
      if (n[0] == 'r')
        ref = a[1];
      else if (n[0] == 's')
        style = a[1];
      else if (n[0] == 't')
        type = a[1];
    }
    if (ref) {
      if (!parseCellRef(ref, cellRow_, cellCol_))
        ctx_.corrupt("неверная ссылка на ячейку " + quoted(ref) + onSheet());
    } else {
      cellRow_ = row_;
      cellCol_ = col_ + 1;
    }
    out_.checkPosition(cellRow_, cellCol_);
    col_ = cellCol_;
    dateStyle_ = false;
    if (style) {
      std::uint64_t s;
      if (parseIndex(style, 1ull << 32, s) && s < dateXf_.size()) dateStyle_ = dateXf_[s];
    }
    type_ = type ? type : "n";
    inCell_ = true;
    hasV_ = hasF_ = hasIs_ = false;
    sharedIndex_ = -1;
    v_.clear();
    f_.clear();
    is_.clear();
    capture_ = nullptr;
    phonetic_ = 0;
  }

  // A shared formula's master (t="shared" with its text) and the cells that share it (t="shared"
  // with only the index si).
  void startFormula(const char** attrs) {
    const char* t = attrValue(attrs, "t");
    const char* si = attrValue(attrs, "si");
    std::uint64_t n;
    sharedIndex_ = t && std::string_view(t) == "shared" && si && parseIndex(si, 1ull << 32, n)
                       ? static_cast<std::int64_t>(n)
                       : -1;
  }

  // A shared formula's text is kept from its master. A follower's text proper is the master's with
  // relative references shifted; only formulas without references can be evaluated here, and for
  // those it is the master's text, so a follower takes the master's value, evaluated once.
  void rememberSharedFormula() {
    if (sharedIndex_ < 0 || f_.empty()) return;
    ctx_.addModel(f_.size() + sizeof(SharedFormula) + 32);
    sharedFormulas_[sharedIndex_] = SharedFormula{f_, std::nullopt};
  }

  [[noreturn]] void badValue() {
    ctx_.corrupt("неверное значение " + quoted(v_) + " в ячейке " + cellName(cellRow_, cellCol_) +
                 onSheet());
  }

  // A formula the writer left without its result.
  Cell uncomputed() {
    if (f_.empty() && sharedIndex_ >= 0) {
      auto it = sharedFormulas_.find(sharedIndex_);
      if (it == sharedFormulas_.end()) return evaluated("");  // no master before it: #N/A
      if (!it->second.value) it->second.value = evaluated(it->second.text);
      return *it->second.value;
    }
    return evaluated(f_);
  }

  static Cell evaluated(std::string_view formula) {
    Cell c;
    double v;
    switch (evalConstantFormula(formula, v)) {
      case FormulaResult::Value:
        c.type = Cell::Type::Number;
        c.number = v;
        break;
      case FormulaResult::DivisionByZero:
        c.type = Cell::Type::Error;
        c.text = "#DIV/0!";
        break;
      case FormulaResult::NotConstant:
        c.type = Cell::Type::Error;
        c.text = "#N/A";
        break;
    }
    return c;
  }

  void finishCell() {
    inCell_ = false;
    capture_ = nullptr;
    if (hasF_) rememberSharedFormula();
    // A formula never reads as an empty cell: without its result it is evaluated or #N/A.
    const bool noResult = hasF_ && v_.empty();
    Cell c;
    const std::string_view t = type_;
    if (t == "n") {
      if (noResult) {
        c = uncomputed();
      } else if (v_.empty() && hasIs_) {
        c.type = Cell::Type::Text;  // an inline string that lost its t="inlineStr"
        c.text = std::move(is_);
        decodeOoxmlEscapes(c.text);
      } else if (!v_.empty()) {
        if (!parseNumber(v_, c.number)) badValue();
        c.type = dateStyle_ ? Cell::Type::Date : Cell::Type::Number;
        if (dateStyle_ && date1904_) c.number += 1462;
      } else {
        return;  // a formatted empty cell
      }
    } else if (t == "s") {
      std::uint64_t i;
      if (!parseIndex(v_, 1ull << 40, i)) badValue();
      if (!sst_ || i >= sst_->size())
        ctx_.corrupt("ячейка " + cellName(cellRow_, cellCol_) + onSheet() +
                     " ссылается на общую строку " + std::to_string(i) + ", а в таблице их " +
                     std::to_string(sst_ ? sst_->size() : 0));
      c.type = Cell::Type::Text;
      c.text = sst_->at(static_cast<std::size_t>(i));
    } else if (t == "inlineStr") {
      c.type = Cell::Type::Text;
      c.text = hasIs_ ? std::move(is_) : std::move(v_);
      decodeOoxmlEscapes(c.text);
    } else if (t == "str") {
      // An empty <v> of a text result is the empty text (as spreadsheets store ="").
      if (noResult && !hasV_) {
        c = uncomputed();
      } else {
        c.type = Cell::Type::Text;
        c.text = std::move(v_);
        decodeOoxmlEscapes(c.text);
      }
    } else if (t == "b") {
      if (noResult) {
        c = uncomputed();
      } else {
        if (v_ == "1" || v_ == "true")
          c.number = 1;
        else if (v_ == "0" || v_ == "false")
          c.number = 0;
        else
          badValue();
        c.type = Cell::Type::Logical;
      }
    } else if (t == "e") {
      c.type = Cell::Type::Error;
      c.text = v_.empty() ? "#N/A" : std::move(v_);
    } else if (t == "d") {
      if (v_.empty()) {
        if (!noResult) return;
        c = uncomputed();
      } else {
        if (!isoDateToSerial(v_, c.number)) badValue();
        c.type = Cell::Type::Date;
      }
    } else {
      ctx_.corrupt("неизвестный тип " + quoted(type_) + " ячейки " + cellName(cellRow_, cellCol_) +
                   onSheet());
    }
    out_.set(cellRow_, cellCol_, std::move(c));
  }

  ReadContext& ctx_;
  Sheet& sheet_;
  SheetBuilder out_;
  const SharedStrings* sst_;
  const std::vector<bool>& dateXf_;
  bool date1904_;

  bool inData_ = false, inCell_ = false;
  std::int64_t row_ = 0, col_ = 0, cellRow_ = 0, cellCol_ = 0;
  std::string type_;
  bool dateStyle_ = false, hasV_ = false, hasF_ = false, hasIs_ = false;
  int phonetic_ = 0;
  std::string v_, f_, is_;
  std::string* capture_ = nullptr;
  std::int64_t sharedIndex_ = -1;
  struct SharedFormula {
    std::string text;
    std::optional<Cell> value;  // once a follower without a result needed it
  };
  std::map<std::int64_t, SharedFormula> sharedFormulas_;  // by si, as the masters give them
};

}  // namespace

void readSheetPart(ZipArchive& zip, const std::string& part, Sheet& sheet, const SharedStrings* sst,
                   const std::vector<bool>& dateXf, bool date1904, ReadContext& ctx) {
  const ReadContext::Account account = ctx.account();
  const std::uint64_t budget = zip.budget();
  if (ctx.regionScanner()) {
    try {
      SheetHandler h(ctx, sheet, sst, dateXf, date1904);
      // The rows inside <sheetData> go to the scanner.
      ScannedPartReader reader(h, ctx, part, "sheetData", [&h] { return h.inSheetData(); });
      zip.read(part, [&](std::string_view chunk) { reader.feed(chunk); });
      reader.finish();
      return;
    } catch (const ScanGiveUp&) {
    }
  }
  // Something the scanner does not take: the part once more, through expat alone, as if read
  // for the first time.
  ctx.restore(account);
  zip.restoreBudget(budget);
  sheet = Sheet(sheet.name());
  SheetHandler h(ctx, sheet, sst, dateXf, date1904);
  parseMember(zip, part, h, ctx);
}

}  // namespace ore::reader
