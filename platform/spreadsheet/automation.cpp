#include "platform/spreadsheet/automation.h"

#include <cmath>
#include <cstdio>

#include "data/errors.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::automation {

namespace {

ApplicationCreatedHook& createdHook() {
  static ApplicationCreatedHook hook;
  return hook;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// An automation date as the user's short date: day 0 is 1899-12-30, the fraction the time.
std::string dateText(double serial) {
  double day = std::floor(serial);
  long long seconds = std::llround((serial - day) * 86400.0);
  if (seconds >= 86400) {
    day += 1;
    seconds -= 86400;
  }
  // Days since 1970-01-01, then the civil date (proleptic Gregorian).
  long long z = static_cast<long long>(day) - 25569 + 719468;
  long long era = (z >= 0 ? z : z - 146096) / 146097;
  long long doe = z - era * 146097;
  long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long long y = yoe + era * 400;
  long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long long mp = (5 * doy + 2) / 153;
  long long d = doy - (153 * mp + 2) / 5 + 1;
  long long m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char buf[128];
  if (seconds == 0)
    std::snprintf(buf, sizeof buf, "%02lld.%02lld.%04lld", d, m, y);
  else
    std::snprintf(buf, sizeof buf, "%02lld.%02lld.%04lld %lld:%02lld:%02lld", d, m, y,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buf;
}

}  // namespace

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
      return dateText(num_);
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

std::shared_ptr<Object> createObject(std::string_view progId) {
  if (equalsIgnoringCase(progId, "excel.application")) {
    auto app = std::make_shared<ExcelApplication>();
    // A copy: the hook may replace itself while it runs.
    if (ApplicationCreatedHook hook = createdHook()) hook(app);
    return app;
  }
  throw Error("Не удается создать объект автоматизации «" + std::string(progId) +
              "»: такой программный идентификатор не зарегистрирован");
}

ApplicationCreatedHook setApplicationCreatedHook(ApplicationCreatedHook hook) {
  ApplicationCreatedHook previous = std::move(createdHook());
  createdHook() = std::move(hook);
  return previous;
}

}  // namespace ore::automation
