#pragma once
// Limits on the product a cut must keep to before it may be the best one: a contract's grade, a
// penalty element's ceiling, a recovery the plant needs, a yield it can take.

#include <optional>
#include <string>
#include <vector>

#include "data/number_format.h"

namespace ore::study {

// At most this concentrate content (per cent) of element k = 1..C.
struct MaxContent {
  int element = 1;
  double maximum = 0;
};

struct CutLimits {
  std::optional<double> minGrade;      // concentrate content of element 1, per cent, at least
  std::vector<MaxContent> maxContent;  // concentrate content of element k, per cent, at most
  std::optional<double> minRecovery;   // concentrate recovery of element 1, per cent, at least
  std::optional<double> maxYield;      // concentrate yield, per cent, at most
  bool any() const { return minGrade || !maxContent.empty() || minRecovery || maxYield; }
};

// Whether a cut whose concentrate holds conc (mass, metal 1..C) of a sample of mass M and metal 1
// T1 meets every limit, each figure compared as written (study/figure_rules.h) and computed by the
// expressions of CutFigures. Elements of maxContent must lie in 1..C of conc.
bool meetsLimits(const CutLimits& limits, const long double* conc, long double M, long double T1);

// The message when no cut meets the limits: the limits named, numbers written with fmt, then
// ": " and what stays undetermined (e.g. "лучшая граница не определена"). With only minGrade, the
// words the best cut has always used.
std::string noCutMeetsLimits(const CutLimits& limits, const NumberFormat& fmt,
                             const std::string& undetermined);

}  // namespace ore::study
