#include "platform/gui/anchored_client.h"

#include <QScrollArea>
#include <algorithm>

namespace ore::gui {

AnchoredClient::AnchoredClient(QSize designed, QWidget* parent)
    : QWidget(parent), designed_(designed) {
  setMinimumSize(designed);
  resize(designed);
}

void AnchoredClient::anchor(QWidget* control, int anchors) {
  entries_.push_back({control, anchors, {}, {}, 0});
}

void AnchoredClient::start() {
  if (started_) return;
  started_ = true;
  for (Entry& e : entries_) {
    if (!e.control) continue;
    QWidget* parent = e.control->parentWidget();
    e.placed = e.control->geometry();
    e.parentPlaced = parent == this ? designed_ : parent->size();
    for (QWidget* p = parent; p && p != this; p = p->parentWidget()) ++e.depth;
  }
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const Entry& a, const Entry& b) { return a.depth < b.depth; });
  follow();
}

QScrollArea* AnchoredClient::scrolled(QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setObjectName("ClientScroll");
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(this);
  return area;
}

void AnchoredClient::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (started_) follow();
}

void AnchoredClient::follow() {
  for (const Entry& e : entries_) {
    if (!e.control) continue;
    QWidget* parent = e.control->parentWidget();
    const QSize now = parent == this ? size() : parent->size();
    const int dx = now.width() - e.parentPlaced.width();
    const int dy = now.height() - e.parentPlaced.height();
    QRect r = e.placed;
    if (e.anchors & AnchorRight) {
      if (e.anchors & AnchorLeft)
        r.setWidth(std::max(0, r.width() + dx));
      else
        r.translate(dx, 0);
    }
    if (e.anchors & AnchorBottom) {
      if (e.anchors & AnchorTop)
        r.setHeight(std::max(0, r.height() + dy));
      else
        r.translate(0, dy);
    }
    e.control->setGeometry(r);
  }
}

}  // namespace ore::gui
