#pragma once
// The surface a window's controls are placed on by position. It is never smaller than the
// window's designed client size (the window scrolls instead of cutting controls off) and grows
// with the window, the controls anchored to its right or bottom edge following that edge.

#include <QPointer>
#include <QWidget>
#include <vector>

class QScrollArea;

namespace ore::gui {

// The edges of its parent a control is pinned to. Anchored left and right it stretches with the
// parent's width, right only it moves with the right edge; top and bottom likewise. A control
// not anchored keeps its place (left and top).
enum Anchor { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
inline constexpr int kAnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

class AnchoredClient : public QWidget {
  Q_OBJECT
 public:
  explicit AnchoredClient(QSize designed, QWidget* parent = nullptr);

  // control lies within this surface, directly or inside a group; its parent, when that is a
  // group, is anchored too or keeps its size.
  void anchor(QWidget* control, int anchors);
  // From now on the anchored controls follow the sizes of their parents, from the places and
  // sizes they have now, which are taken for those at the designed size. Idempotent.
  void start();

  // A frameless scroll area around the client, which fills it down to the designed size.
  QScrollArea* scrolled(QWidget* parent);

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  struct Entry {
    QPointer<QWidget> control;
    int anchors = 0;
    QRect placed;        // at the designed size
    QSize parentPlaced;  // its parent's size then
    int depth = 0;       // parents are placed before their controls
  };
  void follow();

  QSize designed_;
  std::vector<Entry> entries_;
  bool started_ = false;
};

}  // namespace ore::gui
