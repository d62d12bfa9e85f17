// The objects the automation layer can create by program identifier, and the hook that lets the
// gui open a window for every application made.

#include "data/errors.h"
#include "platform/spreadsheet/automation.h"
#include "platform/spreadsheet/excel_application.h"

namespace ore::automation {

namespace {

ApplicationCreatedHook& createdHook() {
  static ApplicationCreatedHook hook;
  return hook;
}

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
  if (equalsIgnoringCase(progId, "excel.application")) {
    auto app = std::make_shared<ExcelApplication>();
    // A copy: the hook may replace itself while it runs.
    if (ApplicationCreatedHook hook = createdHook()) hook(app);
    return app;
  }
  throw Error("Не удается создать объект автоматизации «" + std::string(progId) +
              "»: такой программный идентификатор не зарегистрирован");
}

ApplicationCreatedHook setApplicationCreatedHook(ApplicationCreatedHook hook) {
  ApplicationCreatedHook previous = std::move(createdHook());
  createdHook() = std::move(hook);
  return previous;
}

}  // namespace ore::automation
