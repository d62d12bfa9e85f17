#include "study/curve_decimation.h"

#include <algorithm>
#include <cmath>

namespace ore::study {

std::vector<std::size_t> decimateCurve(const double* x, const double* y, std::size_t n, double x0,
                                       double x1, int columns) {
  columns = std::max(columns, 1);
  const double scale = x1 > x0 ? columns / (x1 - x0) : 0;
  auto column = [&](double v) -> long {
    if (!std::isfinite(v)) return -1;
    const double c = std::floor((v - x0) * scale);
    return static_cast<long>(std::clamp(c, 0.0, static_cast<double>(columns - 1)));
  };
  std::vector<std::size_t> keep;
  std::size_t i = 0;
  while (i < n) {
    const long col = column(x[i]);
    std::size_t end = i + 1;
    if (col >= 0 && std::isfinite(y[i]))
      while (end < n && column(x[end]) == col && std::isfinite(y[end])) ++end;
    std::size_t lo = i, hi = i;
    for (std::size_t k = i + 1; k < end; ++k) {
      if (y[k] < y[lo]) lo = k;
      if (y[k] > y[hi]) hi = k;
    }
    std::size_t run[4] = {i, lo, hi, end - 1};
    std::sort(run, run + 4);
    for (std::size_t k = 0; k < 4; ++k)
      if (keep.empty() || keep.back() != run[k]) keep.push_back(run[k]);
    i = end;
  }
  return keep;
}

}  // namespace ore::study
