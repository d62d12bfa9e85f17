#pragma once
// The sensor study as tables: its figures one a row, in the words orefrac-batch prints them and the
// window shows them, saved as .xlsx or .csv; and the ROC curve's rows for orefrac-batch.

#include <optional>
#include <string>
#include <vector>

#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "study/sensor_study.h"

namespace ore::study {

// One figure: what it is, and its value as written (15 significant digits, unrounded) or the
// words for one that is not defined; number holds the value when it is one number.
struct FigureRow {
  std::string label;
  std::string text;
  std::optional<double> number;
};

// The best cuts and their E, the sensor's efficiency, the calibration; with a cut-off grade the
// ore and waste figures after them. A figure that is not defined says so in the gender of its
// label's noun: "не определен" (наклон, сдвиг, коэффициент), "не определена" (the others).
std::vector<FigureRow> sensorRows(const SensorStudy& study, const NumberFormat& fmt);

// The header row and one row per sensor cut, ascending in the curve's key: the cut as a parameter
// value, then the per cent of the ore lumps, the waste lumps, the ore mass and the waste mass the
// cut accepts.
TextGrid rocGrid(const OreWaste& figures, const NumberFormat& fmt, Progress& progress);

// Saves the rows under the header "Показатель", "Значение" as .xlsx (one sheet "Датчик и
// анализ", numbers as numbers) or .csv (';', CR LF, the values as written), chosen by the name's
// ending, replacing the file only when complete. Throws ore::Error for any other ending and for
// the writers' failures.
void saveSensorTable(const std::vector<FigureRow>& rows, const std::string& path);

}  // namespace ore::study
