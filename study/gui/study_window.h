#pragma once
// "Исследование сортировки": the sorting studies that go beyond one curve, a panel a tab. The
// panels come from app/'s wiring ("Датчик и анализ" first, "Стоимость границы" after it); the
// window tells them when it opens and when it closes.

#include <QPushButton>
#include <QTabWidget>

#include "platform/gui/form.h"

namespace ore::gui {

class StudyWindow : public Form {
  Q_OBJECT
 public:
  StudyWindow();

  // The menu item: shows the window in front, then opened().
  void open();
  // A tab after those given before; the window takes the panel over.
  void addTab(QWidget* panel, const QString& title);

  QTabWidget* Tabs = nullptr;
  QPushButton* ButtonClose = nullptr;

 signals:
  // The panels compute from the lumps now loaded.
  void opened();
  // Nobody watches the panels any more: their work may stop.
  void closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
};

}  // namespace ore::gui
