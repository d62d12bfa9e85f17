#pragma once
// orefrac-batch's command line: what to import, how to analyse, what to write.

#include <optional>
#include <string>
#include <vector>

#include "data/choices.h"
#include "study/sensor_figures.h"

namespace ore::batch {

struct Options {
  std::string workbook;
  std::string sheet = "1";  // texts as typed into the import dialog
  std::string startRow = "2";
  std::string mass = "B";
  std::string content = "C";
  std::string param = "D";
  std::string contents = "1";
  std::vector<std::string> extra;                    // column letters of further contents 1, 2, ...
  PocketBasis pocketBasis = PocketBasis::ByContent;  // --pockets-by content | param
  DistributionKind distributionKind = DistributionKind::Content;  // --distribute content | param
  std::string precision = "0,01";
  std::optional<std::string> limits;  // "L1;L2;..."
  std::optional<char> decimal;        // --decimal; the locale's when absent
  std::optional<std::string> lumpsFile;
  std::optional<std::string> gridFile;
  std::optional<std::string> reportFile;
  std::optional<std::string> graphFile;
  std::optional<std::string> histogramFile;  // .png, .svg or .pdf
  std::optional<std::string> point;          // --point N
  bool noGraph4 = false;
  std::optional<std::string> curveFile;                   // --curve FILE
  bool bestCut = false;                                   // --best-cut
  std::optional<std::string> minGrade;                    // --min-grade X, as typed
  std::optional<std::string> seed;                        // --seed N, as typed
  bool sensor = false;                                    // --sensor
  std::optional<study::ConcentrateSide> concentrateSide;  // --concentrate-side above | below
  std::optional<std::string> cutoffGrade;                 // --cutoff-grade G, as typed
  std::optional<std::string> rocFile;                     // --roc FILE
  // What a cut is worth and the limits on the product, each value as typed.
  bool value = false;                         // --value
  std::vector<std::string> prices;            // --price k=P, repeatable
  std::vector<std::string> plantRecoveries;   // --plant-recovery k=R, repeatable
  std::optional<std::string> costProcess;     // --cost-process X
  std::optional<std::string> costReject;      // --cost-reject X
  std::optional<std::string> costSort;        // --cost-sort X
  std::optional<std::string> valueCurveFile;  // --value-curve FILE
  std::vector<std::string> maxContents;       // --max-content k=X, repeatable
  std::optional<std::string> minRecovery;     // --min-recovery X
  std::optional<std::string> maxYield;        // --max-yield X
  bool help = false;
};

// The usage text printed by --help.
std::string usage();

// Parses argv[1..]; throws ore::Error with a clear message on a bad command line.
Options parseOptions(const std::vector<std::string>& args);

}  // namespace ore::batch
