#include "import/delimited_lumps.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <exception>
#include <limits>
#include <new>
#include <system_error>
#include <thread>

#include "data/errors.h"
#include "import/plain_number.h"
#include "platform/workbook/csv/csv_reader.h"
#include "platform/workbook/csv/field_splitter.h"
#include "platform/workbook/csv/text_source.h"

namespace ore {

namespace {

constexpr int kColumns = 26;  // A to Z: the columns a lump can come from

class LumpSink {
 public:
  LumpSink(std::string_view text, const LumpLayout& layout, const NumberFormat& fmt,
           StreamedLumps& out)
      : text_(text), layout_(layout), fmt_(fmt), sep_(fmt.decimalSeparator()), out_(out) {
    out_.values.assign(layout.columns.size(), std::vector<double>(1, 0.0));
    for (int c : layout.columns)
      if (c >= 1 && c <= kColumns) used_[static_cast<std::size_t>(c)] = true;
    mass_ = layout.columns.empty() ? 0 : layout.columns[0];
    ended_ = layout.startRow < 1 || mass_ < 1 || mass_ > kColumns;
  }

  // Room for about as many lumps as the text has lines, judged from its first bytes.
  void reserve(std::size_t lumps) {
    for (auto& v : out_.values) v.reserve(lumps + 1);
  }

  void field(std::int64_t row, std::int64_t col, std::string_view raw) {
    if (ended_ || row < layout_.startRow || col > kColumns || !used_[static_cast<std::size_t>(col)])
      return;
    auto& slot = cells_[static_cast<std::size_t>(col)];
    if (raw.data() >= text_.data() && raw.data() + raw.size() <= text_.data() + text_.size()) {
      slot = raw;
    } else {  // a quoted field, in the splitter's own buffer until the next field
      auto& keep = kept_[static_cast<std::size_t>(col)];
      keep.assign(raw);
      slot = keep;
    }
  }

  void rowEnded(std::int64_t row) {
    if (ended_ || row < layout_.startRow) return;
    lastRow_ = row;
    if (cells_[static_cast<std::size_t>(mass_)].empty()) {
      ended_ = true;
      out_.count = lumpsTo(row);
      return;
    }
    if (!out_.failed) convert(static_cast<std::int32_t>(row - layout_.startRow + 1));
    for (int c : layout_.columns)
      if (c >= 1 && c <= kColumns) cells_[static_cast<std::size_t>(c)] = {};
  }

  // The rows after this sink's last one, as `later` read them: one reading of both.
  void follow(LumpSink& later) {
    if (ended_) return;  // the data ended before them
    StreamedLumps& l = later.out_;
    if (!out_.failed) {
      for (std::size_t f = 0; f < out_.values.size(); ++f) {
        out_.values[f].insert(out_.values[f].end(), l.values[f].begin() + 1, l.values[f].end());
        l.values[f] = {};
      }
      out_.failed = l.failed;
      out_.badColumn = l.badColumn;
      out_.failedLump = l.failedLump;
      out_.failedField = l.failedField;
      out_.failedText = std::move(l.failedText);
    }
    ended_ = later.ended_;
    out_.count = l.count;
    if (later.lastRow_) lastRow_ = later.lastRow_;
  }

  // After the last row: the one after it is empty.
  void finish() {
    if (!ended_) out_.count = lastRow_ ? lumpsTo(lastRow_ + 1) : 0;
  }

 private:
  std::int32_t lumpsTo(std::int64_t emptyRow) const {
    const std::int64_t n = emptyRow - layout_.startRow;
    if (n > std::numeric_limits<std::int32_t>::max() - 1)
      throw Error("Конец данных не найден: ячейки массы заполнены до строки " +
                  std::to_string(emptyRow - 1));
    return static_cast<std::int32_t>(n);
  }

  void convert(std::int32_t lump) {
    for (std::size_t f = 0; f < layout_.columns.size(); ++f) {
      const int c = layout_.columns[f];
      if (c < 1 || c > kColumns) {
        fail(lump, f, true, {});
        return;
      }
      const std::string_view t = cells_[static_cast<std::size_t>(c)];
      double v = 0;
      if (!t.empty() && !parsePlainReal(t, sep_, v) && !fmt_.tryParseReal(t, v)) {
        fail(lump, f, false, t);
        return;
      }
      out_.values[f].push_back(v);
    }
  }

