#include "platform/workbook/constant_formula.h"

#include <cmath>

#include "platform/workbook/text_scan.h"

namespace ore::reader {

namespace {

// Recursive descent over the spreadsheet's operator precedence: negation, then %, ^ (left to
// right), * /, + -. The depth bound keeps hostile nesting off the stack.
class FormulaEval {
 public:
  explicit FormulaEval(std::string_view s) : s_(s) {}

  FormulaResult run(double& out) {
    skip();
    if (take(s_, '=')) skip();
    double v;
    if (!expr(v, 0)) return FormulaResult::NotConstant;
    skip();
    if (!s_.empty()) return FormulaResult::NotConstant;
    if (divZero_) return FormulaResult::DivisionByZero;
    if (!std::isfinite(v)) return FormulaResult::NotConstant;
    out = v == 0 ? 0.0 : v;
    return FormulaResult::Value;
  }

 private:
  static constexpr int kMaxDepth = 64;

  void skip() {
    while (!s_.empty() && s_.front() == ' ') s_.remove_prefix(1);
  }
  bool op(char c) {
    skip();
    return take(s_, c);
  }
  bool expr(double& v, int depth) {
    if (!term(v, depth)) return false;
    for (;;) {
      double r;
      if (op('+')) {
        if (!term(r, depth)) return false;
        v += r;
      } else if (op('-')) {
        if (!term(r, depth)) return false;
        v -= r;
      } else {
        return true;
      }
    }
  }
  bool term(double& v, int depth) {
    if (!power(v, depth)) return false;
    for (;;) {
      double r;
      if (op('*')) {
        if (!power(r, depth)) return false;
        v *= r;
      } else if (op('/')) {
        if (!power(r, depth)) return false;
        if (r == 0) {
          divZero_ = true;
          v = 0;
        } else {
          v /= r;
        }
      } else {
        return true;
      }
    }
  }
  bool power(double& v, int depth) {
    if (!unary(v, depth)) return false;
    while (op('^')) {
      double r;
      if (!unary(r, depth)) return false;
      v = std::pow(v, r);
    }
    return true;
  }
  bool unary(double& v, int depth) {
    if (depth > kMaxDepth) return false;
    if (op('-')) {
      if (!unary(v, depth + 1)) return false;
      v = -v;
      return true;
    }
    if (op('+')) return unary(v, depth + 1);
    if (!primary(v, depth)) return false;
    while (op('%')) v /= 100;
    return true;
  }
  bool primary(double& v, int depth) {
    skip();
    if (take(s_, '(')) {
      if (depth > kMaxDepth || !expr(v, depth + 1)) return false;
      return op(')');
    }
    return takeNumber(s_, v);
  }

  std::string_view s_;
  bool divZero_ = false;
};

}  // namespace

FormulaResult evalConstantFormula(std::string_view formula, double& out) {
  return FormulaEval(formula).run(out);
}

}  // namespace ore::reader
