#include "graph/letters.h"

#include <cmath>

#include "graph/letter_data.h"

namespace ore::graph {

namespace {

const data::LetterData& dataOf(Letter letter) {
  return data::kLetters[static_cast<int>(letter)];
}

Picture buildPicture(const data::LetterData& d) {
  Picture pic(kLetterWidth, kLetterHeight);
  for (int row = 0; row < d.boxHeight; ++row)
    for (int col = 0; col < d.boxWidth; ++col) {
      std::uint8_t v = d.grey[row * d.boxWidth + col];
      pic.setPixel(d.boxLeft + col, d.boxTop + row, Rgb{v, v, v});
    }
  return pic;
}

int truncated(double v) {
  return static_cast<int>(std::trunc(v));
}

}  // namespace

const Picture& letterPicture(Letter letter) {
  static const std::array<Picture, 6> pictures = [] {
    std::array<Picture, 6> p;
    for (int i = 0; i < 6; ++i) p[i] = buildPicture(data::kLetters[i]);
    return p;
  }();
  return pictures[static_cast<int>(letter)];
}

int spanCount(Letter letter) {
  return dataOf(letter).spanCount;
}

const char* letterName(Letter letter) {
  return dataOf(letter).name;
}

void fillSpanTable(Letter letter, SpanTable& table) {
  table = SpanTable{};
  const data::LetterData& d = dataOf(letter);
  for (int j = 1; j <= d.spanCount && j < kSpanEntries; ++j) {
    table.SpanLeft[j] = d.spans[j - 1][0];
    table.SpanRight[j] = d.spans[j - 1][1];
    table.SpanRow[j] = d.spans[j - 1][2];
  }
}

void stampLetter(Canvas& canvas, Letter letter, const SpanTable& table, double s, int x0, int y0) {
  const Picture& picture = letterPicture(letter);
  const int n = spanCount(letter);
  for (int j = 1; j <= n && j < kSpanEntries; ++j) {
    const int left = table.SpanLeft[j], right = table.SpanRight[j], row = table.SpanRow[j];
    Rect from{left, row, right, row + 1};
    Rect to{truncated(left * s + x0), truncated(row * s + y0), truncated(right * s + x0),
            truncated((row + 1) * s + y0)};
    canvas.stretchCopy(picture, from, to);
  }
}

}  // namespace ore::graph
