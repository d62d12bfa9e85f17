#pragma once
// The batch pipeline: import, analysis, report and diagram without windows.

#include <ostream>
#include <string>

#include "analysis/fraction_analysis.h"
#include "batch/batch_options.h"
#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"

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
};

// Each stage throws ore::Error with the message the program would show.
void importStage(const Options& options, BatchState& state);     // batch_import.cpp
void analysisStage(const Options& options, BatchState& state);   // batch_analysis.cpp
void reportStage(const Options& options, BatchState& state);     // batch_report.cpp
void graphStage(const Options& options, BatchState& state);      // batch_graph.cpp
void histogramStage(const Options& options, BatchState& state);  // batch_histogram.cpp

// Writes a grid as tab-separated cell texts, one line per row; "-" is standard output.
void writeGridTsv(const TextGrid& grid, const std::string& file, std::ostream& stdoutStream);

// Runs the whole pipeline; the label text goes to out. Throws ore::Error on any failure.
void run(const Options& options, char localeDecimal, std::ostream& out);

}  // namespace ore::batch
