#pragma once
// Which number formats show a cell as a date or a time.

#include <cstdint>
#include <string_view>

namespace ore::reader {

// Built-in number formats that show dates or times (14-22, 45-47 and the East Asian 27-36,
// 50-58).
bool isBuiltinDateFormat(std::uint64_t id);
// A custom format code that shows a date or a time: a y, m, d, h or s outside quoted text,
// brackets ([Red], [$-419]) and escaped characters.
bool isDateFormatCode(std::string_view code);

}  // namespace ore::reader
