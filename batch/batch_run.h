#pragma once
// The batch pipeline: import, analysis, report and diagram without windows.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "analysis/fraction_analysis.h"
#include "batch/batch_options.h"
#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "data/workspace.h"
#include "platform/spreadsheet/automation.h"
#include "study/cut_limits.h"
#include "study/cut_value.h"
#include "study/sensor_study.h"

namespace ore::batch {

// What the pipeline's stages hand on to each other: the windows' state without the windows.
struct BatchState {
  explicit BatchState(char decimal) : fmt(decimal) {}
  Workspace ws;
  NumberFormat fmt;
  TextGrid sourceGrid;                              // the main window's source-data grid
  TextGrid pocketTable;                             // the pocket parameters table
  TextGrid results;                                 // the results grid, header row included
  std::string label;                                // the summary label
  std::vector<analysis::HistogramPoint> histogram;  // the histogram window's bars
  // What makes the import's application: no windows follow it here.
  automation::ObjectFactory objects = automation::createObject;
  Progress* progress = nullptr;  // hears the long stages; nullptr: nobody
};

// Each stage throws ore::Error with the message the program would show.
void importStage(const Options& options, BatchState& state);     // batch_import.cpp
void analysisStage(const Options& options, BatchState& state);   // batch_analysis.cpp
void reportStage(const Options& options, BatchState& state);     // batch_report.cpp
void graphStage(const Options& options, BatchState& state);      // batch_graph.cpp
void histogramStage(const Options& options, BatchState& state);  // batch_histogram.cpp

// An option of the form k=X, converted: its element number is checked against the contents only
// once they are imported.
struct ElementOption {
  const char* option;
  std::string text;  // as typed
  int element = 0;
  double figure = 0;
};

// --min-grade and --seed converted with the program's number rules; throws ore::Error.
struct SortabilityRequest {
  std::optional<double> minGrade;
  std::uint64_t seed = 1;
  // The limits on the product (minGrade among them) and what a cut is worth (batch_value.cpp).
  study::CutLimits limits;
  std::vector<ElementOption> prices, plantRecoveries, maxContents;
  study::ValueInputs value;
};
SortabilityRequest sortabilityRequest(const Options& options, const NumberFormat& fmt);
// The limits and --value's inputs converted into request; throws ore::Error naming the option.
void valueRequest(const Options& options, const NumberFormat& fmt, SortabilityRequest& request);
// The element numbers of request checked against C contents, and the k=X options put into the
// limits and the value inputs; throws ore::Error naming the option.
void applyElementOptions(SortabilityRequest& request, int C);
// --value and --value-curve on the curve built (batch_value.cpp); the lines go to out.
void valueStage(const Options& options, const SortabilityRequest& request,
                const study::SortabilityCurve& curve, const BatchState& state, std::ostream& out);
// --curve and --best-cut (batch_sortability.cpp); the best cut's lines go to out.
void sortabilityStage(const Options& options, const SortabilityRequest& request, BatchState& state,
                      std::ostream& out);

// --concentrate-side and --cutoff-grade converted with the program's number rules; throws
// ore::Error naming the option.
study::SensorSettings sensorRequest(const Options& options, const NumberFormat& fmt);
// --sensor and --roc (batch_sensor.cpp): the figures one a line to out, "label: value".
void sensorStage(const Options& options, const study::SensorSettings& settings, BatchState& state,
                 std::ostream& out);

// Writes a grid as tab-separated cell texts, one line per row; "-" is standard output. A file is
// replaced only when complete; a failed write throws ore::Error with the system's reason.
void writeGridTsv(const TextGrid& grid, const std::string& file, std::ostream& stdoutStream);

// "Ошибка записи в стандартный вывод", with the system's reason when err is not 0.
std::string stdoutFailure(int err);

// Runs the whole pipeline; the label text goes to out. Throws ore::Error on any failure.
// progress, when given, hears how far the long stages have come.
void run(const Options& options, char localeDecimal, std::ostream& out,
         Progress* progress = nullptr);

}  // namespace ore::batch
