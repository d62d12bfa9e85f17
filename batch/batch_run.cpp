#include "batch/batch_run.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "data/errors.h"

namespace ore::batch {

void writeGridTsv(const TextGrid& grid, const std::string& file, std::ostream& stdoutStream) {
  std::ofstream f;
  std::ostream* os = &stdoutStream;
  if (file != "-") {
    f.open(file, std::ios::binary | std::ios::trunc);
    if (!f) throw Error("Не удается создать файл " + file + ": " + std::strerror(errno));
    os = &f;
  }
  for (int r = 0; r < grid.rowCount(); ++r) {
    for (int c = 0; c < grid.colCount(); ++c) {
      if (c) *os << '\t';
      *os << grid.cell(c, r);
    }
    *os << '\n';
  }
  os->flush();
  if (!*os) throw Error("Ошибка записи в файл " + file);
}

void run(const Options& options, char localeDecimal, std::ostream& out) {
  BatchState state(options.decimal.value_or(localeDecimal));
  importStage(options, state);
  if (options.lumpsFile) writeGridTsv(state.sourceGrid, *options.lumpsFile, out);
  if (!options.limits) return;
  analysisStage(options, state);
  if (options.gridFile) writeGridTsv(state.results, *options.gridFile, out);
  if (options.reportFile) reportStage(options, state);
  if (options.graphFile) graphStage(options, state);
  if (options.histogramFile) histogramStage(options, state);
  out << state.label << "\n";
}

}  // namespace ore::batch
