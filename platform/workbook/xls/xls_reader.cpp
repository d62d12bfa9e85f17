#include "platform/workbook/xls/xls_reader.h"

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/xls/compound_file.h"
#include "platform/workbook/xls/little_endian.h"

namespace ore::reader {

namespace {

// Progress is reported about every this many bytes of the workbook stream.
constexpr std::size_t kReportBytes = 1 << 20;

enum : std::uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kDateMode = 0x0022,
  kFilePass = 0x002F,
  kContinue = 0x003C,
  kCodePage = 0x0042,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kRString = 0x00D6,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kRk = 0x027E,
  kFormat = 0x041E,
  kBof = 0x0809,
};

const char* errorName(unsigned code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2B:
      return "#GETTING_DATA";
    default:
      return "#N/A";
  }
}

// An RK number: 30 bits of an integer or of the top of a double, optionally hundredths.
double rkValue(std::uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

struct Record {
  std::uint16_t type = 0;
  std::string_view data;
};

class RecordReader {
 public:
  RecordReader(std::string_view s, std::size_t at, ReadContext& ctx) : s_(s), at_(at), ctx_(ctx) {}
  bool next(Record& r) {
    if (at_ + 4 > s_.size()) return false;
    r.type = u16(s_, at_);
    std::size_t len = u16(s_, at_ + 2);
    if (at_ + 4 + len > s_.size()) ctx_.corrupt("запись BIFF выходит за конец потока книги");
    r.data = s_.substr(at_ + 4, len);
    at_ += 4 + len;
    return true;
  }
  bool peek(Record& r) const {
    RecordReader copy(*this);
    return copy.next(r);
  }
  std::size_t at() const { return at_; }

 private:
  std::string_view s_;
  std::size_t at_;
  ReadContext& ctx_;
};

// Characters of a BIFF8 string, one or two bytes each as the flags say; false when the data
// ends first.
bool appendChars(std::string_view data, std::size_t& at, std::size_t& done, std::size_t cch,
                 bool wide, std::string& out) {
  while (done < cch) {
    if (at + (wide ? 2 : 1) > data.size()) return false;
    char32_t ch = wide ? u16(data, at) : static_cast<unsigned char>(data[at]);
    at += wide ? 2 : 1;
    if (wide && ch >= 0xD800 && ch <= 0xDBFF && done + 1 < cch && at + 2 <= data.size()) {
      char32_t lo = u16(data, at);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        ch = 0x10000 + ((ch - 0xD800) << 10) + (lo - 0xDC00);
        at += 2;
        ++done;
      }
    }
    appendUtf8(out, ch);
    ++done;
  }
  return true;
}

// A BIFF8 string without rich-text runs (a cell label, a format code, a sheet name, a formula
// result) of cch characters; its flags byte at data[at]. A formula's text may run on into
// CONTINUE records, each opening with a flags byte of its own.
std::string biff8String(std::string_view data, std::size_t at, std::size_t cch, RecordReader* more,
                        ReadContext& ctx) {
  std::string out;
  if (at >= data.size()) ctx.corrupt("строка в записи BIFF оборвана");
  bool wide = static_cast<unsigned char>(data[at++]) & 1;
  std::size_t done = 0;
  while (!appendChars(data, at, done, cch, wide, out)) {
    Record r;
    if (!more || at < data.size() || !more->peek(r) || r.type != kContinue || r.data.empty())
      ctx.corrupt("строка в записи BIFF оборвана");
    more->next(r);
    data = r.data;
    wide = static_cast<unsigned char>(data[0]) & 1;
    at = 1;
  }
  return out;
}

// BIFF5 byte strings: Windows-1251 when the workbook says so, else Latin-1.
std::string byteString(std::string_view bytes, bool cp1251) {
  std::string out;
  if (cp1251) {
    appendCp1251(out, bytes);
  } else {
    for (char c : bytes) appendUtf8(out, static_cast<unsigned char>(c));
  }
  return out;
}

// The shared string table: an SST record and its CONTINUE records read as one byte run,
// except that a string's characters split by a record boundary resume with a flags byte.
class SstReader {
 public:
  SstReader(std::vector<std::string_view> segments, ReadContext& ctx)
      : segs_(std::move(segments)), ctx_(ctx) {}