  void fail(std::int32_t lump, std::size_t field, bool badColumn, std::string_view text) {
    out_.failed = true;
    out_.badColumn = badColumn;
    out_.failedLump = lump;
    out_.failedField = field;
    out_.failedText.assign(text);
  }

  std::string_view text_;
  const LumpLayout& layout_;
  const NumberFormat& fmt_;
  char sep_;
  StreamedLumps& out_;
  int mass_ = 0;
  bool ended_ = false;
  std::int64_t lastRow_ = 0;
  std::array<bool, kColumns + 1> used_{};
  std::array<std::string_view, kColumns + 1> cells_{};
  std::array<std::string, kColumns + 1> kept_;
};

// Lines in the text judging by its first megabyte: room for the lumps is reserved once.
std::size_t expectedLines(std::string_view text) {
  const std::string_view head = text.substr(0, 1 << 20);
  std::size_t lines = 0;
  for (char c : head) lines += c == '\n';
  if (lines == 0 || head.size() == text.size()) return lines + 1;
  return static_cast<std::size_t>(static_cast<double>(text.size()) / head.size() * lines * 1.02) +
         16;
}

// Rows in text that holds no quote and ends a row at its end: each row ends at CR LF, CR or LF.
// Eight bytes at a time; a mask has the high bit of each byte equal to c.
std::int64_t rowsIn(std::string_view text) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kLows = 0x7F7F7F7F7F7F7F7Fu;
  auto equal = [](std::uint64_t w, unsigned char c) {
    const std::uint64_t x = w ^ (kOnes * c);
    return ~(((x & kLows) + kLows) | x | kLows);
  };
  std::int64_t lf = 0, cr = 0, crlf = 0;
  std::uint64_t crBefore = 0;  // the word before ended with a CR
  std::size_t i = 0;
  for (; std::endian::native == std::endian::little && i + 8 <= text.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + i, 8);
    const std::uint64_t l = equal(w, '\n'), c = equal(w, '\r');
    lf += std::popcount(l);
    cr += std::popcount(c);
    crlf += std::popcount(c & (l >> 8)) + static_cast<std::int64_t>(crBefore & (l >> 7) & 1);
    crBefore = c >> 63;
  }
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    lf += ch == '\n';
    cr += ch == '\r';
    crlf += ch == '\n' && (i ? text[i - 1] == '\r' : false);
  }
  return lf + cr - crlf;
}

// Where a text of at least splitFrom bytes is cut in two parts read at once: past the first line
// break beyond about the middle (the second part's reader also counts the first part's rows), in
// a first part without quotes. 0: the text is read in one part.
std::size_t splitPoint(std::string_view text, std::size_t splitFrom) {
  if (text.size() < std::max<std::size_t>(splitFrom, 2) || std::thread::hardware_concurrency() < 2)
    return 0;
  const std::size_t lf = text.find('\n', text.size() / 100 * 52);
  if (lf == std::string_view::npos || lf + 1 >= text.size()) return 0;
  if (std::memchr(text.data(), '"', lf + 1)) return 0;
  return lf + 1;
}

