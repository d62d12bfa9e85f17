#pragma once
// The automation layer: late-bound objects whose members are called by name with Variant
// arguments, as the program drives the spreadsheet application ("excel.application").

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "data/number_format.h"

namespace ore {
class ExcelApplication;
}

namespace ore::automation {

// The argument of the workbooks' "add" that asks for a workbook of one worksheet (the
// spreadsheet's own template number).
inline constexpr int kOneSheetTemplate = -4167;

class Object;
class Variant;

using Args = std::span<const Variant>;

// A value passed to or returned by a member call. Integers travel as doubles.
class Variant {
 public:
  enum class Kind { Empty, Double, Bool, Date, Text, Object, Error };

  Variant() = default;
  static Variant fromDouble(double v);
  static Variant fromBool(bool v);
  static Variant fromDate(double serial);  // serial number, 1900 date system (1 = 1900-01-01)
  static Variant fromText(std::string v);
  static Variant fromObject(std::shared_ptr<Object> v);
  static Variant fromError(std::string code);  // "#DIV/0!" and the like
  Variant(double v) : kind_(Kind::Double), num_(v) {}
  Variant(int v) : kind_(Kind::Double), num_(v) {}
  Variant(std::int64_t v) : kind_(Kind::Double), num_(static_cast<double>(v)) {}
  Variant(bool v) : kind_(Kind::Bool), num_(v ? 1 : 0) {}
  Variant(const char* v) : Variant(fromText(v)) {}
  Variant(std::string v) : Variant(fromText(std::move(v))) {}

  Kind kind() const { return kind_; }
  bool isEmpty() const { return kind_ == Kind::Empty; }
  // The type name used in conversion messages: "Empty", "Double", "Boolean", "Date", "OleStr",
  // "Dispatch", "Error".
  const char* typeName() const;

  // empty -> 0; double -> itself; date -> serial; logical -> -1 / 0; text -> parsed by the
  // general number format (blanks around, sign, one decimal separator, exponent). Throws
  // ore::Error "Could not convert variant of type (OleStr) into type (Double)" when the text is
  // not a number, and the same message with "Dispatch" or "Error" for those kinds.
  double toDouble(const NumberFormat& fmt) const;
  // empty -> ""; text -> itself; numbers in the general number format; logical "True"/"False";
  // date "dd.mm.yyyy" (with " h:mm:ss" when it has a time). An object or an error value throws
  // "Could not convert variant of type (...) into type (OleStr)".
  std::string toText(const NumberFormat& fmt) const;
  // Exactly toText(fmt).empty(), without building the text: true for an empty value and the
  // empty text; throws as toText does for an object or an error value.
  bool isEmptyText() const;
  // The object held; throws ore::Error "Invalid variant operation" for any other kind.
  const std::shared_ptr<Object>& toObject() const;

  // Member calls on the object held (toObject() first, so an empty Variant fails with
  // "Invalid variant operation").
  Variant get(std::string_view member, Args args = {}) const;
  Variant get(std::string_view member, std::initializer_list<Variant> args) const;
  void put(std::string_view member, Args args, const Variant& value) const;
  void put(std::string_view member, std::initializer_list<Variant> args,
           const Variant& value) const;

  // Double, Date: the number; Bool: 1 or 0.
  double rawNumber() const { return num_; }
  const std::string& rawText() const { return text_; }  // Text, Error

 private:
  Kind kind_ = Kind::Empty;
  double num_ = 0;
  std::string text_;
  std::shared_ptr<Object> obj_;
};

// An automation object. Members are resolved by name at every call, whatever their case; an
// unknown member or a bad argument list throws ore::Error with the component's message.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  // Property read or method call (automation does not tell them apart for the caller).
  virtual Variant get(std::string_view member, Args args = {}) = 0;
  // Property write.
  virtual void put(std::string_view member, Args args, const Variant& value) = 0;
};

// Creates an object by its program identifier (case does not matter); "excel.application" is
// the only one known and makes a new ExcelApplication holding no workbook. Throws ore::Error
// naming the identifier otherwise.
std::shared_ptr<Object> createObject(std::string_view progId);

// Makes objects by program identifier as createObject does. Whoever wires the program (the app,
// the batch, a test) hands one to what creates applications, the import and the report.
using ObjectFactory = std::function<std::shared_ptr<Object>(std::string_view progId)>;

// A factory that makes objects with createObject and hands every application it makes to created
// before returning it, so that windows can follow it (an observer that opens a window once it
// becomes visible). Keep a weak reference: the import's applications are meant to go away when
// the import ends.
using ApplicationCreated = std::function<void(const std::shared_ptr<ExcelApplication>&)>;
ObjectFactory objectFactory(ApplicationCreated created);

}  // namespace ore::automation
