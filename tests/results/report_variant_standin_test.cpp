// Stand-ins for the automation layer's Variant members, so the report tests link while that layer
// is still being written. They compile to nothing once the layer's spreadsheet application is in
// the tree, and are weak besides: any real definition wins at link time.

#if !__has_include("platform/excel_application.h")

#include "data/errors.h"
#include "platform/automation.h"

namespace ore::automation {

#define ORE_STANDIN __attribute__((weak))

ORE_STANDIN Variant Variant::fromDouble(double v) {
  Variant r;
  r.kind_ = Kind::Double;
  r.num_ = v;
  return r;
}

ORE_STANDIN Variant Variant::fromBool(bool v) {
  Variant r;
  r.kind_ = Kind::Bool;
  r.num_ = v ? -1 : 0;
  return r;
}

ORE_STANDIN Variant Variant::fromDate(double serial) {
  Variant r;
  r.kind_ = Kind::Date;
  r.num_ = serial;
  return r;
}

ORE_STANDIN Variant Variant::fromText(std::string v) {
  Variant r;
  r.kind_ = Kind::Text;
  r.text_ = std::move(v);
  return r;
}

ORE_STANDIN Variant Variant::fromObject(std::shared_ptr<Object> v) {
  Variant r;
  r.kind_ = Kind::Object;
  r.obj_ = std::move(v);
  return r;
}

ORE_STANDIN Variant Variant::fromError(std::string code) {
  Variant r;
  r.kind_ = Kind::Error;
  r.text_ = std::move(code);
  return r;
}

ORE_STANDIN const char* Variant::typeName() const {
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

ORE_STANDIN double Variant::toDouble(const NumberFormat& fmt) const {
  if (kind_ == Kind::Text) return fmt.parseReal(text_);
  return num_;
}

ORE_STANDIN std::string Variant::toText(const NumberFormat& fmt) const {
  if (kind_ == Kind::Text || kind_ == Kind::Error) return text_;
  if (kind_ == Kind::Empty) return {};
  return fmt.format(num_);
}

ORE_STANDIN const std::shared_ptr<Object>& Variant::toObject() const {
  if (kind_ != Kind::Object || !obj_) throw Error(msg::kInvalidVariantOperation);
  return obj_;
}

#undef ORE_STANDIN

}  // namespace ore::automation

#endif
