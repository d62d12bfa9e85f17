#include "batch/batch_run.h"
#include "data/errors.h"

namespace ore::batch {

void graphStage(const Options& options, BatchState& state) {
  (void)options;
  (void)state;
  throw Error("Построение графика (--graph) в orefrac-batch пока не реализовано");
}

}  // namespace ore::batch
