#include "batch/batch_run.h"
#include "data/errors.h"

namespace ore::batch {

void analysisStage(const Options& options, BatchState& state) {
  (void)options;
  (void)state;
  throw Error("Расчет в orefrac-batch пока не реализовано");
}

}  // namespace ore::batch
