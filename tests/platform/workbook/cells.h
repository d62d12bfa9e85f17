#pragma once
// Cells of the workbook model, built in one line for tests.

#include <string>

#include "platform/workbook/workbook.h"

namespace ore::test {

inline Cell number(double v, std::string formula = {}) {
  Cell c;
  c.type = Cell::Type::Number;
  c.number = v;
  c.formula = std::move(formula);
  return c;
}

inline Cell text(std::string t) {
  Cell c;
  c.type = Cell::Type::Text;
  c.text = std::move(t);
  return c;
}

}  // namespace ore::test
