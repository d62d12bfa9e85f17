#include "import/delimited_lumps.h"

#include <array>
#include <limits>
#include <new>

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

}  // namespace

StreamedLumps streamDelimitedLumps(const std::string& path, const LumpLayout& layout,
                                   const NumberFormat& fmt, Progress& progress) {
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
    ctx.setTotal(text.size());
    LumpSink sink(text, layout, fmt, out);
    sink.reserve(expectedLines(text));
    reader::FieldSplitter(text, reader::sniffSeparator(text), ctx)
        .run([&](std::int64_t r, std::int64_t c, std::string_view raw) { sink.field(r, c, raw); },
             [&](std::int64_t r) {
               row = r;
               sink.rowEnded(r);
             },
             decoded.empty() ? &source : nullptr);
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
