#include "platform/workbook/reader_limits.h"

#include <cstring>

#include "data/errors.h"
#include "platform/workbook/names.h"

namespace ore::reader {

void ReadContext::cannotOpen(int err) const {
  throw Error("Не удается открыть файл " + file_ + ": " + std::strerror(err));
}

void ReadContext::notWorkbook(std::string_view why) const {
  std::string m = "Файл " + file_ + " не является рабочей книгой (xlsx, xls, ods, csv)";
  if (!why.empty()) (m += ": ") += why;
  throw Error(m);
}

void ReadContext::corrupt(std::string_view what) const {
  throw Error("Файл " + file_ + " поврежден: " + std::string(what));
}

void ReadContext::tooBig(std::string_view what) const {
  throw Error("Файл " + file_ + " слишком велик для чтения: " + std::string(what));
}

void ReadContext::beyondSheet(std::string_view what) const {
  throw Error("Файл " + file_ + " не помещается в лист: " + std::string(what));
}

void ReadContext::encrypted() const {
  throw Error("Файл " + file_ +
              " защищен паролем; сохраните его без пароля в редакторе таблиц и откройте снова");
}

void ReadContext::addModel(std::uint64_t bytes) {
  model_ += bytes;
  if (model_ > kMaxModelBytes) tooBig("ячейки листов заняли бы в памяти больше 2 ГиБ");
  if (model_ > kModelFloor + kModelPerInputByte * input_)
    tooBig("ячейки листов разбросаны так, что заняли бы в памяти много больше самих данных");
}

std::string cellName(std::int64_t row, std::int64_t col) {
  return columnLetters(col) + std::to_string(row);
}

std::string quoted(std::string_view text) {
  constexpr std::size_t kMax = 60;
  std::string out = "«";
  if (text.size() <= kMax) {
    out += text;
  } else {
    std::size_t n = kMax;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;  // whole letters
    out += text.substr(0, n);
    out += "…";
  }
  return out + "»";
}

void SheetBuilder::checkPosition(std::int64_t row, std::int64_t col) const {
  if (row >= 1 && row <= Sheet::kMaxRows && col >= 1 && col <= Sheet::kMaxCols) return;
  if (row < 1 || col < 1)  // no writer puts a cell there: the file is damaged
    ctx_.corrupt("ячейка в строке " + std::to_string(row) + ", столбце " + std::to_string(col) +
                 " на листе " + quoted(sheet_.name()) + " лежит за пределами листа");
  // A real cell, only further out than a sheet reaches: the file is whole but too large.
  const std::string where = col <= Sheet::kMaxCols ? "ячейка " + cellName(row, col)
                                                   : "ячейка в строке " + std::to_string(row) +
                                                         ", столбце " + std::to_string(col);
  ctx_.beyondSheet(where + " на листе " + quoted(sheet_.name()) + " лежит за пределами листа: " +
                   (row > Sheet::kMaxRows ? "ниже его последней строки 1 048 576"
                                          : "правее его последнего столбца XFD (16 384)"));
}

void SheetBuilder::set(std::int64_t row, std::int64_t col, Cell cell) {
  checkPosition(row, col);
  std::uint64_t cost = 0;
  auto r = static_cast<std::size_t>(row);
  if (r > width_.size()) {
    cost += (r - width_.size()) * (sizeof(std::vector<Cell>) + sizeof(std::int32_t));
    width_.resize(r, 0);
  }
  auto& w = width_[r - 1];
  if (col > w) {
    cost += static_cast<std::uint64_t>(col - w) * sizeof(Cell);
    w = static_cast<std::int32_t>(col);
  }
  // Texts past the short-string buffer live on the heap.
  if (cell.text.size() > 15) cost += cell.text.size() + 1;
  if (cost) ctx_.addModel(cost);
  sheet_.set(row, col, std::move(cell));
}

}  // namespace ore::reader
