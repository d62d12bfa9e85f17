#include "platform/automation.h"

#include "data/errors.h"

namespace ore::automation {

std::shared_ptr<Object> createObject(std::string_view progId) {
  throw Error("Объект автоматизации \"" + std::string(progId) + "\" пока не реализован");
}

}  // namespace ore::automation
