// orefrac-batch: the command-line twin of the program's import, analysis, report and diagram.

#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "data/errors.h"

namespace {

// The user's decimal separator, from LC_NUMERIC of the environment (as the program takes it
// from the user's locale at start).
char localeDecimal() {
  if (!std::setlocale(LC_NUMERIC, "")) return '.';
  const char* point = std::localeconv()->decimal_point;
  char sep = (point && std::strlen(point) == 1) ? point[0] : '.';
  std::setlocale(LC_NUMERIC, "C");
  return sep;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    ore::batch::Options options = ore::batch::parseOptions(args);
    if (options.help) {
      std::cout << ore::batch::usage();
      return 0;
    }
    ore::batch::run(options, localeDecimal(), std::cout);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
