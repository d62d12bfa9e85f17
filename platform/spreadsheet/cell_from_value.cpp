#include "platform/spreadsheet/cell_from_value.h"

#include "data/errors.h"
#include "data/number_format.h"

namespace ore {

using automation::Variant;

Cell cellFromValue(const Variant& v) {
  using K = Variant::Kind;
  Cell c;
  switch (v.kind()) {
    case K::Empty:
      return c;
    case K::Double:
      c.type = Cell::Type::Number;
      c.number = v.rawNumber();
      return c;
    case K::Bool:
      c.type = Cell::Type::Logical;
      c.number = v.rawNumber() != 0 ? 1 : 0;
      return c;
    case K::Date:
      c.type = Cell::Type::Date;
      c.number = v.rawNumber();
      return c;
    case K::Error:
      c.type = Cell::Type::Error;
      c.text = v.rawText();
      return c;
    case K::Text: {
      const std::string& t = v.rawText();
      if (t.empty()) return c;  // writing the empty text clears the cell
      if (t[0] != '=') {
        c.type = Cell::Type::Text;
        c.text = t;
        return c;
      }
      c.formula = t;
      // Formulas are written in the spreadsheet's own language: a point before the decimals.
      if (NumberFormat('.').tryParseReal(std::string_view(t).substr(1), c.number)) {
        c.type = Cell::Type::Number;
      } else {
        c.type = Cell::Type::Error;
        c.text = "#NAME?";
      }
      return c;
    }
    case K::Object:
      break;
  }
  throw Error("В ячейку нельзя записать объект автоматизации");
}

}  // namespace ore
