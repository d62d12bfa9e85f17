#pragma once
// A content axis drawn beside a percent axis of 0..100 in five ticks (0, 25, 50, 75, 100): the
// same five ticks, so the grid lines of both axes coincide, ending at the first round value at or
// above the largest content (500 for 500, 1,2 for 1,13).

#include <QValueAxis>
#include <cmath>

namespace ore::gui {

inline void setContentRange(QValueAxis* axis, double top) {
  double end = 1;
  if (top > 0 && std::isfinite(top)) {
    const double unit = std::pow(10.0, std::floor(std::log10(top)));
    end = 10 * unit;
    for (double f : {1.0, 1.2, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0})
      if (f * unit >= top * (1 - 1e-12)) {
        end = f * unit;
        break;
      }
  }
  axis->setRange(0, end);
  axis->setTickCount(5);
}

}  // namespace ore::gui
