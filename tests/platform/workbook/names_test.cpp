#include "platform/workbook/names.h"

#include <gtest/gtest.h>

#include <tuple>

namespace ore {
namespace {

TEST(NamesTest, ColumnLettersAndLengths) {
  const std::pair<std::int64_t, const char*> columns[] = {
      {0, ""},    {1, "A"},    {26, "Z"},    {27, "AA"},    {52, "AZ"},
      {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const auto& [col, letters] : columns) EXPECT_EQ(columnLetters(col), letters) << col;
  EXPECT_EQ(utf8Length(""), 0u);
  EXPECT_EQ(utf8Length("Лист1"), 5u);
  EXPECT_EQ(utf8Length("a€😀"), 3u);
}

TEST(NamesTest, SheetNameRulesForRenameAddAndSave) {
  const std::string letters31 = "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
  const std::pair<std::string, SheetNameFault> names[] = {
      {"Отчет", SheetNameFault::None},
      {letters31, SheetNameFault::None},
      {"", SheetNameFault::Empty},
      {letters31 + "Ж", SheetNameFault::TooLong},
      {"a:b", SheetNameFault::BadCharacter},
      {"итог [1]", SheetNameFault::BadCharacter},
      {"a/b", SheetNameFault::BadCharacter},
      {"'Отчет", SheetNameFault::Apostrophe},
      {"Отчет'", SheetNameFault::Apostrophe},
      {"От'чет", SheetNameFault::None},
  };
  for (const auto& [name, fault] : names) EXPECT_EQ(sheetNameFault(name), fault) << name;

  const std::tuple<const char*, const char*, bool> pairs[] = {
      {"ОТЧЕТ", "Отчет", true}, {"Лист1", "лист1", true},  {"SHEET", "sheet", true},
      {"ЁЖИК", "ёжик", true},   {"Отчет", "Отчёт", false}, {"Отчет", "Отчет1", false},
      {"Лист", "Lист", false},
  };
  for (const auto& [a, b, same] : pairs) {
    EXPECT_EQ(sameSheetName(a, b), same) << a << " / " << b;
    EXPECT_EQ(sameSheetName(b, a), same) << b << " / " << a;
  }
}

}  // namespace
}  // namespace ore
