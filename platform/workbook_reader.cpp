#include "platform/workbook_reader.h"

#include "data/errors.h"

namespace ore {

Workbook readWorkbook(const std::string& path) {
  throw Error("Чтение рабочих книг пока не реализовано: " + path);
}

}  // namespace ore
