#pragma once
// The naming rules of a workbook, used alike by the readers, the writer, the automation layer and
// the report window: column letters, text length in characters, sheet names.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ore {

// "A".."Z", "AA".. as the spreadsheet names column col (1-based); "" for col below 1.
std::string columnLetters(std::int64_t col);

// The number of characters of a UTF-8 text (continuation bytes are not counted).
std::size_t utf8Length(std::string_view text);

// Why a text cannot name a sheet, in the order the rules are checked.
enum class SheetNameFault { None, Empty, TooLong, BadCharacter, Apostrophe };
// Empty; longer than 31 characters; holding one of [ ] : * ? / \; beginning or ending with '.
SheetNameFault sheetNameFault(std::string_view name);

// Sheet names are equal without regard to case, Latin and Cyrillic letters folded alike
// ("ОТЧЕТ" names the same sheet as "Отчет").
bool sameSheetName(std::string_view a, std::string_view b);

}  // namespace ore
