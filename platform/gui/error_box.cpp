#include "platform/gui/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <exception>

#include "platform/gui/message_text.h"

namespace ore::gui {

void MessageBoxErrorBox::show(const std::string& message) {
  QWidget* parent = QApplication::activeWindow();
  QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize space = screen ? screen->availableSize() : QSize(800, 600);
  // The box's text wraps at most this wide (the toolkit itself would allow 1000 pixels).
  const int wrapWidth = std::min(600, space.width() * 2 / 3);
  const QString full = QString::fromStdString(message);
  const QString shown = fitMessageText(full, QApplication::font(), wrapWidth, space);
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Ошибка"), shown, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.setTextFormat(Qt::PlainText);
  // A shortened message stays whole in the details.
  if (QString(shown).remove(QChar(0x200B)) != full) box.setDetailedText(full);
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
