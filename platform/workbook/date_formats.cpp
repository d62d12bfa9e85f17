#include "platform/workbook/date_formats.h"

namespace ore::reader {

bool isBuiltinDateFormat(std::uint64_t id) {
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
         (id >= 50 && id <= 58);
}

bool isDateFormatCode(std::string_view code) {
  for (std::size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    switch (c) {
      case '"': {
        auto e = code.find('"', i + 1);
        if (e == std::string_view::npos) return false;
        i = e;
        break;
      }
      case '[': {
        auto e = code.find(']', i + 1);
        if (e == std::string_view::npos) return false;
        // Elapsed-time fields ([h], [mm], [ss]) are times all the same.
        std::string_view in = code.substr(i + 1, e - i - 1);
        bool elapsed = !in.empty();
        for (char k : in)
          if (!(k == 'h' || k == 'H' || k == 'm' || k == 'M' || k == 's' || k == 'S'))
            elapsed = false;
        if (elapsed) return true;
        i = e;
        break;
      }
      case '\\':
      case '_':
      case '*':
        ++i;  // the next character is literal (or a padding / fill character)
        break;
      case 'y':
      case 'Y':
      case 'm':
      case 'M':
      case 'd':
      case 'D':
      case 'h':
      case 'H':
      case 's':
      case 'S':
        return true;
      default:
        break;
    }
  }
  return false;
}

}  // namespace ore::reader
