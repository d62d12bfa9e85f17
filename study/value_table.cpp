#include "study/value_table.h"

#include <algorithm>
#include <cctype>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/xlsx/xlsx_writer.h"

namespace ore::study {

namespace {

const char* const kHeader[2] = {"Граница", "Стоимость тонны питания"};

bool endsWith(const std::string& path, const std::string& e) {
  if (path.size() < e.size()) return false;
  return std::equal(e.begin(), e.end(), path.end() - static_cast<std::ptrdiff_t>(e.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

}  // namespace

TextGrid valueCurveGrid(const SortabilityCurve& cv, const ValueInputs& in,
                        const NumberFormat& fmt) {
  TextGrid g(2, static_cast<int>(cv.cutCount()) + 1);
  g.setCell(0, 0, kHeader[0]);
  g.setCell(1, 0, kHeader[1]);
  for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
    const int r = static_cast<int>(cut) + 1;
    g.setCell(0, r, fmt.format(cv.key(cut)));
    g.setCell(1, r, fmt.format(cutValue(cv, in, cut)));
  }
  return g;
}

void saveValueCurve(const SortabilityCurve& cv, const ValueInputs& in, const NumberFormat& fmt,
                    const std::string& path) {
  if (endsWith(path, ".xlsx")) {
    if (cv.cutCount() + 1 > static_cast<std::size_t>(Sheet::kMaxRows))
      throw Error("Кривая из " + std::to_string(cv.cutCount()) +
                  " строк не помещается на лист Excel (не более 1048575 строк): сохраните ее как "
                  ".csv");
    Workbook wb;
    wb.sheets.emplace_back("Стоимость границы");
    Sheet& s = wb.sheets.back();
    for (int c = 0; c < 2; ++c) {
      Cell cell;
      cell.type = Cell::Type::Text;
      cell.text = kHeader[c];
      s.set(1, c + 1, std::move(cell));
    }
    for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
      const auto row = static_cast<std::int64_t>(cut) + 2;
      const double v[2] = {cv.key(cut), static_cast<double>(cutValue(cv, in, cut))};
      for (int c = 0; c < 2; ++c) {
        Cell cell;
        cell.type = Cell::Type::Number;
        cell.number = v[c];
        s.set(row, c + 1, std::move(cell));
      }
    }
    writeXlsx(wb, path);
  } else if (endsWith(path, ".csv")) {
    // A byte order mark, so that Excel takes the Russian header as UTF-8.
    std::string out = "\xEF\xBB\xBF" + std::string(kHeader[0]) + ";" + kHeader[1] + "\r\n";
    for (std::size_t cut = 0; cut < cv.cutCount(); ++cut)
      out += fmt.format(cv.key(cut)) + ";" + fmt.format(cutValue(cv, in, cut)) + "\r\n";
    writeFileSafely(path, out);
  } else {
    throw Error("Таблица сохраняется как .xlsx или .csv: " + path);
  }
}

std::vector<std::pair<std::string, std::string>> bestValueRows(
    const BestValueCut& best, const std::optional<ValueInterval>& interval,
    const NumberFormat& fmt) {
  const CutFigures& f = best.figures;
  std::vector<std::pair<std::string, std::string>> rows = {
      {"Лучшая граница по стоимости", fmt.format(f.key)},
      {"Стоимость тонны питания при сортировке", fmt.format(best.value)},
      {"Стоимость тонны питания без сортировки", fmt.format(best.withoutSorting)},
      {"Прирост от сортировки на тонну питания", fmt.format(best.gain())},
  };
  if (!best.pays()) rows.push_back({kSortingDoesNotPay, ""});
  rows.push_back({"Выход концентрата, %", fmt.format(f.concentrateYield)});
  rows.push_back({"Содержание в концентрате, %  №= 1", fmt.format(f.concentrateContent[1])});
  rows.push_back({"Извлечение в концентрат, %  №= 1", fmt.format(f.concentrateRecovery[1])});
  if (interval)
    rows.push_back({"95 % интервал стоимости тонны питания",
                    "от " + fmt.format(interval->low) + " до " + fmt.format(interval->high)});
  return rows;
}

}  // namespace ore::study
