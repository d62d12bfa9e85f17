#include "import/source_read_back.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "data/errors.h"

namespace ore {
namespace {

// A grid of doubles reads back exactly as its texts do: the double when its text holds all of
// it, the text's own number otherwise (negative zero, sixteen digits and more, subnormals).
TEST(SourceReadBackTest, NumbersReadBackAsTheirTextsDo) {
  std::mt19937_64 rnd(11);
  std::vector<double> values = {-0.0,
                                0.0,
                                1e15,
                                123456789012345.6,
                                0.1 + 0.2,
                                5e-324,
                                2.2250738585072014e-308,
                                std::numeric_limits<double>::max(),
                                1e-5,
                                -7.25,
                                1e300};
  for (int i = 0; i < 20000; ++i) {
    values.push_back(std::bit_cast<double>(rnd()));  // anything, NaN and infinities skipped below
    // Decimals of one to seventeen digits, as measurements and computed values look.
    const int digits = 1 + static_cast<int>(rnd() % 17);
    double v = static_cast<double>(rnd() % 100000000000000000ull);
    values.push_back(v / std::pow(10.0, static_cast<double>(rnd() % (digits + 3))));
  }
  const NumberFormat fmt(',');
  for (char gridSep : {',', '.'}) {
    const NumberFormat gridFmt(gridSep);
    Workspace ws;
    ws.PocketBasis = PocketBasis::ByParam;
    std::vector<double> shown;
    for (double v : values)
      if (std::isfinite(v)) shown.push_back(v);
    ws.LumpCount = static_cast<std::int32_t>(shown.size());
    ws.resizeLumps(ws.LumpCount);
    TextGrid grid(4, ws.LumpCount + 1);
    for (int r = 1; r <= ws.LumpCount; ++r)
      for (int c = 1; c <= 3; ++c) grid.setNumber(c, r, shown[static_cast<size_t>(r - 1)], gridFmt);
    if (gridSep != ',') {  // texts the grid's own way: "2.5" is no number with a comma
      EXPECT_THROW(readBackSourceGrid(grid, fmt, ws), ConversionError);
      continue;
    }
    readBackSourceGrid(grid, fmt, ws);
    for (int r = 1; r <= ws.LumpCount; ++r) {
      const double expected = fmt.parseReal(grid.cell(1, r));
      ASSERT_EQ(std::bit_cast<std::uint64_t>(ws.Mass[r]), std::bit_cast<std::uint64_t>(expected))
          << grid.cell(1, r);
      ASSERT_EQ(std::bit_cast<std::uint64_t>(ws.Param[r]), std::bit_cast<std::uint64_t>(expected));
    }
    // The same without the grid, from the arrays themselves.
    Workspace direct;
    direct.PocketBasis = PocketBasis::ByParam;
    direct.LumpCount = ws.LumpCount;
    direct.resizeLumps(direct.LumpCount);
    for (int r = 1; r <= ws.LumpCount; ++r)
      direct.Mass[r] = direct.Content[r] = direct.Param[r] = shown[static_cast<size_t>(r - 1)];
    readBackLumps(fmt, direct);
    for (int r = 1; r <= ws.LumpCount; ++r)
      for (std::vector<double> Workspace::*a :
           {&Workspace::Mass, &Workspace::Content, &Workspace::Param})
        ASSERT_EQ(std::bit_cast<std::uint64_t>((direct.*a)[r]),
                  std::bit_cast<std::uint64_t>((ws.*a)[r]))
            << grid.cell(1, r);
  }
}

}  // namespace
}  // namespace ore
