#pragma once
// The column letter rule of the import: a column is given by one upper-case Latin letter.

#include <string_view>

namespace ore {

// "A" to "Z" give 1 to 26; any other text (a lower-case letter, two letters, a blank, the empty
// text) gives 0, a column the spreadsheet rejects at its first read.
int columnNumberOf(std::string_view text);

}  // namespace ore
