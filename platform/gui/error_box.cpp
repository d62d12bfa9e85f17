#include "platform/gui/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace ore::gui {

void MessageBoxErrorBox::show(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), QString::fromStdString(message),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.exec();
}

namespace {
std::string messageOf(const std::function<void()>& work, bool& failed) {
  failed = true;
  try {
    work();
    failed = false;
    return {};
  } catch (const std::bad_alloc&) {
    return "Недостаточно памяти для выполнения операции";
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Неизвестная ошибка";
  }
}
}  // namespace

void guarded(ErrorBox& box, const std::function<void()>& work) {
  bool failed = false;
  std::string m = messageOf(work, failed);
  if (failed) box.show(m);
}

void OnceBox::run(const std::function<void()>& work) {
  bool failed = false;
  std::string m = messageOf(work, failed);
  if (!failed) {
    last_.clear();
    return;
  }
  if (m == last_) return;
  last_ = m;
  box_.show(m);
}

}  // namespace ore::gui
