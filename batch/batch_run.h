#pragma once
// The batch pipeline: import, analysis, report and diagram without windows.

#include <ostream>

#include "batch/batch_options.h"

namespace ore::batch {

// Runs the whole pipeline; the label text goes to out. Throws ore::Error on any failure.
void run(const Options& options, char localeDecimal, std::ostream& out);

}  // namespace ore::batch
