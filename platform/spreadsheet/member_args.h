#pragma once
// How the spreadsheet's objects take a member call: member names without regard to case, the
// count of arguments, and arguments coerced as automation coerces them. Inline: a million-lump
// import makes tens of millions of member calls.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/errors.h"
#include "data/number_format.h"
#include "platform/spreadsheet/automation.h"

namespace ore::automation::members {

inline char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Member names are compared without regard to case, as automation resolves them. The name
// asked for is given in lower case.
inline bool is(std::string_view member, std::string_view name) {
  if (member.size() != name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (lower(member[i]) != name[i]) return false;
  return true;
}

[[noreturn]] inline void noWorkbook(const std::string& purpose) {
  throw Error("Нет открытой рабочей книги: " + purpose);
}

[[noreturn]] inline void unknownMember(const char* object, std::string_view member) {
  throw Error("Объект «" + std::string(object) + "» не имеет члена «" + std::string(member) + "»");
}

[[noreturn]] inline void notAssignable(const char* object, std::string_view member) {
  throw Error("Члену «" + std::string(member) + "» объекта «" + std::string(object) +
              "» нельзя присвоить значение");
}

inline void expectArgs(Args args, size_t n, const char* object, std::string_view member) {
  if (args.size() == n) return;
  throw Error("Член «" + std::string(member) + "» объекта «" + std::string(object) +
              "» ожидает аргументов: " + std::to_string(n) +
              ", передано: " + std::to_string(args.size()));
}

// An integer argument, coerced as automation coerces (rounding half to even).
inline std::int64_t intArg(const Variant& v) {
  using K = Variant::Kind;
  switch (v.kind()) {
    case K::Empty:
      return 0;
    case K::Bool:
      return v.rawNumber() != 0 ? -1 : 0;
    case K::Double:
    case K::Date: {
      double x = std::nearbyint(v.rawNumber());
      if (x > -9.0e18 && x < 9.0e18) return static_cast<std::int64_t>(x);
      break;
    }
    case K::Text: {
      std::int32_t n = 0;
      if (NumberFormat(',').tryParseInteger(v.rawText(), n)) return n;
      break;
    }
    case K::Object:
    case K::Error:
      break;
  }
  throw Error(msg::variantConvert(v.typeName(), "Integer"));
}

inline std::string textArg(const Variant& v) {
  if (v.kind() == Variant::Kind::Text) return v.rawText();
  return v.toText(NumberFormat(','));
}

inline bool boolArg(const Variant& v) {
  using K = Variant::Kind;
  switch (v.kind()) {
    case K::Empty:
      return false;
    case K::Bool:
    case K::Double:
      return v.rawNumber() != 0;
    case K::Text: {
      std::string_view t = v.rawText();
      if (is(t, "true")) return true;
      if (is(t, "false")) return false;
      double x = 0;
      if (NumberFormat(',').tryParseReal(t, x)) return x != 0;
      break;
    }
    case K::Date:
    case K::Object:
    case K::Error:
      break;
  }
  throw Error(msg::variantConvert(v.typeName(), "Boolean"));
}

}  // namespace ore::automation::members
