#pragma once
// The four choices the windows make, with the values the program gives them; 0 (None) is a choice
// not made yet, which the work refuses.

namespace ore {

// Whether the pockets and the sample index go by the content or by the parameter (TForm6).
enum class PocketBasis { None = 0, ByContent = 2, ByParam = 3 };

// Whether the lumps are distributed by their content or by their parameter (TForm7).
enum class DistributionKind { None = 0, Content = 1, Param = 2 };

// Whether a report goes into a workbook of its own or below the last one (TForm4).
enum class ReportMode { None = 0, SeparateWorkbook = 1, SameWorkbook = 2 };

// Whether the diagram shows graph No. 4 (TForm4).
enum class ShowGraph4 { None = 0, Show = 1, Hide = 2 };

}  // namespace ore
