#include "platform/gui/group_client.h"

#include <QGroupBox>
#include <algorithm>
#include <climits>

namespace ore::gui {

void keepInClientArea(QGroupBox* group) {
  const QRect client = group->contentsRect();
  const QList<QWidget*> kids = group->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  int top = INT_MAX, left = INT_MAX;
  for (QWidget* k : kids) {
    if (k->isWindow()) continue;
    top = std::min(top, k->y());
    left = std::min(left, k->x());
  }
  if (top == INT_MAX) return;
  const QPoint shift(std::max(0, client.left() - left), std::max(0, client.top() - top));
  int right = 0, bottom = 0;
  for (QWidget* k : kids) {
    if (k->isWindow()) continue;
    if (!shift.isNull()) k->move(k->pos() + shift);
    right = std::max(right, k->geometry().right());
    bottom = std::max(bottom, k->geometry().bottom());
  }
  const QMargins m = group->contentsMargins();
  const QSize need(right + 1 + m.right(), bottom + 1 + m.bottom());
  if (need.width() > group->width() || need.height() > group->height())
    group->resize(group->size().expandedTo(need));
}

void keepGroupsInClientArea(QWidget* window) {
  for (QGroupBox* g : window->findChildren<QGroupBox*>()) keepInClientArea(g);
}

}  // namespace ore::gui
