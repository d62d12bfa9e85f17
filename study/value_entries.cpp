#include "study/value_entries.h"

#include <optional>

#include "data/errors.h"

namespace ore::study {

namespace {

std::string trimmed(const std::string& s) {
  const std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

std::optional<double> number(const std::string& text, const std::string& field,
                             const std::string& name, const NumberFormat& fmt) {
  const std::string t = trimmed(text);
  if (t.empty()) return std::nullopt;
  double v = 0;
  if (!fmt.tryParseReal(t, v)) throw ValueTextError(field, msg::fieldNotNumber(name, t));
  return v;
}

}  // namespace

ValueEntry readValueTexts(const ValueTexts& x, int C, const NumberFormat& fmt) {
  ValueEntry e;
  for (int k = 1; k <= C && k <= kMaxSortabilityContents; ++k) {
    const std::string n = std::to_string(k);
    const std::string priceName = "Цена элемента " + n;
    if (const auto p = number(x.price[k], "EditPrice" + n, priceName, fmt)) {
      if (*p < 0)
        throw ValueTextError("EditPrice" + n,
                             priceName + ": «" + trimmed(x.price[k]) + "» — меньше 0");
      e.inputs.price[k] = *p;
    }
    const std::string recoveryName = "Извлечение элемента " + n + " на фабрике";
    if (const auto r = number(x.plantRecovery[k], "EditRecovery" + n, recoveryName, fmt)) {
      if (!(*r >= 0 && *r <= 100))
        throw ValueTextError(
            "EditRecovery" + n,
            recoveryName + ": «" + trimmed(x.plantRecovery[k]) + "» — не от 0 до 100 %");
      e.inputs.plantRecovery[k] = *r;
    }
    if (const auto m = number(x.maxContent[k], "EditMaxContent" + n,
                              "Наибольшее содержание элемента " + n, fmt))
      e.limits.maxContent.push_back({k, *m});
  }
  if (const auto v = number(x.costProcess, "EditCostProcess", "Затраты на переработку", fmt))
    e.inputs.costProcess = *v;
  if (const auto v = number(x.costReject, "EditCostReject", "Затраты на хвосты", fmt))
    e.inputs.costReject = *v;
  if (const auto v = number(x.costSort, "EditCostSort", "Затраты на сортировку", fmt))
    e.inputs.costSort = *v;
  e.limits.minGrade = number(x.minGrade, "EditMinGrade", "Наименьшее содержание элемента 1", fmt);
  e.limits.minRecovery =
      number(x.minRecovery, "EditMinRecovery", "Наименьшее извлечение элемента 1", fmt);
  e.limits.maxYield = number(x.maxYield, "EditMaxYield", "Наибольший выход концентрата", fmt);
  return e;
}

}  // namespace ore::study
