#include "batch/batch_run.h"
#include "data/errors.h"

namespace ore::batch {

void importStage(const Options& options, BatchState& state) {
  (void)options;
  (void)state;
  throw Error("Чтение рабочих книг в orefrac-batch пока не реализовано");
}

}  // namespace ore::batch
