#pragma once
// Window tests: the whole program's windows over a fresh Workspace, messages recorded instead
// of shown, controls found by objectName as a user would find them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/windows.h"

namespace ore::gui::test {

class RecordingErrorBox : public ErrorBox {
 public:
  void show(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

struct Harness {
  Harness() {
    ctx.askQuestion = [this](QWidget*, const QString& question) {
      questions.push_back(question.toStdString());
      return answer;
    };
  }

  Workspace ws;
  RecordingErrorBox errors;
  AppContext ctx{ws, NumberFormat(','), errors};
  Windows windows{ctx};
  std::vector<std::string> questions;  // asked of the user, in order
  bool answer = false;                 // what the user answers every one

  // A control of a window by the window's and the control's objectName ("TForm6", "Button1").
  template <class T = QWidget>
  T* find(const char* form, const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == form) return w->findChild<T*>(name);
    return nullptr;
  }
};

// Picks "Сохранить как…" in the context menu that opens next.
inline void pickSaveAs() {
  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), QString("Сохранить как…"));
    menu->setActiveAction(menu->actions()[0]);
    QTest::keyClick(menu, Qt::Key_Return);
  });
}

}  // namespace ore::gui::test
