#pragma once
// How figures are compared wherever the program chooses a best one or holds one to a limit.
//
// Best: two figures are equal when they differ by at most 1e-12 of the larger magnitude; the best
// of a run of candidates is the first in key order (the smallest key) of those equal to the
// largest. Tied to the largest rather than to a neighbour, the choice does not depend on the order
// the candidates are met in: walking up the keys or down them picks the same one.
//
// Limits: a figure meets a limit when the figure as the program writes it (15 significant digits,
// read back) does, so that a value shown as the limit is admitted by it.

#include <cmath>
#include <cstddef>
#include <optional>

namespace ore::study {

// a and b are equal as figures: within 1e-12 of the larger magnitude.
inline bool sameFigure(long double a, long double b) {
  return std::fabs(a - b) <= 1e-12L * std::fmax(std::fabs(a), std::fabs(b));
}

// The best of figures offered from the largest key down, one at a time: offer() returns true when
// the candidate just offered (the smallest key so far) is now the best.
class BestFromTheTop {
 public:
  bool offer(long double figure) {
    if (!any_ || figure > largest_) {
      any_ = true;
      largest_ = figure;
      return true;
    }
    return sameFigure(figure, largest_);
  }
  bool any() const { return any_; }

 private:
  bool any_ = false;
  long double largest_ = 0;
};

// The best of count candidates in ascending key order; figure(i) gives candidate i's figure, or
// nothing when it takes no part. Two passes: the largest, then the first equal to it.
template <class Figure>
std::optional<std::size_t> bestInKeyOrder(std::size_t count, Figure figure) {
  std::optional<long double> largest;
  for (std::size_t i = 0; i < count; ++i)
    if (const std::optional<long double> f = figure(i); f && (!largest || *f > *largest))
      largest = *f;
  if (!largest) return std::nullopt;
  for (std::size_t i = 0; i < count; ++i)
    if (const std::optional<long double> f = figure(i); f && sameFigure(*f, *largest)) return i;
  return std::nullopt;
}

// The figure as the program writes it (15 significant digits), read back as a double. A value
// beyond the range of numbers stays as it is.
double asWritten(long double figure);

// figure as written >= minimum, and <= maximum.
bool atLeastAsWritten(long double figure, double minimum);
bool atMostAsWritten(long double figure, double maximum);

}  // namespace ore::study
