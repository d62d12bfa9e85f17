#include <ostream>
#include <string>

#include "batch/batch_run.h"
#include "data/errors.h"
#include "data/progress.h"
#include "study/bootstrap.h"
#include "study/cut_value.h"
#include "study/value_table.h"

namespace ore::batch {

namespace {

std::string realExpected(const NumberFormat& fmt) {
  return std::string("ожидается число с десятичным разделителем «") + fmt.decimalSeparator() + "»";
}

double real(const char* option, const std::string& text, const NumberFormat& fmt) {
  double v = 0;
  if (!fmt.tryParseReal(text, v))
    throw Error(std::string(option) + ": " + realExpected(fmt) + ", а не «" + text + "»");
  return v;
}

// k=X: an element number of decimal digits, "=", a number.
ElementOption elementOption(const char* option, const std::string& text, const NumberFormat& fmt) {
  ElementOption e{option, text};
  const std::size_t eq = text.find('=');
  const std::string k = text.substr(0, eq);
  bool ok = eq != std::string::npos && !k.empty() && k.size() <= 4 &&
            k.find_first_not_of("0123456789") == std::string::npos &&
            fmt.tryParseReal(text.substr(eq + 1), e.figure);
  if (!ok)
    throw Error(std::string(option) + ": ожидается номер элемента, знак «=» и число с десятичным " +
                "разделителем «" + fmt.decimalSeparator() + "», а не «" + text + "»");
  e.element = std::stoi(k);
  return e;
}

}  // namespace

void valueRequest(const Options& o, const NumberFormat& fmt, SortabilityRequest& r) {
  for (const std::string& t : o.prices) {
    r.prices.push_back(elementOption("--price", t, fmt));
    if (r.prices.back().figure < 0)
      throw Error("--price: ожидается цена не меньше 0, а не «" + t + "»");
  }
  for (const std::string& t : o.plantRecoveries) {
    r.plantRecoveries.push_back(elementOption("--plant-recovery", t, fmt));
    const double R = r.plantRecoveries.back().figure;
    if (!(R >= 0 && R <= 100))
      throw Error("--plant-recovery: ожидается извлечение от 0 до 100 %, а не «" + t + "»");
  }
  for (const std::string& t : o.maxContents)
    r.maxContents.push_back(elementOption("--max-content", t, fmt));
  if (o.costProcess) r.value.costProcess = real("--cost-process", *o.costProcess, fmt);
  if (o.costReject) r.value.costReject = real("--cost-reject", *o.costReject, fmt);
  if (o.costSort) r.value.costSort = real("--cost-sort", *o.costSort, fmt);
  if (o.minRecovery) r.limits.minRecovery = real("--min-recovery", *o.minRecovery, fmt);
  if (o.maxYield) r.limits.maxYield = real("--max-yield", *o.maxYield, fmt);
}

void applyElementOptions(SortabilityRequest& r, int C) {
  auto check = [C](const ElementOption& e) {
    if (e.element < 1 || e.element > C)
      throw Error(std::string(e.option) + ": ожидается номер элемента от 1 до " +
                  std::to_string(C) + ", а не «" + e.text + "»");
  };
  // A second price of the same element would silently replace the first.
  auto once = [&check](const std::vector<ElementOption>& all, std::size_t i) {
    check(all[i]);
    for (std::size_t j = 0; j < i; ++j)
      if (all[j].element == all[i].element)
        throw Error(std::string(all[i].option) + ": элемент " + std::to_string(all[i].element) +
                    " задан дважды («" + all[j].text + "» и «" + all[i].text + "»)");
  };
  for (std::size_t i = 0; i < r.prices.size(); ++i) {
    once(r.prices, i);
    r.value.price[r.prices[i].element] = r.prices[i].figure;
  }
  for (std::size_t i = 0; i < r.plantRecoveries.size(); ++i) {
    once(r.plantRecoveries, i);
    r.value.plantRecovery[r.plantRecoveries[i].element] = r.plantRecoveries[i].figure;
  }
  r.limits.maxContent.clear();
  for (const ElementOption& e : r.maxContents) {
    check(e);
    r.limits.maxContent.push_back({e.element, e.figure});
  }
}

void valueStage(const Options& options, const SortabilityRequest& request,
                const study::SortabilityCurve& cv, const BatchState& state, std::ostream& out) {
  const NumberFormat& fmt = state.fmt;
  if (options.valueCurveFile)
    writeGridTsv(study::valueCurveGrid(cv, request.value, fmt), *options.valueCurveFile, out);
  if (!options.value) return;
  const study::BestValueCut best = study::bestValueCut(cv, request.value, request.limits, fmt);
  study::BootstrapSettings settings;
  settings.seed = request.seed;
  Progress silent;
  const study::ValueInterval interval =
      study::bootstrapCutValue(cv, best.cut, study::placeValues(cv, state.ws, request.value),
                               request.value, settings, silent);
  for (const auto& [what, value] : study::bestValueRows(best, interval, fmt))
    out << what << (value.empty() ? "" : ": " + value) << "\n";
}

}  // namespace ore::batch
