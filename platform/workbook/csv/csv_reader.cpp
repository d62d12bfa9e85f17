#include "platform/workbook/csv/csv_reader.h"

#include <array>
#include <cstring>
#include <vector>

#include "platform/workbook/cell_values.h"
#include "platform/workbook/csv/field_splitter.h"

namespace ore::reader {

namespace {

constexpr std::size_t kSniffBytes = 64 * 1024;
constexpr int kSniffLines = 64;

// Invalid sequences replaced by U+FFFD, for text that says it is UTF-8 and is not quite.
std::string sanitizedUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80             ? 1
                    : (c & 0xE0) == 0xC0 ? 2
                    : (c & 0xF0) == 0xE0 ? 3
                    : (c & 0xF8) == 0xF0 ? 4
                                         : 0;
    if (n && i + n <= s.size() && isValidUtf8(s.substr(i, n))) {
      out.append(s.substr(i, n));
      i += n;
    } else {
      appendUtf8(out, 0xFFFD);
      ++i;
    }
  }
  return out;
}

}  // namespace

char sniffSeparator(std::string_view text) {
  static constexpr std::array<char, 3> kCandidates = {';', '\t', ','};
  std::vector<std::array<int, 3>> lines;
  std::array<int, 3> cur{};
  bool quoted = false, any = false;
  std::string_view window = text.substr(0, kSniffBytes);
  for (std::size_t i = 0; i < window.size() && static_cast<int>(lines.size()) < kSniffLines; ++i) {
    char c = window[i];
    if (c == '"') {
      quoted = !quoted;  // "" inside quotes toggles twice: no change
      any = true;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      if (any) lines.push_back(cur);
      cur = {};
      any = false;
    } else {
      any = true;
      if (!quoted)
        for (std::size_t k = 0; k < kCandidates.size(); ++k)
          if (c == kCandidates[k]) ++cur[k];
    }
  }
  // A last line cut by the window counts only when it is all there is.
  if (any && (lines.empty() || window.size() == text.size())) lines.push_back(cur);
  if (lines.empty()) return ';';

  for (std::size_t k = 0; k < kCandidates.size(); ++k) {
    bool consistent = lines[0][k] > 0;
    for (const auto& l : lines) consistent = consistent && l[k] == lines[0][k];
    if (consistent) return kCandidates[k];
  }
  // No separator splits every line alike: take the one found on the most lines.
  int best = -1, bestLines = 0;
  for (std::size_t k = 0; k < kCandidates.size(); ++k) {
    int n = 0;
    for (const auto& l : lines) n += l[k] > 0;
    if (n > bestLines) best = static_cast<int>(k), bestLines = n;
  }
  return best < 0 ? ';' : kCandidates[static_cast<std::size_t>(best)];
}

// The text of the file as UTF-8 (decoded into `decoded` when it must be), without a byte order
// mark; cp1251 tells whether its fields are Windows-1251 still to be converted.
std::string_view decodedText(std::string_view bytes, std::string& decoded, bool& cp1251,
                             ReadContext& ctx) {
  cp1251 = false;
  auto starts = [&](std::string_view p) { return bytes.substr(0, p.size()) == p; };
  if (starts("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
    if (!isValidUtf8(bytes)) {
      decoded = sanitizedUtf8(bytes);
      return decoded;
    }
    return bytes;
  }
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    decoded = utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    return decoded;
  }
  if (std::memchr(bytes.data(), 0, bytes.size())) ctx.notWorkbook("это не текстовый файл");
  cp1251 = !isValidUtf8(bytes);
  return bytes;
}

Workbook readCsv(std::string_view bytes, const std::string& sheetName, ReadContext& ctx) {
  ctx.addInput(bytes.size());
  std::string decoded;
  bool cp1251 = false;
  const std::string_view text = decodedText(bytes, decoded, cp1251, ctx);
  ctx.setTotal(text.size());

  Workbook wb;
  wb.path = ctx.file();
  wb.sheets.emplace_back(sheetName);
  SheetBuilder out(ctx, wb.sheets.back());
  FieldSplitter(text, sniffSeparator(text), ctx)
      .run(
          [&](std::int64_t row, std::int64_t col, std::string_view raw) {
            if (raw.empty()) return;
            Cell c;
            c.type = Cell::Type::Text;
            if (cp1251)
              appendCp1251(c.text, raw);
            else
              c.text.assign(raw);
            out.set(row, col, std::move(c));
          },
          [](std::int64_t) {});
  return wb;
}

}  // namespace ore::reader
