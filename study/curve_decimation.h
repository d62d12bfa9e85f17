#pragma once
// Thinning a curve of many points to what a screen of some columns can show: per pixel column the
// first, lowest, highest and last point, so the drawn line looks as the full one would.

#include <cstddef>
#include <vector>

namespace ore::study {

// The indices (ascending) of the points of (x[i], y[i]), i < n, to draw when x0..x1 spans
// `columns` pixel columns. Consecutive points in one column form a run; a run keeps its first,
// lowest, highest and last point. With x monotonic that is at most four points a column; points
// outside x0..x1 fall in the edge columns. Non-finite points are kept and break runs. columns
// below 1 count as 1; with x1 <= x0 every point lies in one column.
std::vector<std::size_t> decimateCurve(const double* x, const double* y, std::size_t n, double x0,
                                       double x1, int columns);

}  // namespace ore::study
