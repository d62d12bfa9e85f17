#include "batch/batch_run.h"

#include "data/errors.h"
#include "data/number_format.h"
#include "data/workspace.h"

namespace ore::batch {

void run(const Options& options, char localeDecimal, std::ostream& out) {
  (void)out;
  NumberFormat fmt(options.decimal.value_or(localeDecimal));
  (void)fmt;
  Workspace ws;
  (void)ws;
  throw Error("Чтение рабочих книг в orefrac-batch пока не реализовано");
}

}  // namespace ore::batch
