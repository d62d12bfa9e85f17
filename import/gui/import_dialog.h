#pragma once
// TForm6, "Загрузка файла": the import settings dialog. Its OK runs the workbook import; its
// timer keeps ContentCount and ContentColumns in step with the count field and the column grid.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "import/source_window.h"
#include "platform/gui/error_box.h"
#include "platform/gui/field_error_mark.h"
#include "platform/gui/form.h"
#include "platform/gui/string_grid.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

class TForm6 : public Form {
  Q_OBJECT
 public:
  explicit TForm6(WindowContext& ctx);

  // The main window the import reads into; app/ sets it at start-up.
  void setSourceWindow(SourceWindow* window) { sourceWindow_ = window; }

  void RadioButton1Click();
  void RadioButton2Click();
  void Button1Click();
  void Button2Click();
  // Runs every second; a count that is not an integer is shown at the count field (never in a
  // box that would take the focus), once per distinct text.
  void Timer1Timer();

  // Used by the workbook import: draws text on the dialog's surface at (30, 45).
  void drawCaption(const std::string& text);
  const QString& caption() const { return caption_; }

  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* Edit6 = nullptr;
  QLabel* Label6 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QLabel* Label4 = nullptr;
  QLineEdit* Edit5 = nullptr;
  QLabel* Label5 = nullptr;
  QRadioButton* RadioButton2 = nullptr;
  QRadioButton* RadioButton1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  StringGrid* StringGrid1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button1 = nullptr;
  QTimer* Timer1 = nullptr;
  // The count field's tick failures, shown at the field (and in this line) without a box.
  QLabel* StatusLine = nullptr;
  const FieldErrorMark& countFieldMark() const { return countMark_; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  WindowContext& ctx_;
  FieldErrorMark countMark_;
  OnceBox tickErrors_;
  SourceWindow* sourceWindow_ = nullptr;
  QString caption_;
};

}  // namespace ore::gui
