#include "study/figure_rules.h"

#include "data/number_format.h"

namespace ore::study {

double asWritten(long double figure) {
  if (!std::isfinite(figure)) return static_cast<double>(figure);
  // The separator does not matter: the text is read back by the format that wrote it.
  const NumberFormat fmt(',');
  double w = 0;
  return fmt.tryParseReal(fmt.format(figure), w) ? w : static_cast<double>(figure);
}

namespace {

// Writing moves a figure by at most half a unit of its 15th digit, reading back by half a unit of
// a double: far less than this share of its magnitude (or, for the tiniest, than kWrittenFloor).
// Farther from the limit than that, the figure's own comparison is the written one's, and nothing
// needs writing.
constexpr long double kWrittenShare = 1e-14L, kWrittenFloor = 1e-300L;

// -1, 0 or 1 as figure as written is below, equal to or above the limit.
int compareAsWritten(long double figure, double limit) {
  const long double margin = kWrittenShare * std::fabs(figure) + kWrittenFloor;
  if (figure - limit > margin) return 1;
  if (limit - figure > margin) return -1;
  const double w = asWritten(figure);
  return w < limit ? -1 : w > limit ? 1 : 0;
}

}  // namespace

bool atLeastAsWritten(long double figure, double minimum) {
  return compareAsWritten(figure, minimum) >= 0;
}

bool atMostAsWritten(long double figure, double maximum) {
  return compareAsWritten(figure, maximum) <= 0;
}

}  // namespace ore::study
