#include "import/column_letter.h"

namespace ore {

int columnNumberOf(std::string_view text) {
  if (text.size() != 1 || text[0] < 'A' || text[0] > 'Z') return 0;
  return text[0] - 'A' + 1;
}

}  // namespace ore
