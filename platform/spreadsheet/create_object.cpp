// The objects the automation layer can create by program identifier, and factories that tell
// their maker of every application made.

#include "data/errors.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::automation {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<Object> createObject(std::string_view progId) {
  if (equalsIgnoringCase(progId, "excel.application")) return std::make_shared<ExcelApplication>();
  throw Error("Не удается создать объект автоматизации «" + std::string(progId) +
              "»: такой программный идентификатор не зарегистрирован");
}

ObjectFactory objectFactory(ApplicationCreated created) {
  return [created = std::move(created)](std::string_view progId) {
    std::shared_ptr<Object> object = createObject(progId);
    if (created)
      if (auto app = std::dynamic_pointer_cast<ExcelApplication>(object)) created(app);
    return object;
  };
}

}  // namespace ore::automation
