#include "analysis/lump_checks.h"

#include <string>

#include "data/errors.h"

namespace ore::analysis {

void checkLumpsLoaded(const Workspace& ws) {
  if (ws.LumpCount <= 0)
    throw Error("Нет исходных данных: откройте их через «Файл» > «Открыть исходные данные»");
}

void checkContentCount(int C) {
  if (C < 1 || C > kMaxContentCount)
    throw Error("Количество содержаний должно быть от 1 до " + std::to_string(kMaxContentCount) +
                " (задано " + std::to_string(C) + ")");
}

void checkDistributionKind(DistributionKind kind) {
  if (kind != DistributionKind::Content && kind != DistributionKind::Param)
    throw Error("Не выбрано условие распределения: содержания или параметра");
}

void checkLumpArrays(const Workspace& ws, int contents) {
  const std::int32_t n = ws.LumpCount;
  if (n < 0) throw Error("Неверное число кусков: " + std::to_string(n));
  if (n == 0) return;
  const size_t need = static_cast<size_t>(n) + 1;
  bool ok = ws.Mass.size() >= need && ws.Content.size() >= need && ws.Param.size() >= need;
  for (int k = 2; k <= contents; ++k) ok = ok && ws.ExtraContents[k - 1].size() >= need;
  if (!ok)
    throw Error("Данные кусков неполны: загружено меньше " + std::to_string(n) +
                " значений. Загрузите исходные данные заново");
}

void checkSampleTotals(bool finite, bool zeroMass) {
  if (!finite)
    throw Error("Суммарная масса или металл кусков вне диапазона чисел: расчет невозможен");
  if (zeroMass) throw Error("Суммарная масса кусков равна 0: выходы не определены");
}

}  // namespace ore::analysis
