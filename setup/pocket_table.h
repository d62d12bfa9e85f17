#pragma once
// What "ОK >>>" of the calculation parameters dialog checks and prepares: the precision texts the
// rounding pass knows, the accepted range of the pocket count, and the pocket table's layout.

#include <array>
#include <string>
#include <string_view>

#include "data/number_format.h"
#include "data/text_grid.h"

namespace ore::setup {

// The precision texts the rounding pass recognises, coarsest first; nothing else is accepted.
inline constexpr std::array<std::string_view, 7> kPrecisionTexts = {
    "1", "0,1", "0,01", "0,001", "0,0001", "0,00001", "0,000001"};

// More pockets than this make a table nobody can read and a run that takes hours; far beyond it
// the table and the results grid would no longer fit in memory.
inline constexpr int kMaxPocketCount = 10000;

// Throws Error naming the text and listing the seven accepted texts when text is none of them
// (compared exactly, blanks included).
void checkPrecisionText(const std::string& text);

// Throws Error when count is below 1 or above kMaxPocketCount.
void checkPocketCount(int count);

// Lays the pocket table out for count pockets: 2 columns, count + 1 rows, the numbers 1..count in
// column 0 of rows 1..count and "Карман" in cell (1, 0). Limits already typed in column 1 stay in
// the rows that remain. count must have passed checkPocketCount.
void preparePocketTable(TextGrid& table, int count, const NumberFormat& fmt);

}  // namespace ore::setup
