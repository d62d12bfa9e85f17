#pragma once
// Constant formulas a writer leaves without a cached result.

#include <string_view>

namespace ore::reader {

// A formula of numbers, + - * / ^ %, and parentheses (what a writer leaves uncomputed, "1+2").
enum class FormulaResult { Value, DivisionByZero, NotConstant };
FormulaResult evalConstantFormula(std::string_view formula, double& out);

}  // namespace ore::reader
