#include "setup/pocket_table.h"

#include <gtest/gtest.h>

#include "data/errors.h"
#include "data/precision.h"

namespace ore::setup {
namespace {

TEST(PrecisionTextTest, AcceptsExactlyTheSevenTexts) {
  for (const char* t : {"1", "0,1", "0,01", "0,001", "0,0001", "0,00001", "0,000001"})
    EXPECT_NO_THROW(checkPrecisionText(t)) << t;
  for (const char* t : {"", "0.01", " 0,01", "0,01 ", "0,010", "0,02", "1,0", "0,0000001", "10"})
    EXPECT_THROW(checkPrecisionText(t), Error) << '"' << t << '"';
}

TEST(PocketCountTest, AcceptsOneToTheMaximum) {
  struct Case {
    int count;
    bool ok;
  };
  for (Case c : {Case{1, true},
                 {5, true},
                 {kMaxPocketCount, true},
                 {0, false},
                 {-1, false},
                 {kMaxPocketCount + 1, false},
                 {2147483647, false}}) {
    if (c.ok)
      EXPECT_NO_THROW(checkPocketCount(c.count)) << c.count;
    else
      EXPECT_THROW(checkPocketCount(c.count), Error) << c.count;
  }
}

}  // namespace
}  // namespace ore::setup
