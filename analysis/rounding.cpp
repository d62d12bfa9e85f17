#include "analysis/rounding.h"

#include <cmath>

#include "analysis/grid_numbers.h"
#include "data/errors.h"

namespace ore::analysis {

namespace {

struct Precision {
  const char* text;
  long double factor;
};

constexpr Precision kPrecisions[] = {
    {"1", 1.0L},          {"0,1", 10.0L},         {"0,01", 100.0L},         {"0,001", 1000.0L},
    {"0,0001", 10000.0L}, {"0,00001", 100000.0L}, {"0,000001", 1000000.0L},
};

}  // namespace

bool isKnownPrecision(std::string_view text) {
  for (const auto& p : kPrecisions)
    if (text == p.text) return true;
  return false;
}

std::string unknownPrecisionMessage(std::string_view text) {
  std::string m =
      "Точность таблицы \"" + std::string(text) + "\" не распознана. Допустимые значения:";
  bool first = true;
  for (const auto& p : kPrecisions) {
    m += first ? " \"" : ", \"";
    m += p.text;
    m += '"';
    first = false;
  }
  return m;
}

long double scaleFactor(std::string_view text) {
  for (const auto& p : kPrecisions)
    if (text == p.text) return p.factor;
  throw Error(unknownPrecisionMessage(text));
}

long double roundHalfEven(long double v) {
  if (!std::isfinite(v)) return v;
  long double r = std::floor(v);
  long double frac = v - r;  // exact: the fractional bits of v
  if (frac > 0.5L) return r + 1;
  if (frac < 0.5L) return r;
  return std::fmod(r, 2.0L) == 0 ? r : r + 1;
}

long double roundValue(double v, long double f) {
  return roundHalfEven(static_cast<long double>(v) * f) / f;
}

long double roundLimit(double v, long double f) {
  return roundHalfEven(static_cast<long double>(v) * f * 10) / (f * 10);
}

void roundResults(TextGrid& results, int C, int P, long double f, const NumberFormat& fmt,
                  double* index) {
  // The index is rounded in a local and stored only when the whole pass has succeeded.
  double I = index ? *index : 0;
  for (int c = 1; c <= 6 * C + 4; ++c) {
    for (int r = 1; r <= P; ++r) {
      if (c == 1) {
        writeNumber(results, c, r, roundLimit(cellNumber(results, c, r, fmt), f), fmt);
      } else if (!results.cell(c, r).empty()) {
        writeNumber(results, c, r, roundValue(cellNumber(results, c, r, fmt), f), fmt);
      }
      if (index) I = static_cast<double>(roundValue(I, f));
      if (results.cell(c, r).empty()) results.setCell(c, r, "0");
    }
  }
  if (index) *index = I;
}

}  // namespace ore::analysis
