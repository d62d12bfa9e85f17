#pragma once
// Base of the program's windows: a top-level window of a designed client size, named for tests,
// shown without modality; the window system chooses its position.

#include <QWidget>

namespace ore::gui {

class Form : public QWidget {
  Q_OBJECT
 public:
  Form(const QString& name, const QString& caption, int width, int height,
       QWidget* parent = nullptr);

 protected:
  // At its first showing the window's group boxes make room for their captions.
  void showEvent(QShowEvent* e) override;

 private:
  bool groupsPlaced_ = false;
};

}  // namespace ore::gui
