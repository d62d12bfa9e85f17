#include "import/source_read_back.h"

#include <charconv>
#include <cmath>

namespace ore {

namespace {

// The number a cell's text reads back as. A cell holding a double shows it with 15 significant
// digits; when its shortest exact text has no more digits than that, the shown text is that
// text and reads back as the double itself (zero is shown "0": a negative zero comes back
// positive). Any other cell is read from its text.
// places: the decimals that matched last in this column, tried first (a column's values mostly
// have the same number of them).
// A double the grid shows with fmt reads back so.
double numberReadBack(double v, const NumberFormat& fmt, int& places) {
  if (std::isfinite(v)) {
    if (v == 0) return 0.0;
    // Most values are short decimals: v is m / 10^k for a whole m of at most 15 digits (the
    // division, of two exact doubles, rounds as reading that decimal does).
    static constexpr double kTens[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7};
    auto isDecimal = [v](double ten) {
      const double m = std::nearbyint(v * ten);
      return std::fabs(m) < 1e15 && m / ten == v;
    };
    if (isDecimal(kTens[places])) return v;
    for (int k = 0; k < 8; ++k)
      if (k != places && isDecimal(kTens[k])) {
        places = k;
        return v;
      }
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    int digits = 0;
    bool leading = true;
    for (const char* p = buf; p < r.ptr && *p != 'e'; ++p) {
      if (*p < '0' || *p > '9') continue;
      if (leading && *p == '0') continue;
      leading = false;
      ++digits;
    }
    if (digits <= 15) return v;
  }
  return fmt.parseReal(fmt.format(v));
}

double readBack(const TextGrid& grid, int col, int row, const NumberFormat& fmt, int& places) {
  double v = 0;
  char sep = 0;
  if (grid.numberAt(col, row, v, sep) && sep == fmt.decimalSeparator())
    return numberReadBack(v, fmt, places);
  return fmt.parseReal(grid.cell(col, row));
}

}  // namespace

void readBackLumps(const NumberFormat& fmt, Workspace& ws) {
  ++ws.LumpDataSet;
  const bool byParam = ws.PocketBasis == PocketBasis::ByParam;
  if (!byParam && ws.PocketBasis != PocketBasis::ByContent) return;
  int places[3] = {0, 0, 0};
  for (int r = 1; r <= ws.LumpCount; ++r) {
    ws.Mass[r] = numberReadBack(ws.Mass[r], fmt, places[0]);
    ws.Content[r] = numberReadBack(ws.Content[r], fmt, places[1]);
    if (byParam) ws.Param[r] = numberReadBack(ws.Param[r], fmt, places[2]);
  }
}

void readBackSourceGrid(const TextGrid& grid, const NumberFormat& fmt, Workspace& ws) {
  ++ws.LumpDataSet;
  int places[4] = {0, 0, 0, 0};
  if (ws.PocketBasis == PocketBasis::ByParam) {
    for (int r = 1; r <= ws.LumpCount; ++r) {
      ws.Mass[r] = readBack(grid, 1, r, fmt, places[1]);
      ws.Content[r] = readBack(grid, 2, r, fmt, places[2]);
      ws.Param[r] = readBack(grid, 3, r, fmt, places[3]);
    }
  }
  if (ws.PocketBasis == PocketBasis::ByContent) {
    for (int r = 1; r <= ws.LumpCount; ++r) {
      ws.Mass[r] = readBack(grid, 1, r, fmt, places[1]);
      ws.Content[r] = readBack(grid, 2, r, fmt, places[2]);
    }
  }
}

}  // namespace ore