  void read(std::vector<std::string>& out) {
    std::uint64_t total;
    std::uint64_t unique;
    if (!bytes(4, total) || !bytes(4, unique)) ctx_.corrupt("таблица строк оборвана");
    for (std::uint64_t i = 0; i < unique; ++i) {
      std::uint64_t cch, flags, runs = 0, ext = 0;
      settle();
      if (idx_ >= segs_.size()) break;  // some writers overstate the count
      if (!bytes(2, cch) || !bytes(1, flags)) bad();
      if ((flags & 0x08) && !bytes(2, runs)) bad();
      if ((flags & 0x04) && !bytes(4, ext)) bad();
      std::string s;
      bool wide = flags & 1;
      std::size_t done = 0;
      for (;;) {
        std::string_view d = idx_ < segs_.size() ? segs_[idx_] : std::string_view();
        if (appendChars(d, off_, done, static_cast<std::size_t>(cch), wide, s)) break;
        if (off_ < d.size()) bad();  // half a character left in the record
        // The characters go on in the next record, after a flags byte.
        ++idx_;
        off_ = 0;
        std::uint64_t f;
        if (idx_ >= segs_.size() || !bytes(1, f)) bad();
        wide = f & 1;
      }
      if (!skip(runs * 4 + ext)) bad();
      ctx_.addModel(sizeof(std::string) + s.size());
      out.push_back(std::move(s));
    }
  }

 private:
  [[noreturn]] void bad() { ctx_.corrupt("таблица строк испорчена"); }
  void settle() {
    while (idx_ < segs_.size() && off_ >= segs_[idx_].size()) ++idx_, off_ = 0;
  }
  bool bytes(unsigned n, std::uint64_t& v) {
    v = 0;
    for (unsigned k = 0; k < n; ++k) {
      settle();
      if (idx_ >= segs_.size()) return false;
      v |= static_cast<std::uint64_t>(static_cast<unsigned char>(segs_[idx_][off_++])) << (8 * k);
    }
    return true;
  }
  bool skip(std::uint64_t n) {
    while (n) {
      settle();
      if (idx_ >= segs_.size()) return false;
      std::uint64_t take = std::min<std::uint64_t>(n, segs_[idx_].size() - off_);
      off_ += static_cast<std::size_t>(take);
      n -= take;
    }
    return true;
  }

  std::vector<std::string_view> segs_;
  ReadContext& ctx_;
  std::size_t idx_ = 0, off_ = 0;
};

struct BoundSheet {
  std::string name;
  int kind;  // 0 worksheet, 1 macro sheet, 2 chart, 6 Visual Basic module
  std::uint32_t offset;
};

class BiffReader {
 public:
  BiffReader(std::string_view stream, ReadContext& ctx) : s_(stream), ctx_(ctx) {}

  Workbook read() {
    readGlobals();
    Workbook wb;
    wb.path = ctx_.file();
    std::size_t n = 0;
    for (const auto& b : bound_) n += b.kind != 6;
    wb.sheets.reserve(n);
    for (const auto& b : bound_) {
      if (b.kind == 6) continue;  // modules are not sheets
      wb.sheets.emplace_back(b.name);
      if (b.kind != 2) readSheet(b, wb.sheets.back());  // a chart sheet keeps its place only
    }
    return wb;
  }

 private:
  [[noreturn]] void shortRecord() { ctx_.corrupt("запись BIFF короче, чем требует ее тип"); }

