#include <gtest/gtest.h>

#include <QGroupBox>

#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

// In every window, at the program's font and at twice its size, each control of a group box lies
// inside the group's client area: below the caption and within the frame.
TEST(GroupClientTest, NoControlOfAGroupReachesIntoItsCaptionOrFrame) {
  const QFont normal = QApplication::font();
  for (int scale : {1, 2}) {
    SCOPED_TRACE(scale);
    QFont font = normal;
    font.setPointSizeF(normal.pointSizeF() * scale);
    QApplication::setFont(font);
    {
      Harness h;
      int groups = 0;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->objectName().startsWith("TForm")) continue;
        w->show();
        for (QGroupBox* g : w->findChildren<QGroupBox*>()) {
          g->show();
          ++groups;
          const QRect client = g->contentsRect();
          ASSERT_GT(client.top(), g->fontMetrics().height() / 2) << g->title().toStdString();
          for (QWidget* c : g->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(client.contains(c->geometry()))
                << w->objectName().toStdString() << "/" << c->objectName().toStdString();
        }
        w->hide();
      }
      EXPECT_GE(groups, 7);
    }
    QApplication::setFont(normal);
  }
}

}  // namespace
}  // namespace ore::gui::test
