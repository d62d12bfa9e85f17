#include "batch/batch_run.h"
#include "data/errors.h"

namespace ore::batch {

void reportStage(const Options& options, BatchState& state) {
  (void)options;
  (void)state;
  throw Error("Запись отчета (--report) в orefrac-batch пока не реализовано");
}

}  // namespace ore::batch
