#include "setup/pocket_table.h"

#include "data/errors.h"

namespace ore::setup {

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
