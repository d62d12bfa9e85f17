#pragma once
// TForm4, "Результат": the results grid (its header row kept by a 100 ms timer), the report
// options and the graph options.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/gui/form.h"
#include "platform/gui/string_grid.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm4 : public Form {
  Q_OBJECT
 public:
  explicit TForm4(WindowContext& ctx);

  // The results grid as text: the analysis writes its body, the report and the graph read it.
  TextGrid& resultsGrid() { return StringGrid1->grid(); }

  void Timer1Timer();
  void RadioButton1Click();
  void RadioButton2Click();
  void RadioButton6Click();
  void RadioButton5Click();
  void Button1Click();
  void Button2Click();
  void Button3Click();

  // Sheet rows already used by earlier report blocks (the report export's own counter).
  int ReportRowOffset = 0;

  StringGrid* StringGrid1 = nullptr;
  QLabel* Label1 = nullptr;
  // Under Label1: the run's notes on its pockets (lumps in none, falling limits); hidden when none.
  QLabel* LabelNotes = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QRadioButton* RadioButton6 = nullptr;
  QRadioButton* RadioButton5 = nullptr;
  QPushButton* Button4 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QRadioButton* RadioButton3 = nullptr;
  QRadioButton* RadioButton4 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QTimer* Timer1 = nullptr;

 signals:
  void diagramRequested();  // "Построить График"

 private:
  WindowContext& ctx_;
  OnceBox timerErrors_;
};

}  // namespace ore::gui
