#include "setup/pocket_table.h"

#include "data/errors.h"

namespace ore::setup {

namespace {
std::string acceptedTexts() {
  std::string list;
  for (std::string_view t : kPrecisionTexts) {
    if (!list.empty()) list += "; ";
    list += t;
  }
  return list;
}
}  // namespace

void checkPrecisionText(const std::string& text) {
  for (std::string_view t : kPrecisionTexts)
    if (text == t) return;
  throw Error("Точность составляемой таблицы «" + text +
              "» не поддерживается. Допустимые значения: " + acceptedTexts());
}

void checkPocketCount(int count) {
  if (count >= 1 && count <= kMaxPocketCount) return;
  throw Error("Количество карманов должно быть целым числом от 1 до " +
              std::to_string(kMaxPocketCount) + " (введено " + std::to_string(count) + ")");
}

void preparePocketTable(TextGrid& table, int count, const NumberFormat& fmt) {
  table.setColCount(2);
  table.setRowCount(count + 1);
  for (int r = 1; r <= count; ++r) table.setCell(0, r, fmt.format(r));
  table.setCell(1, 0, "Карман");
}

}  // namespace ore::setup
