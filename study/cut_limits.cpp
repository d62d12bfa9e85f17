#include "study/cut_limits.h"

#include "study/figure_rules.h"
#include "study/sortability_curve.h"

namespace ore::study {

bool meetsLimits(const CutLimits& limits, const long double* conc, long double M, long double T1) {
  if (limits.minGrade && !atLeastAsWritten(quotient(conc[1], conc[0]), *limits.minGrade))
    return false;
  for (const MaxContent& c : limits.maxContent)
    if (!atMostAsWritten(quotient(conc[c.element], conc[0]), c.maximum)) return false;
  if (limits.minRecovery && !atLeastAsWritten(quotient(conc[1], T1) * 100, *limits.minRecovery))
    return false;
  if (limits.maxYield && !atMostAsWritten(quotient(conc[0], M) * 100, *limits.maxYield))
    return false;
  return true;
}

std::string noCutMeetsLimits(const CutLimits& limits, const NumberFormat& fmt,
                             const std::string& undetermined) {
  std::vector<std::string> named;
  if (limits.minGrade)
    named.push_back("содержания элемента 1 в концентрате не ниже " + fmt.format(*limits.minGrade));
  for (const MaxContent& c : limits.maxContent)
    named.push_back("содержания элемента " + std::to_string(c.element) + " в концентрате не выше " +
                    fmt.format(c.maximum));
  if (limits.minRecovery)
    named.push_back("извлечения элемента 1 в концентрат не ниже " +
                    fmt.format(*limits.minRecovery) + " %");
  if (limits.maxYield)
    named.push_back("выхода концентрата не выше " + fmt.format(*limits.maxYield) + " %");
  std::string text = "Ни одна граница не дает ";
  if (named.size() > 1) text += "одновременно ";
  for (std::size_t i = 0; i < named.size(); ++i) {
    if (i) text += i + 1 == named.size() ? " и " : ", ";
    text += named[i];
  }
  return text + ": " + undetermined;
}

}  // namespace ore::study
