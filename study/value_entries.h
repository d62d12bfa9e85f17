#pragma once
// What a user types for the value of a cut, as texts, and reading them into the inputs and the
// limits: an empty field is "not given", anything else must be a number.

#include <array>
#include <string>

#include "data/errors.h"
#include "data/number_format.h"
#include "study/cut_limits.h"
#include "study/cut_value.h"

namespace ore::study {

struct ValueTexts {
  // Per element k = 1..C (element 0 unused).
  std::array<std::string, kMaxSortabilityContents + 1> price, plantRecovery, maxContent;
  std::string costProcess, costReject, costSort;
  std::string minGrade, minRecovery, maxYield;
};

// Which text was refused: the field's name, as the window's fields are named ("EditPrice1",
// "EditCostSort", ...), and the message naming it in the window's words.
class ValueTextError : public Error {
 public:
  ValueTextError(std::string field, const std::string& message)
      : Error(message), field_(std::move(field)) {}
  const std::string& field() const { return field_; }

 private:
  std::string field_;
};

struct ValueEntry {
  ValueInputs inputs;
  CutLimits limits;
};

// Reads the texts of elements 1..C (blanks around a number allowed) by fmt. Throws
// ValueTextError for the first text, element by element and then costs and limits, that is not a
// number ("Цена элемента 1: «abc» — не число"), a negative price, or a plant recovery outside
// 0..100.
ValueEntry readValueTexts(const ValueTexts& texts, int C, const NumberFormat& fmt);

}  // namespace ore::study
