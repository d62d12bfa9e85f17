// What a cut is worth on samples worked by hand: a cut that pays and one that does not, a penalty
// element held by a ceiling, a limit met at a cut's written figure, limits no cut meets, and the
// value's bootstrap interval against resamples summed by hand.

#include "study/cut_value.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "data/errors.h"
#include "study/best_cut.h"
#include "study/bootstrap.h"
#include "study/random_generator.h"
#include "study/value_table.h"
#include "tests/analysis/analysis_fixture.h"

namespace ore::study {
namespace {

using analysis::testing::Lump;
using analysis::testing::makeWorkspace;

const NumberFormat kFmt(',');

Progress& quiet() {
  static Progress p;
  return p;
}

// Keyed on the parameter, two contents.
Lump lump(double key, double mass, double c1, double c2) {
  return Lump{mass, c1, key, {c2}};
}
Workspace sample(const std::vector<Lump>& lumps) {
  return makeWorkspace(lumps, 2, "0,01", PocketBasis::ByContent, DistributionKind::Param);
}

// M = 4, T_1 = 14, T_2 = 7. Cut 1 keeps B and C (W_c 2, Q_1 12, Q_2 7, W_t 2); cut 2 keeps C
// (W_c 1, Q_1 8, Q_2 1, W_t 3); cut 3 keeps nothing (W_t 4).
const std::vector<Lump> kThree = {lump(1, 2, 1, 0), lump(2, 1, 4, 6), lump(3, 1, 8, 1)};

ValueInputs inputs(double p1, double p2, double process, double reject, double sort) {
  ValueInputs in;
  in.price[1] = p1;
  in.price[2] = p2;
  in.costProcess = process;
  in.costReject = reject;
  in.costSort = sort;
  return in;
}

TEST(CutValueTest, HandWorkedValuesAndTheBestCutByValue) {
  const Workspace ws = sample(kThree);
  const SortabilityCurve cv(ws, quiet());
  ASSERT_EQ(cv.cutCount(), 3u);
  CutLimits penalty;
  penalty.maxContent.push_back({2, 2});  // content 2 is 3,5 at cut 1, 1 at cut 2
  ValueInputs halfRecovered = inputs(200, 0, 3, 0.5, 0.25);
  halfRecovered.plantRecovery[1] = 50;  // f_1 = 200 * 50 / 100 / 100 = 1, as a price of 100
  struct Case {
    const char* name;
    ValueInputs in;
    CutLimits limits;
    std::vector<std::string> values;  // V at cuts 1..3
    std::string best, V0, gain;
    bool pays;
  } cases[] = {
      // f_1 = 1: V = (Q_1 - 3 W_c - 0,5 W_t) / 4 - 0,25; V0 = (14 - 3 * 4) / 4.
      {"a cut that pays",
       inputs(100, 0, 3, 0.5, 0.25),
       {},
       {"1", "0,625", "-0,75"},
       "1",
       "0,5",
       "0,5",
       true},
      {"a plant recovery halves the price",
       halfRecovered,
       {},
       {"1", "0,625", "-0,75"},
       "1",
       "0,5",
       "0,5",
       true},
      // Processing at 1: V0 = (14 - 4) / 4 = 2,5 beats every cut.
      {"a cut that does not pay",
       inputs(100, 0, 1, 0.5, 0.25),
       {},
       {"2", "1,125", "-0,75"},
       "1",
       "2,5",
       "-0,5",
       false},
      // Element 2 above 2 % is not taken: the best cut moves up to 2.
      {"a penalty element's ceiling",
       inputs(100, 0, 3, 0.5, 0.25),
       penalty,
       {"1", "0,625", "-0,75"},
       "2",
       "0,5",
       "0,125",
       true},
      // Element 2 priced too: f_2 = 0,5 adds 3,5/4 at cut 1, 0,5/4 at cut 2, 3,5/4 to V0.
      {"two elements priced",
       inputs(100, 50, 3, 0.5, 0.25),
       {},
       {"1,875", "0,75", "-0,75"},
       "1",
       "1,375",
       "0,5",
       true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> values;
    for (std::size_t g = 0; g < cv.cutCount(); ++g)
      values.push_back(kFmt.format(cutValue(cv, c.in, g)));
    EXPECT_EQ(values, c.values) << c.name;
    const BestValueCut best = bestValueCut(cv, c.in, c.limits, kFmt);
    EXPECT_EQ(kFmt.format(best.figures.key), c.best) << c.name;
    EXPECT_EQ(kFmt.format(best.withoutSorting), c.V0) << c.name;
    EXPECT_EQ(kFmt.format(best.gain()), c.gain) << c.name;
    EXPECT_EQ(best.pays(), c.pays) << c.name;
    const auto rows = bestValueRows(best, std::nullopt, kFmt);
    EXPECT_EQ(rows[4].first == kSortingDoesNotPay, !c.pays) << c.name;
  }
}

TEST(CutValueTest, LimitsAreMetAsWrittenAndNamedWhenNoCutMeetsThem) {
  // Cut 1 keeps Y and Z: content 2 is (0,1 + 0,2) / 2, above the double 0,15, written "0,15".
  const Workspace ws = sample({lump(1, 1, 0, 0), lump(2, 1, 5, 0.1), lump(3, 1, 1, 0.2)});
  const SortabilityCurve cv(ws, quiet());
  ASSERT_EQ(kFmt.format(cv.figures(0).concentrateContent[2]), "0,15");
  ASSERT_GT(cv.figures(0).concentrateContent[2], static_cast<long double>(0.15));
  const ValueInputs in = inputs(100, 0, 0, 0, 0);  // V = 2, 1/3, 0
  auto ceiling = [](double x) {
    CutLimits l;
    l.maxContent.push_back({2, x});
    return l;
  };
  // Cut 2's yield, 100/3 in extended precision, is below the double of its written figure.
  CutLimits yield;
  yield.maxYield = 33.3333333333333;
  CutLimits belowYield;
  belowYield.maxYield = 33.333333333333;
  struct Case {
    const char* name;
    CutLimits limits;
    std::string byValue, byE;
  } cases[] = {
      {"the written figure is the ceiling", ceiling(0.15), "1", "1"},
      {"below it only the top cut, nothing kept", ceiling(0.1499999), "3", "3"},
      {"a yield ceiling at the written yield", yield, "2", "3"},  // E is below 0 at cut 2
      {"a yield ceiling just below it", belowYield, "3", "3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kFmt.format(bestValueCut(cv, in, c.limits, kFmt).figures.key), c.byValue) << c.name;
    EXPECT_EQ(kFmt.format(bestCut(cv, c.limits, kFmt).figures.key), c.byE) << c.name;
  }

  // Grade 7 and yield 20 %: cut 1 fails the grade, cut 2 the yield, cut 3 (grade 0) the grade.
  const SortabilityCurve three(sample(kThree), quiet());
  CutLimits none;
  none.minGrade = 7;
  none.maxContent.push_back({2, 0.5});
  none.maxYield = 20;
  const std::string named =
      "Ни одна граница не дает одновременно содержания элемента 1 в концентрате не ниже 7, "
      "содержания элемента 2 в концентрате не выше 0,5 и выхода концентрата не выше 20 %: ";
  try {
    bestValueCut(three, in, none, kFmt);
    ADD_FAILURE() << "no cut meets the limits";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), named + "лучшая граница по стоимости не определена");
  }
  try {
    bestCut(three, none, kFmt);
    ADD_FAILURE() << "no cut meets the limits";
  } catch (const Error& e) {
    EXPECT_EQ(e.what(), named + "лучшая граница не определена");
  }
}

TEST(CutValueTest, TheIntervalIsTheValueOfTheResamplesDrawnByTheSeedRule) {
  const std::vector<Lump> lumps = {lump(1, 2, 1, 0), lump(2, 1, 4, 6), lump(3, 1, 8, 1),
                                   lump(1.5, 3, 2, 2), lump(2.5, 0.5, 6, 3)};
  const Workspace ws = sample(lumps);
  const SortabilityCurve cv(ws, quiet());
  const ValueInputs in = inputs(100, 50, 3, 0.5, 0.25);
  const std::size_t cut = 2;  // key 2: the concentrate holds the lumps of key 2,5 and 3
  ASSERT_EQ(cv.key(cut), 2);
  BootstrapSettings settings;
  settings.resamples = 5;  // the interval is then the smallest and the largest of five
  settings.seed = 42;
  // Each resample summed by hand from the same draws, which pick places in key order.
  std::vector<Lump> places = lumps;
  std::stable_sort(places.begin(), places.end(),
                   [](const Lump& a, const Lump& b) { return a.param < b.param; });
  std::vector<long double> expected;
  for (int r = 0; r < settings.resamples; ++r) {
    RandomGenerator gen(settings.seed, static_cast<std::uint64_t>(r));
    long double worth = 0, Wc = 0, Wt = 0;
    for (std::size_t t = 0; t < lumps.size(); ++t) {
      const Lump& l = places[gen.below(places.size())];
      if (l.param <= 2) {
        Wt += l.mass;
      } else {
        Wc += l.mass;
        worth += in.factor(1) * l.mass * l.content + in.factor(2) * l.mass * l.extra[0];
      }
    }
    expected.push_back((worth - 3 * Wc - 0.5L * Wt) / (Wt + Wc) - 0.25L);
  }
  for (unsigned threads : {1u, 3u}) {
    settings.threads = threads;
    const ValueInterval v =
        bootstrapCutValue(cv, cut, placeValues(cv, ws, in), in, settings, quiet());
    EXPECT_EQ(kFmt.format(v.low), kFmt.format(*std::min_element(expected.begin(), expected.end())))
        << threads;
    EXPECT_EQ(kFmt.format(v.high), kFmt.format(*std::max_element(expected.begin(), expected.end())))
        << threads;
  }
}

}  // namespace
}  // namespace ore::study
