#pragma once
// "Исследование сортировки": the sorting studies that go beyond one curve, a tab each. The first
// tab is the sensor against the assay; further panels are given to addTab.

#include <QPushButton>
#include <QTabWidget>

#include "data/number_format.h"
#include "data/workspace.h"
#include "platform/gui/error_box.h"
#include "platform/gui/form.h"
#include "platform/gui/picture_export.h"

namespace ore::gui {

class SensorPanel;

class StudyWindow : public Form {
  Q_OBJECT
 public:
  // choosePicture asks for the charts' picture files; kept by reference.
  StudyWindow(Workspace& ws, const NumberFormat& fmt, ErrorBox& errors,
              const PictureFileChooser& choosePicture);

  // The menu item: shows the window in front, the sensor's study started from the lumps now
  // loaded, and tells the other tabs by opened().
  void open();
  // A further tab after the sensor's ("Стоимость границы"); the window takes the panel over.
  void addTab(QWidget* panel, const QString& title);

  QTabWidget* Tabs = nullptr;
  SensorPanel* Sensor = nullptr;  // the tab "Датчик и анализ"
  QPushButton* ButtonClose = nullptr;

 signals:
  void opened();

 protected:
  // Nobody watches a closed window: its run stops ("Выход" closes it too).
  void closeEvent(QCloseEvent* e) override;
};

}  // namespace ore::gui
