#pragma once
// The one shared record of the lump data set and the shared settings. Each field names the window
// that owns it; every window gets a reference. Fields are plain: no accessors, no notifications.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/choices.h"
#include "data/zeroed_allocator.h"

namespace ore {

namespace automation {
class Object;
}

// The most contents a data set holds: the content and nine further ones.
inline constexpr int kMaxContentCount = 10;

struct Workspace {
  // --- Lump data set, owner TForm1 (main window). Written by the import only, and by
  // "Перевести данные" (Mass, Content, Param). Arrays hold LumpCount + 1 elements; element 0 is 0.
  std::int32_t LumpCount = 0;
  std::vector<double> Mass;
  std::vector<double> Content;
  std::vector<double> Param;
  // [1]..[9] used; [0] unused. Most data sets have few further contents: the arrays of the
  // others stay zero without taking memory.
  std::array<std::vector<double, ZeroedAllocator<double>>, kMaxContentCount> ExtraContents;

  // Which lump data set the arrays hold: a new number at each import (resizeLumps) and each
  // read-back of the source grid, so that results of an earlier one can be told apart.
  std::uint64_t LumpDataSet = 0;

  // Re-sizes all twelve arrays to n + 1 elements, in the order Mass, Content, Param,
  // ExtraContents[1..9]; values at indices that existed stay, new elements are 0. A new data set.
  void resizeLumps(std::int32_t n);

  // --- Owner TForm6 (import settings dialog).
  ore::PocketBasis PocketBasis = ore::PocketBasis::None;  // ByContent from TForm6 creation
  int StartRow = 0;                                       // set by the import at OK
  int ContentCount = 0;                                   // set by TForm6's timer every second
  std::vector<int> ContentColumns;  // ContentCount + 10 elements, set by the timer

  // --- Owner TForm1 (main window).
  ore::DistributionKind DistributionKind =
      ore::DistributionKind::None;                     // Content from TForm7 creation
  ore::ReportMode ReportMode = ore::ReportMode::None;  // SeparateWorkbook from TForm4 creation
  std::shared_ptr<automation::Object> ReportExcel;     // application of the latest separate export

  // --- Owner TForm2 (calculation parameters dialog).
  std::string PrecisionText;  // as typed, set by its OK button

  // --- Owner TForm3 (pocket parameters window).
  int PocketCount = 0;             // set by TForm2's OK
  double SampleIndex = 0;          // set at the end of each analysis run
  bool SampleIndexDefined = true;  // false when the last run could not define it (G = 0)

  // --- Owner TForm4 (results window).
  std::uint64_t AnalysedDataSet = 0;  // LumpDataSet the results grid was last written from
  ore::ShowGraph4 ShowGraph4 = ore::ShowGraph4::None;  // Show from TForm4 creation
};

}  // namespace ore
