#pragma once
// In-memory workbooks for the import tests, served by path to every application the library's
// factory makes (the readers are not needed for them).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/errors.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"
#include "platform/workbook/workbook.h"

namespace ore::test {

inline Cell number(double v) {
  Cell c;
  c.type = Cell::Type::Number;
  c.number = v;
  return c;
}
inline Cell text(std::string t) {
  Cell c;
  c.type = Cell::Type::Text;
  c.text = std::move(t);
  return c;
}
inline Cell logical(bool v) {
  Cell c;
  c.type = Cell::Type::Logical;
  c.number = v ? 1 : 0;
  return c;
}
inline Cell date(double serial) {
  Cell c;
  c.type = Cell::Type::Date;
  c.number = serial;
  return c;
}
inline Cell errorCell(std::string code) {
  Cell c;
  c.type = Cell::Type::Error;
  c.text = std::move(code);
  return c;
}

// Column number of a one-letter column name.
inline int col(char letter) {
  return letter - 'A' + 1;
}

// Rows of numbers from firstRow down, from column firstCol rightwards (B by default).
inline Sheet numberSheet(std::string name, int firstRow,
                         const std::vector<std::vector<double>>& rows, int firstCol = 2) {
  Sheet s(std::move(name));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      s.set(firstRow + static_cast<int>(r), firstCol + static_cast<int>(c), number(rows[r][c]));
  return s;
}

inline Workbook bookOf(std::vector<Sheet> sheets) {
  Workbook wb;
  wb.sheets = std::move(sheets);
  return wb;
}

class WorkbookLibrary {
 public:
  WorkbookLibrary() = default;
  WorkbookLibrary(const WorkbookLibrary&) = delete;
  WorkbookLibrary& operator=(const WorkbookLibrary&) = delete;

  void add(const std::string& path, Workbook wb) { books_[path] = std::move(wb); }

  // Makes objects as createObject does; its applications open the library's workbooks. Keeps a
  // reference to the library.
  automation::ObjectFactory objects() {
    return automation::objectFactory(
        [this](const std::shared_ptr<ExcelApplication>& app) { app->setReader(reader()); });
  }

  ExcelApplication::Reader reader() {
    return [this](const std::string& path) {
      ++opens;
      auto it = books_.find(path);
      if (it == books_.end()) throw Error("Не удается открыть файл «" + path + "»: файл не найден");
      Workbook wb = it->second;
      wb.path = path;
      return wb;
    };
  }

  int opens = 0;

 private:
  std::map<std::string, Workbook> books_;
};

}  // namespace ore::test
