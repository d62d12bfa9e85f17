#include "study/sensor_figures.h"

#include <algorithm>
#include <cmath>

#include "study/figure_rules.h"
#include "study/radix_sort.h"

namespace ore::study {

namespace {

long double quotient(long double a, long double b) {
  return b != 0 ? a / b : 0.0L;
}

// Lumps 1..n in ascending order of sign * v[i]; lumps of equal value keep their data-set order.
std::vector<Place> orderOf(const double* v, std::int32_t n, double sign) {
  std::vector<Place> order(static_cast<std::size_t>(n));
  for (std::int32_t i = 1; i <= n; ++i) order[i - 1] = {orderedBits(sign * v[i]), i};
  sortByKey(order);
  return order;
}

// 1-based ranks of v[1..n] into rank[1..n], tied values sharing the average of their ranks.
// Returns false when every value is tied.
bool ranks(const double* v, std::int32_t n, std::vector<double>& rank) {
  const std::vector<Place> order = orderOf(v, n, 1.0);
  rank.assign(static_cast<std::size_t>(n) + 1, 0.0);
  std::size_t a = 0;
  while (a < order.size()) {
    std::size_t b = a + 1;
    while (b < order.size() && order[b].bits == order[a].bits) ++b;
    const double r = (static_cast<double>(a + 1) + static_cast<double>(b)) / 2;  // exact: halves
    for (std::size_t u = a; u < b; ++u) rank[order[u].lump] = r;
    if (a == 0 && b == order.size()) return false;
    a = b;
  }
  return true;
}

bool allEqual(const double* v, std::int32_t n) {
  for (std::int32_t i = 2; i <= n; ++i)
    if (v[i] != v[1]) return false;
  return true;
}

struct Moments {
  long double sxx = 0, syy = 0, sxy = 0, meanX = 0, meanY = 0;
};

// Sums of squares and products about the means, the means first: one pass for each. A column
// without spread has its own value as its mean: the quotient of its sum need not be.
template <class X, class Y>
Moments moments(const X& x, const Y& y, std::int32_t n, bool xSpread, bool ySpread) {
  Moments s;
  for (std::int32_t i = 1; i <= n; ++i) {
    s.meanX += x[i];
    s.meanY += y[i];
  }
  s.meanX = xSpread ? s.meanX / n : x[1];
  s.meanY = ySpread ? s.meanY / n : y[1];
  for (std::int32_t i = 1; i <= n; ++i) {
    const long double dx = x[i] - s.meanX, dy = y[i] - s.meanY;
    s.sxx += dx * dx;
    s.syy += dy * dy;
    s.sxy += dx * dy;
  }
  return s;
}

}  // namespace

Calibration calibrate(const double* x, const double* y, std::int32_t n, Progress& progress) {
  Calibration c;
  if (n <= 0) return c;
  progress.report(0, 3);
  const bool xSpread = !allEqual(x, n), ySpread = !allEqual(y, n);
  const Moments s = moments(x, y, n, xSpread, ySpread);
  if (xSpread) {
    c.lineDefined = true;
    c.slope = s.sxy / s.sxx;
    c.intercept = s.meanY - c.slope * s.meanX;
  }
  if (xSpread && ySpread) {
    c.r2Defined = true;
    c.r2 = s.sxy * s.sxy / (s.sxx * s.syy);
  }
  progress.checkStop();
  progress.report(1, 3);
  std::vector<double> rx, ry;
  const bool rankedX = ranks(x, n, rx);
  progress.checkStop();
  progress.report(2, 3);
  const bool rankedY = ranks(y, n, ry);
  if (rankedX && rankedY) {
    const Moments r = moments(rx, ry, n, true, true);
    c.spearmanDefined = true;
    c.spearman = r.sxy / std::sqrt(r.sxx * r.syy);
  }
  progress.report(3, 3);
  return c;
}

void RocCurve::add(double cut, std::int32_t oreIn, std::int32_t wasteIn, long double oreMassIn,
                   long double wasteMassIn) {
  cut_.push_back(cut);
  oreIn_.push_back(oreIn);
  wasteIn_.push_back(wasteIn);
  oreMassIn_.push_back(oreMassIn);
  wasteMassIn_.push_back(wasteMassIn);
}

RocPoint RocCurve::point(std::size_t i) const {
  RocPoint p;
  p.cut = cut_[i];
  p.orePassed = quotient(oreIn_[i], ore_);
  p.wastePassed = quotient(wasteIn_[i], waste_);
  p.oreMassPassed = quotient(oreMassIn_[i], oreMass_);
  p.wasteMassPassed = quotient(wasteMassIn_[i], wasteMass_);
  return p;
}

OreWaste oreWaste(const double* p, const double* m, const double* c, std::int32_t n,
                  ConcentrateSide side, double grade, Progress& progress) {
  OreWaste r;
  r.cutoffGrade = grade;
  r.lumps = n;
  const double sign = side == ConcentrateSide::Below ? -1.0 : 1.0;
  const std::vector<Place> order = orderOf(p, n, sign);
  progress.checkStop();

  // The cuts' groups of equal key, from the top down: what each cut accepts is what lies above
  // its group, so the sums run over the accepted lumps themselves.
  std::vector<std::size_t> groupEnd;  // one past each group's last place, ascending
  for (std::size_t u = 0; u < order.size(); ++u)
    if (u + 1 == order.size() || order[u + 1].bits != order[u].bits) groupEnd.push_back(u + 1);
  const std::size_t cuts = groupEnd.size();
  // Each lump's class and mass in key order, gathered in one pass of loads that do not wait on
  // each other; the sums below then read them in sequence, without a branch on the class.
  std::vector<double> placeMass(order.size());
  std::vector<unsigned char> placeOre(order.size());
  for (std::size_t u = 0; u < order.size(); ++u) {
    const std::int32_t i = order[u].lump;
    placeMass[u] = m[i];
    placeOre[u] = c[i] >= grade;
  }
  std::vector<std::int32_t> oreIn(cuts), wasteIn(cuts);
  std::vector<long double> oreMassIn(cuts), wasteMassIn(cuts);
  std::int32_t ore = 0, waste = 0;
  long double oreMass = 0, wasteMass = 0;
  for (std::size_t g = cuts; g-- > 0;) {
    oreIn[g] = ore;
    wasteIn[g] = waste;
    oreMassIn[g] = oreMass;
    wasteMassIn[g] = wasteMass;
    for (std::size_t u = g ? groupEnd[g - 1] : 0; u < groupEnd[g]; ++u) {
      // Adding 0 leaves a sum as it is: the sums are those of the class's own masses, in order.
      const bool isOre = placeOre[u];
      const double mass = placeMass[u];
      ore += isOre;
      waste += !isOre;
      oreMass += isOre ? mass : 0.0;
      wasteMass += isOre ? 0.0 : mass;
    }
    if ((g & 0xFFFF) == 0) {
      progress.report(cuts - g, cuts);
      progress.checkStop();
    }
  }
  r.oreLumps = ore;
  r.oreMassShare = quotient(oreMass, oreMass + wasteMass) * 100;
  r.roc = RocCurve(ore, waste, oreMass, wasteMass);
  for (std::size_t g = 0; g < cuts; ++g) {
    const double key = keyOfBits(order[groupEnd[g] - 1].bits);
    r.roc.add(sign * key + 0.0, oreIn[g], wasteIn[g], oreMassIn[g], wasteMassIn[g]);
  }
  if (ore == 0 || waste == 0) return r;

  // The trapezoids from (1, 1) through every cut. By count the sum is a whole number over 2PN.
  r.defined = true;
  unsigned __int128 twiceArea = 0;
  long double massArea = 0;
  std::int64_t prevOre = ore, prevWaste = waste;
  long double prevOreMass = oreMass, prevWasteMass = wasteMass;
  for (std::size_t g = 0; g < cuts; ++g) {
    twiceArea += static_cast<unsigned __int128>(prevWaste - wasteIn[g]) *
                 static_cast<unsigned __int128>(prevOre + oreIn[g]);
    massArea += (prevWasteMass - wasteMassIn[g]) * (prevOreMass + oreMassIn[g]);
    prevOre = oreIn[g];
    prevWaste = wasteIn[g];
    prevOreMass = oreMassIn[g];
    prevWasteMass = wasteMassIn[g];
  }
  const std::size_t youden =
      *bestInKeyOrder(cuts, [&](std::size_t g) -> std::optional<long double> {
        // The shares as RocCurve::point forms them, without the two by mass.
        return quotient(oreIn[g], ore) - quotient(wasteIn[g], waste);
      });
  const RocPoint pt = r.roc.point(youden);
  r.youdenCut = pt.cut;
  r.sensitivity = 100 * pt.orePassed;
  r.specificity = 100 * (1 - pt.wastePassed);
  r.aucCount = static_cast<long double>(twiceArea) / (2.0L * ore * static_cast<long double>(waste));
  if (oreMass > 0 && wasteMass > 0) {
    r.aucMassDefined = true;
    r.aucMass = massArea / (2 * oreMass * wasteMass);
  }
  return r;
}

}  // namespace ore::study
