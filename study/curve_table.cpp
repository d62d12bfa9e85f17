#include "study/curve_table.h"

#include <algorithm>
#include <cctype>

#include "analysis/rounding.h"
#include "data/errors.h"
#include "platform/files/safe_file_writer.h"
#include "platform/workbook/xlsx/xlsx_table_writer.h"

namespace ore::study {

namespace {

std::vector<std::string> headerRow(int C) {
  std::vector<std::string> h(static_cast<std::size_t>(4 * C + 3));
  h[0] = "Граница";
  h[1] = "Выход хвостов, %";
  h[2 * C + 2] = "Выход концентрата, %";
  for (int k = 1; k <= C; ++k) {
    const std::string n = std::to_string(k);
    h[1 + k] = "Содержание в хвостах, %  №= " + n;
    h[C + 1 + k] = "Извлечение в хвосты, %  №= " + n;
    h[2 * C + 2 + k] = "Содержание в концентрате, %  №= " + n;
    h[3 * C + 2 + k] = "Извлечение в концентрат, %  №= " + n;
  }
  return h;
}

// A cut's numbers in the order of the header row.
template <class Put>
void cutRow(const CutFigures& f, int C, Put put) {
  put(0, f.key);
  put(1, f.tailsYield);
  put(2 * C + 2, f.concentrateYield);
  for (int k = 1; k <= C; ++k) {
    put(1 + k, f.tailsContent[k]);
    put(C + 1 + k, f.tailsRecovery[k]);
    put(2 * C + 2 + k, f.concentrateContent[k]);
    put(3 * C + 2 + k, f.concentrateRecovery[k]);
  }
}

// Rows written between two reports.
constexpr std::size_t kReportEvery = 4096;

void rowDone(std::size_t cut, std::size_t cuts, Progress& progress) {
  if ((cut + 1) % kReportEvery) return;
  progress.report(cut + 1, cuts);
  progress.checkStop();
}

}  // namespace

bool endsWithIgnoringCase(const std::string& path, const char* ending) {
  const std::string e(ending);
  if (path.size() < e.size()) return false;
  return std::equal(e.begin(), e.end(), path.end() - static_cast<std::ptrdiff_t>(e.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

TextGrid sortabilityCurveGrid(const SortabilityCurve& cv, const NumberFormat& fmt,
                              Progress& progress) {
  const int C = cv.contentCount();
  TextGrid g(4 * C + 3, static_cast<int>(cv.cutCount()) + 1);
  const std::vector<std::string> h = headerRow(C);
  for (std::size_t c = 0; c < h.size(); ++c) g.setCell(static_cast<int>(c), 0, h[c]);
  for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
    const int r = static_cast<int>(cut) + 1;
    cutRow(cv.figures(cut), C, [&](int col, auto v) { g.setCell(col, r, fmt.format(v)); });
    rowDone(cut, cv.cutCount(), progress);
  }
  progress.report(cv.cutCount(), cv.cutCount());
  return g;
}

Workbook sortabilityCurveWorkbook(const SortabilityCurve& cv, Progress& progress) {
  if (cv.cutCount() + 1 > static_cast<std::size_t>(Sheet::kMaxRows))
    throw Error("Кривая из " + std::to_string(cv.cutCount()) +
                " строк не помещается на лист Excel (не более 1048575 строк): сохраните ее как "
                ".csv");
  const int C = cv.contentCount();
  Workbook wb;
  wb.sheets.emplace_back("Кривые обогатимости");
  Sheet& s = wb.sheets.back();
  const std::vector<std::string> h = headerRow(C);
  for (std::size_t c = 0; c < h.size(); ++c) {
    Cell cell;
    cell.type = Cell::Type::Text;
    cell.text = h[c];
    s.set(1, static_cast<std::int64_t>(c) + 1, std::move(cell));
  }
  for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
    const auto row = static_cast<std::int64_t>(cut) + 2;
    cutRow(cv.figures(cut), C, [&](int col, auto v) {
      Cell cell;
      cell.type = Cell::Type::Number;
      cell.number = static_cast<double>(v);
      s.set(row, col + 1, std::move(cell));
    });
    rowDone(cut, cv.cutCount(), progress);
  }
  progress.report(cv.cutCount(), cv.cutCount());
  return wb;
}

std::string sortabilityCurveCsv(const SortabilityCurve& cv, const NumberFormat& fmt,
                                Progress& progress) {
  const int C = cv.contentCount();
  // A byte order mark, so that Excel takes the Russian header as UTF-8.
  std::string out = "\xEF\xBB\xBF";
  std::vector<std::string> row = headerRow(C);
  auto flush = [&] {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c) out += ';';
      out += row[c];
    }
    out += "\r\n";
  };
  flush();
  for (std::size_t cut = 0; cut < cv.cutCount(); ++cut) {
    cutRow(cv.figures(cut), C, [&](int col, auto v) { row[col] = fmt.format(v); });
    flush();
    rowDone(cut, cv.cutCount(), progress);
  }
  progress.report(cv.cutCount(), cv.cutCount());
  return out;
}

