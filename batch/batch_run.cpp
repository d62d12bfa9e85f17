#include "batch/batch_run.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"

namespace ore::batch {

void writeGridTsv(const TextGrid& grid, const std::string& file, std::ostream& stdoutStream) {
  std::optional<SafeFileWriter> out;
  if (file != "-") out.emplace(file);
  // Written in pieces: a grid of a million lumps need not exist twice in memory.
  std::string text;
  auto flush = [&] {
    if (out) {
      out->write(text);
    } else {
      errno = 0;
      stdoutStream.write(text.data(), static_cast<std::streamsize>(text.size()));
      stdoutStream.flush();
      if (!stdoutStream) throw Error(stdoutFailure(errno));
    }
    text.clear();
  };
  for (int r = 0; r < grid.rowCount(); ++r) {
    for (int c = 0; c < grid.colCount(); ++c) {
      if (c) text += '\t';
      text += grid.cell(c, r);
    }
    text += '\n';
    if (text.size() >= (1u << 16)) flush();
  }
  flush();
  if (out) out->commit();
}

std::string stdoutFailure(int err) {
  std::string message = "Ошибка записи в стандартный вывод";
  if (err) message += std::string(": ") + std::strerror(err);
  return message;
}

void run(const Options& options, char localeDecimal, std::ostream& out, Progress* progress) {
  BatchState state(options.decimal.value_or(localeDecimal));
  state.progress = progress;
  const SortabilityRequest sortability = sortabilityRequest(options, state.fmt);
  const study::SensorSettings sensor = sensorRequest(options, state.fmt);
  importStage(options, state);
  if (options.lumpsFile) writeGridTsv(state.sourceGrid, *options.lumpsFile, out);
  // Nothing reads the source grid past here; a log of millions of lumps needs the memory.
  state.sourceGrid.resize(0, 0);
  if (options.curveFile || options.bestCut || options.value)
    sortabilityStage(options, sortability, state, out);
  if (options.sensor) sensorStage(options, sensor, state, out);
  if (!options.limits) return;
  analysisStage(options, state);
  if (options.gridFile) writeGridTsv(state.results, *options.gridFile, out);
  if (options.reportFile) reportStage(options, state);
  if (options.graphFile) graphStage(options, state);
  if (options.histogramFile) histogramStage(options, state);
  out << state.label << "\n";
}

}  // namespace ore::batch
