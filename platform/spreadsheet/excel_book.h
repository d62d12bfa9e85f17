#pragma once
// The application's own record of a workbook, and the link its objects reach it through.

#include <memory>
#include <string>
#include <vector>

#include "data/errors.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore {

using automation::Args;
using automation::Variant;

inline constexpr const char* kReleasedMessage =
    "Приложение электронных таблиц уже освобождено: его книги, листы и ячейки больше недоступны";

// What the objects handed out reach the application through; the application clears it when
// it goes away, so an object kept longer fails with a message instead of touching freed memory.
struct ExcelApplication::Link {
  ExcelApplication* app = nullptr;

  ExcelApplication& use() const {
    if (!app) throw Error(kReleasedMessage);
    app->checkUsable();
    return *app;
  }
};

struct ExcelApplication::Book {
  Workbook data;
  std::string name;
  int activeSheet = 0;  // 0-based
  bool closed = false;
  std::vector<std::shared_ptr<SheetObject>> sheetObjects;  // made on first use
  std::shared_ptr<WorkbookObject> object;

  void checkOpen() const {
    if (closed)
      throw Error("Рабочая книга «" + name + "» закрыта: ее листы и ячейки больше недоступны");
  }
};

}  // namespace ore
