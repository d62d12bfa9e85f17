#pragma once
// The automation layer: late-bound objects whose members are called by name with Variant
// arguments, as the program drives the spreadsheet application ("excel.application").

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "data/number_format.h"

namespace ore::automation {

class Object;

// A value passed to or returned by a member call.
class Variant {
 public:
  enum class Kind { Empty, Double, Bool, Date, Text, Object, Error };

  Variant() = default;
  static Variant fromDouble(double v);
  static Variant fromBool(bool v);
  static Variant fromDate(double serial);  // serial number, 1900 date system
  static Variant fromText(std::string v);
  static Variant fromObject(std::shared_ptr<Object> v);
  static Variant fromError(std::string code);  // "#DIV/0!" and the like
  Variant(double v) : Variant(fromDouble(v)) {}
  Variant(int v) : Variant(fromDouble(v)) {}
  Variant(const char* v) : Variant(fromText(v)) {}
  Variant(std::string v) : Variant(fromText(std::move(v))) {}

  Kind kind() const { return kind_; }
  bool isEmpty() const { return kind_ == Kind::Empty; }
  // The type name used in conversion messages: "Empty", "Double", "Boolean", "Date", "OleStr",
  // "Dispatch", "Error".
  const char* typeName() const;

  // empty -> 0; double -> itself; date -> serial; logical -> -1 / 0; text -> parsed by the
  // locale's number rule, then the general number format's. Throws ore::Error
  // "Could not convert variant of type (OleStr) into type (Double)" when nothing accepts it.
  double toDouble(const NumberFormat& fmt) const;
  // empty -> ""; text -> itself; numbers in the general number format; logical "True"/"False".
  std::string toText(const NumberFormat& fmt) const;
  // The object held; throws ore::Error "Invalid variant operation" for any other kind.
  const std::shared_ptr<Object>& toObject() const;

  double rawNumber() const { return num_; }
  const std::string& rawText() const { return text_; }

 private:
  Kind kind_ = Kind::Empty;
  double num_ = 0;
  std::string text_;
  std::shared_ptr<Object> obj_;
};

using Args = std::span<const Variant>;

// An automation object. Members are resolved by name at every call; an unknown member or a bad
// argument list throws ore::Error with the component's message.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  // Property read or method call (automation does not tell them apart for the caller).
  virtual Variant get(std::string_view member, Args args = {}) = 0;
  // Property write.
  virtual void put(std::string_view member, Args args, const Variant& value) = 0;
};

// Creates an object by its program identifier; "excel.application" is the only one known.
// Throws ore::Error naming the identifier otherwise.
std::shared_ptr<Object> createObject(std::string_view progId);

}  // namespace ore::automation
