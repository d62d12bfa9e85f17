#pragma once
// One run of the fraction analysis ("Далее"): pockets, tails and concentrate, the sample index
// and the rounding pass, written as text into the results grid.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/histogram_point.h"
#include "data/number_format.h"
#include "data/progress.h"
#include "data/text_grid.h"
#include "data/workspace.h"

namespace ore::analysis {

// What a run does on the windows, called at its steps in the run's order. A run that fails
// leaves whatever the calls before the failure did.
class AnalysisView {
 public:
  virtual ~AnalysisView() = default;
  // Once the settings and the lumps pass their checks, before anything is written.
  virtual void showResultsWindows() {}
  // After the pockets, tails and concentrate are written: one bar per pocket.
  virtual void setHistogram(const std::vector<HistogramPoint>& /*points*/) {}
  // Right after the histogram, before the sample index is computed.
  virtual void showLabel() {}
  // After the sample index and the rounding pass: the summary label text.
  virtual void setLabel(const std::string& /*text*/) {}
  // Last: the number of bars the chart shows per page.
  virtual void setPointsPerPage(int /*points*/) {}
  // After the label: what the run has to say about its pockets (pocketNotes), none when all is
  // well.
  virtual void setNotes(const std::vector<std::string>& /*lines*/) {}
};

struct AnalysisOutcome {
  std::string label;
  double sampleIndex = 0;
  std::vector<HistogramPoint> histogram;
  bool indexDefined = true;  // false: G was 0, the label says "не определен", sampleIndex is 0
  int pointsPerPage = 0;
  double outsideLumps = 0;         // lumps that fell into no pocket
  double outsideMassShare = 0;     // their share of the sample's mass, per cent
  bool limitsFall = false;         // some limit lies below the one before it
  std::vector<std::string> notes;  // pocketNotes of this run
};

// Runs the analysis over ws (LumpCount, the arrays, ContentCount, PocketCount, DistributionKind,
// PocketBasis, PrecisionText), reading limits from column 1 of pocketTable and writing results
// (body rows only; row 0 belongs to the results window). Stores ws.SampleIndex at the end.
// Throws ore::Error on failure, leaving the partial state the run had reached.
//
// Settings the run cannot work with are refused before anything is shown or written, with a
// message saying why: PocketCount below 1, ContentCount outside 1..10, an unknown PrecisionText,
// no PocketBasis or DistributionKind chosen (or a value outside the enum), arrays shorter than
// LumpCount + 1, and a total mass of 0 (or beyond the range of numbers) with lumps present.
// A limit that does not convert stops the run where it is first needed (distribution or
// rounding pass) with the conversion error. When the average G is 0 with lumps present the run
// completes, the label reads "M= не определен" (or "П= ..."), ws.SampleIndex is set to 0 and
// ws.SampleIndexDefined to false (true after every run that defines the index).
//
// progress, when given, hears how many lumps the distribution has summed; a stop it asks for
// ends the run with WorkStopped, the state left as by a failure at that point.
AnalysisOutcome runFractionAnalysis(Workspace& ws, const TextGrid& pocketTable, TextGrid& results,
                                    const NumberFormat& fmt, AnalysisView& view,
                                    Progress* progress = nullptr);

// "Вне карманов: 110 из 120 кусков, 92 % массы": the lumps that fell into no pocket, their mass
// share in whole per cent (halves up); a share that is not 0 but would read 0 reads "менее 1", one
// that is not 100 but would read 100 reads "более 99".
std::string outsideNote(double lumps, std::int32_t lumpCount, double massShare,
                        const NumberFormat& fmt);
// What a run has to say about its pockets, a line each: outsideNote when some lump fell into no
// pocket, and "Границы карманов не возрастают: кусок может попасть в несколько карманов" when
// limitsFall. Equal limits only leave a pocket empty and are not mentioned.
std::vector<std::string> pocketNotes(const AnalysisOutcome& out, std::int32_t lumpCount,
                                     const NumberFormat& fmt);
// The label text of a run: "Число кусков  n=" n, seven blanks, "M=" (PocketBasis::ByContent) or
// "П=" (ByParam) and the index, or " не определен" in its place.
std::string summaryLabel(PocketBasis pocketBasis, std::int32_t lumpCount, double index,
                         bool defined, const NumberFormat& fmt);

}  // namespace ore::analysis