// The second part of a text, read on a thread of its own into a sink of its own while the caller
// reads the first. Destroying it stops the thread and waits for it.
class SecondPart {
 public:
  SecondPart(std::string_view text, std::size_t from, char sep, const LumpLayout& layout,
             const NumberFormat& fmt, const std::string& shown, const reader::TextSource* source)
      : text_(text), from_(from), ctx_(shown, stop_), sink_(text, layout, fmt, out_) {
    auto read = [=, this] {
      try {
        rowsBefore_ = rowsIn(text.substr(0, from));
        if (rowsBefore_ + 1 < layout.startRow) return;  // its first rows come before the data
        sink_.reserve(expectedLines(text.substr(from)));
        reader::FieldSplitter split(text, sep, ctx_);
        split.startAt(from, rowsBefore_ + 1);
        const char* done = text.data() + from;
        split.runReleasing([this](std::int64_t r, std::int64_t c,
                                  std::string_view raw) { sink_.field(r, c, raw); },
                           [this](std::int64_t r) { sink_.rowEnded(r); },
                           [&](std::size_t upTo) {
                             if (!source) return;
                             source->releaseBetween(done, text.data() + upTo);
                             done = text.data() + upTo;
                           });
        read_ = true;
      } catch (const WorkStopped&) {
      } catch (const std::bad_alloc&) {
        out_.values = {};  // read again by the caller, who names the row memory ran out at
      } catch (...) {
        error_ = std::current_exception();
      }
    };
    try {
      thread_ = std::thread(read);
    } catch (const std::system_error&) {  // no thread to be had: the caller reads it all
    }
  }
  ~SecondPart() {
    stop_.requestStop();
    if (thread_.joinable()) thread_.join();
  }
  SecondPart(const SecondPart&) = delete;
  SecondPart& operator=(const SecondPart&) = delete;

  // Waits for the part. True with first following it when it was read; false when the caller is
  // to read it after all. Throws what reading it threw.
  bool joinTo(LumpSink& first) {
    if (!thread_.joinable()) {
      rowsBefore_ = rowsIn(text_.substr(0, from_));
      return false;
    }
    thread_.join();
    if (error_) std::rethrow_exception(error_);
    if (read_) first.follow(sink_);
    return read_;
  }
  std::int64_t rowsBefore() const { return rowsBefore_; }

 private:
  std::string_view text_;
  std::size_t from_;
  Progress stop_;
  reader::ReadContext ctx_;
  StreamedLumps out_;
  LumpSink sink_;
  std::int64_t rowsBefore_ = 0;
  bool read_ = false;
  std::exception_ptr error_;
  std::thread thread_;
};

}  // namespace

StreamedLumps streamDelimitedLumps(const std::string& path, const LumpLayout& layout,
                                   const NumberFormat& fmt, Progress& progress,
                                   std::size_t splitFrom) {
  const std::string shown = path == reader::kStandardInput ? reader::kStandardInputName : path;
  reader::ReadContext ctx(shown, progress);
  StreamedLumps out;
  std::int64_t row = 0;
  try {
    reader::TextSource source(path, ctx, std::numeric_limits<std::uint64_t>::max());
    std::string decoded;
    bool cp1251 = false;  // digits, signs and separators read the same in either encoding
    const std::string_view text = reader::decodedText(source.bytes(), decoded, cp1251, ctx);
    source.releaseAll();  // the encoding checks went over all of it; the splitting goes once more
    const char sep = reader::sniffSeparator(text);
    LumpSink sink(text, layout, fmt, out);
    sink.reserve(expectedLines(text));
    auto field = [&](std::int64_t r, std::int64_t c, std::string_view raw) {
      sink.field(r, c, raw);
    };
    auto rowEnded = [&](std::int64_t r) {
      row = r;
      sink.rowEnded(r);
    };
    reader::TextSource* releasing = decoded.empty() ? &source : nullptr;
    const std::size_t half = splitPoint(text, splitFrom);
    if (half) {
      ctx.setTotal(half);
      SecondPart second(text, half, sep, layout, fmt, shown, releasing);
      reader::FieldSplitter(text.substr(0, half), sep, ctx).run(field, rowEnded, releasing);
      if (!second.joinTo(sink)) {
        ctx.setTotal(text.size());
        reader::FieldSplitter rest(text, sep, ctx);
        rest.startAt(half, second.rowsBefore() + 1);
        rest.run(field, rowEnded, releasing);
      }
    } else {
      ctx.setTotal(text.size());
      reader::FieldSplitter(text, sep, ctx).run(field, rowEnded, releasing);
    }
    sink.finish();
    ctx.finished();
  } catch (const std::bad_alloc&) {
    std::uint64_t bytes = 0;
    for (const auto& v : out.values) bytes += v.capacity() * sizeof(double);
    throw Error("Не хватает памяти, чтобы прочитать файл " + shown + ": на строке " +
                std::to_string(row + 1) + " куски заняли бы больше " +
                std::to_string(bytes * 2 >> 20) + " МиБ");
  }
  return out;
}

}  // namespace ore
