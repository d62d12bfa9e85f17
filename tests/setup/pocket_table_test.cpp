#include "setup/pocket_table.h"

#include <gtest/gtest.h>

#include "data/errors.h"

namespace ore::setup {
namespace {

TEST(PrecisionTextTest, AcceptsExactlyTheSevenTexts) {
  for (const char* t : {"1", "0,1", "0,01", "0,001", "0,0001", "0,00001", "0,000001"})
    EXPECT_NO_THROW(checkPrecisionText(t)) << t;
  for (const char* t : {"", "0.01", " 0,01", "0,01 ", "0,010", "0,02", "1,0", "0,0000001", "10"})
    EXPECT_THROW(checkPrecisionText(t), Error) << '"' << t << '"';
}

TEST(PrecisionTextTest, MessageNamesTheTextAndListsTheAcceptedOnes) {
  try {
    checkPrecisionText("0,02");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Точность составляемой таблицы «0,02» не поддерживается. Допустимые значения: 1; "
                 "0,1; 0,01; 0,001; 0,0001; 0,00001; 0,000001");
  }
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
  try {
    checkPocketCount(0);
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Количество карманов должно быть целым числом от 1 до 10000 (введено 0)");
  }
}

TEST(PocketTableTest, LaysOutTheTableAndKeepsTypedLimits) {
  NumberFormat fmt(',');
  TextGrid t;
  preparePocketTable(t, 5, fmt);
  ASSERT_EQ(t.colCount(), 2);
  ASSERT_EQ(t.rowCount(), 6);
  EXPECT_EQ(t.cell(0, 0), "");
  EXPECT_EQ(t.cell(1, 0), "Карман");
  for (int r = 1; r <= 5; ++r) {
    EXPECT_EQ(t.cell(0, r), std::to_string(r));
    t.setCell(1, r, "0," + std::to_string(r));
  }
  preparePocketTable(t, 3, fmt);
  ASSERT_EQ(t.rowCount(), 4);
  for (int r = 1; r <= 3; ++r) EXPECT_EQ(t.cell(1, r), "0," + std::to_string(r));
  // Rows that come back start empty: the limits of the dropped rows are gone.
  preparePocketTable(t, 5, fmt);
  EXPECT_EQ(t.cell(1, 4), "");
  EXPECT_EQ(t.cell(0, 4), "4");
}

}  // namespace
}  // namespace ore::setup