  void readGlobals() {
    RecordReader rd(s_, 0, ctx_);
    Record r;
    if (!rd.next(r) || r.type != kBof || r.data.size() < 4)
      ctx_.corrupt("поток книги не начинается с записи BOF");
    const std::uint16_t vers = u16(r.data, 0);
    if (vers != 0x0600 && vers != 0x0500)
      ctx_.notWorkbook("версия формата xls старше Excel 5.0 не поддерживается");
    b8_ = vers == 0x0600;
    std::vector<std::string_view> sst;
    bool inSst = false;
    while (rd.next(r) && r.type != kEof) {
      const auto& d = r.data;
      if (inSst && r.type == kContinue) {
        sst.push_back(d);
        continue;
      }
      inSst = false;
      switch (r.type) {
        case kFilePass:
          ctx_.encrypted();
        case kDateMode:
          if (d.size() >= 2) date1904_ = u16(d, 0) == 1;
          break;
        case kCodePage:
          if (d.size() >= 2) cp1251_ = u16(d, 0) == 1251;
          break;
        case kFormat:
          if (b8_ && d.size() >= 5) {
            dateFormat_[u16(d, 0)] = isDateFormatCode(biff8String(d, 4, u16(d, 2), nullptr, ctx_));
          } else if (!b8_ && d.size() >= 3) {
            std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(d[2]), d.size() - 3);
            dateFormat_[u16(d, 0)] = isDateFormatCode(byteString(d.substr(3, n), cp1251_));
          }
          break;
        case kXf:
          if (d.size() >= 4) xfFormat_.push_back(u16(d, 2));
          break;
        case kSst:
          sst.assign(1, d);
          inSst = true;
          break;
        case kBoundSheet: {
          if (d.size() < 8) shortRecord();
          if (bound_.size() >= kMaxSheets) ctx_.tooBig("в книге больше 4096 листов");
          BoundSheet b;
          b.offset = u32(d, 0);
          b.kind = static_cast<unsigned char>(d[5]);
          std::size_t cch = static_cast<unsigned char>(d[6]);
          b.name = b8_ ? biff8String(d, 7, cch, nullptr, ctx_)
                       : byteString(d.substr(7, std::min(cch, d.size() - 7)), cp1251_);
          bound_.push_back(std::move(b));
          break;
        }
        default:
          break;
      }
    }
    if (!sst.empty()) SstReader(std::move(sst), ctx_).read(strings_);
  }

  bool isDateXf(std::uint16_t ixfe) const {
    if (ixfe >= xfFormat_.size()) return false;
    std::uint16_t f = xfFormat_[ixfe];
    auto it = dateFormat_.find(f);
    return it != dateFormat_.end() ? it->second : isBuiltinDateFormat(f);
  }

  Cell number(double v, std::uint16_t ixfe) const {
    Cell c;
    c.type = Cell::Type::Number;
    c.number = v;
    if (!std::isfinite(v)) {
      c.type = Cell::Type::Error;
      c.number = 0;
      c.text = "#NUM!";
    } else if (isDateXf(ixfe)) {
      c.type = Cell::Type::Date;
      if (date1904_) c.number += 1462;
    }
    return c;
  }

  std::string label(std::string_view d, std::size_t at) {
    if (d.size() < at + 2) shortRecord();
    std::size_t cch = u16(d, at);
    if (b8_) return biff8String(d, at + 2, cch, nullptr, ctx_);
    if (d.size() < at + 2 + cch) shortRecord();
    return byteString(d.substr(at + 2, cch), cp1251_);
  }

  // A formula's STRING record follows it: where its text goes.
  struct PendingString {
    bool on = false;
    std::int64_t row = 0, col = 0;
  };

  void readSheet(const BoundSheet& b, Sheet& sheet) {
    if (b.offset >= s_.size())
      ctx_.corrupt("лист " + quoted(b.name) + " указывает за конец потока книги");
    RecordReader rd(s_, b.offset, ctx_);
    Record r;
    if (!rd.next(r) || r.type != kBof)
      ctx_.corrupt("лист " + quoted(b.name) + " не начинается с записи BOF");
    SheetBuilder out(ctx_, sheet);
    int nested = 0;  // embedded charts bring substreams of their own
    PendingString pending;
    std::size_t nextReport = rd.at() + kReportBytes;
    while (rd.next(r)) {
      if (rd.at() >= nextReport) {
        ctx_.progressed(rd.at());
        nextReport = rd.at() + kReportBytes;
      }
      if (r.type == kBof) {
        ++nested;
        continue;
      }
      if (r.type == kEof) {
        if (nested-- == 0) return;
        continue;
      }
      if (!nested) cellRecord(r, rd, b, out, pending);
    }
    ctx_.corrupt("лист " + quoted(b.name) + " оборван (нет записи EOF)");
  }

  // One record of a sheet's substream; records that hold no cell are passed over.
  void cellRecord(const Record& r, RecordReader& rd, const BoundSheet& b, SheetBuilder& out,
                  PendingString& pending) {
    const auto& d = r.data;
    auto put = [&](Cell c) { out.set(u16(d, 0) + 1, u16(d, 2) + 1, std::move(c)); };
    auto text = [](std::string t) {
      Cell c;
      c.type = Cell::Type::Text;
      c.text = std::move(t);
      return c;
    };
    switch (r.type) {
      case kNumber:
        if (d.size() < 14) shortRecord();
        put(number(f64(d, 6), u16(d, 4)));
        break;
      case kRk:
        if (d.size() < 10) shortRecord();
        put(number(rkValue(u32(d, 6)), u16(d, 4)));
        break;
      case kMulRk: {
        if (d.size() < 6 || (d.size() - 6) % 6 != 0) shortRecord();
        const std::int64_t row = u16(d, 0) + 1;
        std::int64_t col = u16(d, 2) + 1;
        for (std::size_t at = 4; at + 6 <= d.size() - 2; at += 6, ++col)
          out.set(row, col, number(rkValue(u32(d, at + 2)), u16(d, at)));
        break;
      }
      case kLabelSst: {
        if (d.size() < 10) shortRecord();
        std::uint32_t i = u32(d, 6);
        if (i >= strings_.size())
          ctx_.corrupt("ячейка " + cellName(u16(d, 0) + 1, u16(d, 2) + 1) + " на листе " +
                       quoted(b.name) + " ссылается на строку " + std::to_string(i) +
                       ", а в таблице строк их " + std::to_string(strings_.size()));
        put(text(strings_[i]));
        break;
      }
      case kLabel:
      case kRString:
        if (d.size() < 8) shortRecord();
        put(text(label(d, 6)));
        break;
      case kBoolErr: {
        if (d.size() < 8) shortRecord();
        Cell c;
        if (d[7]) {
          c.type = Cell::Type::Error;
          c.text = errorName(static_cast<unsigned char>(d[6]));
        } else {
          c.type = Cell::Type::Logical;
          c.number = d[6] ? 1 : 0;
        }
        put(std::move(c));
        break;
      }
      case kFormula:
        if (d.size() < 14) shortRecord();
        put(formulaValue(d, pending));
        break;
      case kString:
        if (pending.on) {
          if (d.size() < 2) shortRecord();
          std::size_t cch = u16(d, 0);
          std::string t;
          if (b8_) {
            t = biff8String(d, 2, cch, &rd, ctx_);
          } else {
            if (d.size() < 2 + cch) shortRecord();
            t = byteString(d.substr(2, cch), cp1251_);
          }
          out.set(pending.row, pending.col, text(std::move(t)));
        }
        pending.on = false;
        break;
      default:
        break;
    }
  }

  // The cached result of a FORMULA record; a text result waits for the STRING record.
  Cell formulaValue(std::string_view d, PendingString& pending) const {
    pending.on = false;
    if (u16(d, 12) != 0xFFFF) return number(f64(d, 6), u16(d, 4));
    Cell c;
    switch (static_cast<unsigned char>(d[6])) {
      case 0:  // the text follows in a STRING record
        pending = {true, u16(d, 0) + 1, u16(d, 2) + 1};
        c.type = Cell::Type::Text;
        break;
      case 1:
        c.type = Cell::Type::Logical;
        c.number = d[8] ? 1 : 0;
        break;
      case 2:
        c.type = Cell::Type::Error;
        c.text = errorName(static_cast<unsigned char>(d[8]));
        break;
      default:
        c.type = Cell::Type::Text;  // the empty text
        break;
    }
    return c;
  }

  std::string_view s_;
  ReadContext& ctx_;
  bool b8_ = true, date1904_ = false, cp1251_ = false;
  std::map<std::uint16_t, bool> dateFormat_;
  std::vector<std::uint16_t> xfFormat_;
  std::vector<std::string> strings_;
  std::vector<BoundSheet> bound_;
};

}  // namespace

Workbook readXls(std::string_view bytes, ReadContext& ctx) {
  ctx.addInput(bytes.size());
  CompoundFile cf(bytes, ctx);
  if (cf.has("EncryptionInfo") || cf.has("EncryptedPackage")) ctx.encrypted();
  std::string stream = cf.stream("Workbook");
  if (stream.empty()) stream = cf.stream("Book");
  if (stream.empty()) ctx.notWorkbook("в составном файле нет потока книги");
  ctx.setTotal(stream.size());
  return BiffReader(stream, ctx).read();
}

}  // namespace ore::reader
