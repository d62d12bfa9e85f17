#include <gtest/gtest.h>

#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

// The grids (and the histogram's chart) take what their window grows by while the buttons keep
// their distance to the window's corner; made smaller than designed, the window scrolls and
// nothing is squeezed; back at its designed size everything is where it started.
TEST(AnchoredClientTest, GridsGrowWithTheirWindowsAndASmallWindowScrolls) {
  Harness h;
  struct Case {
    const char* form;
    const char* grows;   // stretched by the growth
    const char* corner;  // moved by it
  } cases[] = {{"TForm1", "StringGrid1", nullptr},
               {"TForm3", "StringGrid1", "Button1"},
               {"TForm4", "StringGrid1", "Button2"},
               {"TForm5", "Chart1", "Button2"}};
  const QSize growth(200, 150);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == c.form) window = w;
    ASSERT_NE(window, nullptr);
    QWidget* grows = h.find(c.form, c.grows);
    QWidget* corner = c.corner ? h.find(c.form, c.corner) : nullptr;
    auto* scroll = window->findChild<QScrollArea*>("ClientScroll");
    ASSERT_NE(scroll, nullptr);
    window->show();
    if (QWidget* group = grows->parentWidget(); group->isHidden()) group->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QSize designed = window->size();
    auto settle = [&](QSize size) {
      window->resize(size);
      QTest::qWait(1);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    };
    auto place = [&](QWidget* w) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); };
    const QRect grid = place(grows);
    const QRect button = corner ? place(corner) : QRect();

    settle(designed + growth);
    EXPECT_EQ(place(grows).topLeft(), grid.topLeft());
    EXPECT_EQ(grows->size(), grid.size() + growth);
    if (corner) {
      EXPECT_EQ(place(corner), button.translated(growth.width(), growth.height()));
    }
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());

    settle(QSize(200, 150));
    EXPECT_EQ(grows->size(), grid.size());
    EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    if (corner) {
      EXPECT_EQ(corner->size(), button.size());
    }

    settle(designed);
    EXPECT_EQ(place(grows), grid);
    if (corner) {
      EXPECT_EQ(place(corner), button);
    }
    window->hide();
  }
}

}  // namespace
}  // namespace ore::gui::test
