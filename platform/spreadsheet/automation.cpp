#include "platform/spreadsheet/automation.h"

#include <cmath>
#include <cstdio>

#include "data/errors.h"
#include "platform/workbook/calendar.h"

namespace ore::automation {

Variant Variant::fromDouble(double v) {
  return Variant(v);
}

Variant Variant::fromBool(bool v) {
  return Variant(v);
}

Variant Variant::fromDate(double serial) {
  Variant r;
  r.kind_ = Kind::Date;
  r.num_ = serial;
  return r;
}

Variant Variant::fromText(std::string v) {
  Variant r;
  r.kind_ = Kind::Text;
  r.text_ = std::move(v);
  return r;
}

Variant Variant::fromObject(std::shared_ptr<Object> v) {
  Variant r;
  if (!v) return r;  // a null reference is no object: the empty value
  r.kind_ = Kind::Object;
  r.obj_ = std::move(v);
  return r;
}

Variant Variant::fromError(std::string code) {
  Variant r;
  r.kind_ = Kind::Error;
  r.text_ = std::move(code);
  return r;
}

const char* Variant::typeName() const {
  switch (kind_) {
    case Kind::Empty:
      return "Empty";
    case Kind::Double:
      return "Double";
    case Kind::Bool:
      return "Boolean";
    case Kind::Date:
      return "Date";
    case Kind::Text:
      return "OleStr";
    case Kind::Object:
      return "Dispatch";
    case Kind::Error:
      return "Error";
  }
  return "Empty";
}

double Variant::toDouble(const NumberFormat& fmt) const {
  switch (kind_) {
    case Kind::Empty:
      return 0;
    case Kind::Double:
    case Kind::Date:
      return num_;
    case Kind::Bool:
      return num_ != 0 ? -1 : 0;
    case Kind::Text: {
      // The system's own number parser and the general number format's rule are one rule here:
      // blanks around, a sign, the locale's decimal separator, an exponent.
      double v = 0;
      if (fmt.tryParseReal(text_, v)) return v;
      break;
    }
    case Kind::Object:
    case Kind::Error:
      break;
  }
  throw Error(msg::variantConvert(typeName(), "Double"));
}

std::string Variant::toText(const NumberFormat& fmt) const {
  switch (kind_) {
    case Kind::Empty:
      return {};
    case Kind::Double:
      return fmt.format(num_);
    case Kind::Date:
      return reader::serialDateText(num_);
    case Kind::Bool:
      return num_ != 0 ? "True" : "False";
    case Kind::Text:
      return text_;
    case Kind::Object:
    case Kind::Error:
      break;
  }
  throw Error(msg::variantConvert(typeName(), "OleStr"));
}

bool Variant::isEmptyText() const {
  switch (kind_) {
    case Kind::Empty:
      return true;
    case Kind::Text:
      return text_.empty();
    case Kind::Double:
    case Kind::Date:
    case Kind::Bool:
      return false;
    case Kind::Object:
    case Kind::Error:
      break;
  }
  throw Error(msg::variantConvert(typeName(), "OleStr"));
}

const std::shared_ptr<Object>& Variant::toObject() const {
  if (kind_ != Kind::Object) throw Error(msg::kInvalidVariantOperation);
  return obj_;
}

Variant Variant::get(std::string_view member, Args args) const {
  return toObject()->get(member, args);
}

Variant Variant::get(std::string_view member, std::initializer_list<Variant> args) const {
  return toObject()->get(member, Args(args.begin(), args.size()));
}

void Variant::put(std::string_view member, Args args, const Variant& value) const {
  toObject()->put(member, args, value);
}

void Variant::put(std::string_view member, std::initializer_list<Variant> args,
                  const Variant& value) const {
  toObject()->put(member, Args(args.begin(), args.size()), value);
}

}  // namespace ore::automation
