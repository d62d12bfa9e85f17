#pragma once
// The separation diagram of the first content, drawn afresh from the results grid's texts.

#include <string_view>

#include "data/number_format.h"
#include "data/text_grid.h"
#include "data/workspace.h"
#include "graph/graph_fields.h"
#include "platform/canvas.h"

namespace ore::graph {

inline constexpr int kDiagramWidth = 665;
inline constexpr int kDiagramHeight = 585;

// What the painting reads, at the moment it paints.
struct DiagramSource {
  const TextGrid& results;     // the results grid, row 0 the headers, rows 1..PocketCount
  const Workspace& ws;         // PocketCount, ContentCount, ShowGraph4
  std::string_view pointText;  // the results window's point-number text
  const NumberFormat& fmt;
};

// Draws the whole diagram on a 665 x 585 canvas, in order: background, frame, axis texts,
// scale labels, the red sample-content line, the grey grid, the curves with their markers
// (graph No. 4 only when ShowGraph4 is 1), the curve letters (only with a point-number text)
// and the axis-title letters; sets the placement fields as it goes. Every value is converted
// from its cell text when it is used. Throws ore::Error where a conversion fails ("'%s' is
// not a valid floating point value", "... integer value"), on a zero upper limit of the last
// pocket ("Floating point division by zero") or a value too large to place; what was drawn
// before stays on the canvas.
void paintDiagram(Canvas& canvas, const DiagramSource& source, GraphFields& fields);

}  // namespace ore::graph
