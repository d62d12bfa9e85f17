#include "study/sensor_table.h"

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"
#include "platform/workbook/workbook.h"
#include "platform/workbook/xlsx/xlsx_writer.h"
#include "study/curve_table.h"

namespace ore::study {

namespace {

// The words for a figure that is not defined, in the gender of the label's noun.
constexpr const char* kUndefinedMasculine = "не определен";
constexpr const char* kUndefinedFeminine = "не определена";

}  // namespace

std::vector<FigureRow> sensorRows(const SensorStudy& s, const NumberFormat& fmt) {
  std::vector<FigureRow> rows;
  auto number = [&](const char* label, long double v) {
    rows.push_back({label, fmt.format(v), static_cast<double>(v)});
  };
  auto maybe = [&](const char* label, bool defined, long double v, const char* undefined) {
    if (defined)
      number(label, v);
    else
      rows.push_back({label, undefined, std::nullopt});
  };
  number("Лучшая граница по параметру", s.sensorBestCut());
  number("Эффективность разделения по параметру E", s.sensorBest.figures.efficiency());
  number("Лучшая граница по содержанию", s.idealBest.figures.key);
  number("Эффективность разделения по содержанию E", s.idealBest.figures.efficiency());
  maybe("Эффективность датчика, %", s.efficiencyDefined, s.efficiency, kUndefinedFeminine);
  const Calibration& c = s.calibration;
  maybe("Наклон калибровки содержания по параметру", c.lineDefined, c.slope, kUndefinedMasculine);
  maybe("Сдвиг калибровки содержания по параметру", c.lineDefined, c.intercept,
        kUndefinedMasculine);
  maybe("Коэффициент детерминации R²", c.r2Defined, c.r2, kUndefinedMasculine);
  maybe("Ранговая корреляция Спирмена", c.spearmanDefined, c.spearman, kUndefinedFeminine);
  if (!s.oreWaste) return rows;

  const OreWaste& w = *s.oreWaste;
  rows.push_back({"Граничное содержание", fmt.format(w.cutoffGrade), w.cutoffGrade});
  rows.push_back({"Рудных кусков", std::to_string(w.oreLumps) + " из " + std::to_string(w.lumps),
                  std::nullopt});
  number("Доля массы рудных кусков, %", w.oreMassShare);
  maybe("Площадь под ROC-кривой по кускам", w.defined, w.aucCount, kUndefinedFeminine);
  maybe("Площадь под ROC-кривой по массе", w.aucMassDefined, w.aucMass, kUndefinedFeminine);
  maybe("Граница по Юдену", w.defined, w.youdenCut, kUndefinedFeminine);
  maybe("Чувствительность при ней, %", w.defined, w.sensitivity, kUndefinedFeminine);
  maybe("Специфичность при ней, %", w.defined, w.specificity, kUndefinedFeminine);
  return rows;
}

TextGrid rocGrid(const OreWaste& w, const NumberFormat& fmt, Progress& progress) {
  const std::size_t n = w.roc.size();
  TextGrid g(5, static_cast<int>(n) + 1);
  const char* header[] = {"Граница", "Доля принятых рудных кусков, %",
                          "Доля принятых пустых кусков, %", "Доля принятой массы руды, %",
                          "Доля принятой массы пустой породы, %"};
  for (int c = 0; c < 5; ++c) g.setCell(c, 0, header[c]);
  for (std::size_t i = 0; i < n; ++i) {
    const RocPoint p = w.roc.point(i);
    const int r = static_cast<int>(i) + 1;
    g.setCell(0, r, fmt.format(p.cut));
    g.setCell(1, r, fmt.format(100 * p.orePassed));
    g.setCell(2, r, fmt.format(100 * p.wastePassed));
    g.setCell(3, r, fmt.format(100 * p.oreMassPassed));
    g.setCell(4, r, fmt.format(100 * p.wasteMassPassed));
    if ((i + 1) % 4096 == 0) {
      progress.report(i + 1, n);
      progress.checkStop();
    }
  }
  progress.report(n, n);
  return g;
}

void saveSensorTable(const std::vector<FigureRow>& rows, const std::string& path) {
  const char* header[] = {"Показатель", "Значение"};
  if (endsWithIgnoringCase(path, ".xlsx")) {
    Workbook wb;
    wb.sheets.emplace_back("Датчик и анализ");
    Sheet& s = wb.sheets.back();
    auto text = [&](std::int64_t row, std::int64_t col, const std::string& t) {
      Cell cell;
      cell.type = Cell::Type::Text;
      cell.text = t;
      s.set(row, col, std::move(cell));
    };
    text(1, 1, header[0]);
    text(1, 2, header[1]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const auto row = static_cast<std::int64_t>(r) + 2;
      text(row, 1, rows[r].label);
      if (rows[r].number) {
        Cell cell;
        cell.type = Cell::Type::Number;
        cell.number = *rows[r].number;
        s.set(row, 2, std::move(cell));
      } else {
        text(row, 2, rows[r].text);
      }
    }
    writeXlsx(wb, path);
  } else if (endsWithIgnoringCase(path, ".csv")) {
    // A byte order mark, so that Excel takes the Russian texts as UTF-8.
    std::string out = "\xEF\xBB\xBF";
    out += std::string(header[0]) + ";" + header[1] + "\r\n";
    for (const FigureRow& r : rows) out += r.label + ";" + r.text + "\r\n";
    writeFileSafely(path, out);
  } else {
    throw Error("Таблица сохраняется как .xlsx или .csv: " + path);
  }
}

}  // namespace ore::study
