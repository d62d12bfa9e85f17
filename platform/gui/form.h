#pragma once
// Base of the program's windows: a top-level window of a designed client size, named for tests,
// shown without modality; the window system chooses its position.

#include <QWidget>

#include "platform/gui/anchored_client.h"

namespace ore::gui {

class Form : public QWidget {
  Q_OBJECT
 public:
  Form(const QString& name, const QString& caption, int width, int height,
       QWidget* parent = nullptr);

 protected:
  // What a window places its controls on: made at the first call, the window's designed client
  // size, scrolled when the window is made smaller and grown when it is made larger. A window
  // that lays out its controls with layouts of its own does not use it.
  AnchoredClient* client();
  // Pins control to edges of its parent (see Anchor); it follows them from the first showing on.
  void anchor(QWidget* control, int anchors) { client()->anchor(control, anchors); }

  // At its first showing the window's group boxes make room for their captions, and the anchored
  // controls start following the window's size.
  void showEvent(QShowEvent* e) override;

 private:
  QSize designed_;
  AnchoredClient* client_ = nullptr;
  bool groupsPlaced_ = false;
};

}  // namespace ore::gui
