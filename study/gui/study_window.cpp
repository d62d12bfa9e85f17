#include "study/gui/study_window.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/gui/show_in_front.h"

namespace ore::gui {

StudyWindow::StudyWindow() : Form("StudyWindow", "Исследование сортировки", 1280, 820) {
  Tabs = new QTabWidget;
  Tabs->setObjectName("Tabs");
  ButtonClose = new QPushButton("Выход");
  ButtonClose->setObjectName("ButtonClose");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ButtonClose);
  auto* top = new QVBoxLayout(this);
  top->addWidget(Tabs, 1);
  top->addLayout(buttons);
  connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
}

void StudyWindow::open() {
  showInFront(this);
  emit opened();
}

void StudyWindow::addTab(QWidget* panel, const QString& title) {
  Tabs->addTab(panel, title);
}

void StudyWindow::closeEvent(QCloseEvent* e) {
  Form::closeEvent(e);
  emit closed();
}

}  // namespace ore::gui