void saveSortabilityCurve(const SortabilityCurve& cv, const NumberFormat& fmt,
                          const std::string& path, Progress& progress) {
  if (endsWithIgnoringCase(path, ".xlsx")) {
    if (cv.cutCount() + 1 > static_cast<std::size_t>(Sheet::kMaxRows))
      throw Error("Кривая из " + std::to_string(cv.cutCount()) +
                  " строк не помещается на лист Excel (не более 1048575 строк): сохраните ее как "
                  ".csv");
    // Streamed: a million cuts as a Workbook would take long to build and longer to write.
    const int C = cv.contentCount();
    writeNumberTableXlsx(
        path, "Кривые обогатимости", headerRow(C), cv.cutCount(),
        [&](std::size_t cut, double* out) {
          cutRow(cv.figures(cut), C, [&](int col, auto v) { out[col] = static_cast<double>(v); });
        },
        progress);
  } else if (endsWithIgnoringCase(path, ".csv")) {
    const std::string text = sortabilityCurveCsv(cv, fmt, progress);
    progress.checkStop();  // a stop asked while the last rows were made
    writeFileSafely(path, text);
  } else
    throw Error("Таблица сохраняется как .xlsx или .csv: " + path);
}

std::vector<std::pair<std::string, std::string>> bestCutRows(
    const BestCut& best, const BootstrapResult& boot, std::uint64_t seed, const NumberFormat& fmt,
    std::optional<long double> precisionFactor) {
  auto num = [&](long double v) {
    return precisionFactor
               ? fmt.format(analysis::roundValue(static_cast<double>(v), *precisionFactor))
               : fmt.format(v);
  };
  const CutFigures& f = best.figures;
  const std::string key = precisionFactor
                              ? fmt.format(analysis::roundLimit(f.key, *precisionFactor))
                              : fmt.format(f.key);
  return {
      {"Лучшая граница", key},
      {"Эффективность разделения E", num(f.efficiency())},
      {"Выход концентрата, %", num(f.concentrateYield)},
      {"Содержание в концентрате, %  №= 1", num(f.concentrateContent[1])},
      {"Извлечение в концентрат, %  №= 1", num(f.concentrateRecovery[1])},
      {"Повторных выборок", std::to_string(boot.resamples)},
      {"Начальное число", std::to_string(seed)},
      {"95 % интервал извлечения в концентрат, %  №= 1",
       "от " + num(boot.recoveryLow) + " до " + num(boot.recoveryHigh)},
      {"95 % интервал выхода концентрата, %",
       "от " + num(boot.yieldLow) + " до " + num(boot.yieldHigh)},
      {"Лучшая граница выборки в пределах ±10 % от " + key,
       num(boot.withinShare()) + " % (" + std::to_string(boot.within) + " из " +
           std::to_string(boot.resamples) + ")"},
  };
}

}  // namespace ore::study
