#include "setup/gui/calc_params_dialog.h"

#include "data/errors.h"
#include "data/precision.h"
#include "platform/gui/show_in_front.h"
#include "setup/pocket_table.h"

namespace ore::gui {

TForm2::TForm2(WindowContext& ctx) : Form("TForm2", "Параметры расчета 1", 369, 221), ctx_(ctx) {
  GroupBox1 = new QGroupBox("Условия расчета", client());
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(16, 8, 337, 137);
  Edit1 = new QLineEdit("0,01", GroupBox1);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(16, 32, 89, 21);
  Label1 = new QLabel("Точность составляемой таблицы", GroupBox1);
  Label1->setObjectName("Label1");
  Label1->setGeometry(120, 32, 209, 21);
  Edit2 = new QLineEdit("5", GroupBox1);
  Edit2->setObjectName("Edit2");
  Edit2->setGeometry(16, 80, 89, 21);
  Label2 = new QLabel("Количество карманов", GroupBox1);
  Label2->setObjectName("Label2");
  Label2->setGeometry(120, 80, 209, 21);

  Button2 = new QPushButton("<<< Отмена", client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(184, 180, 81, 25);
  // The О of "ОK" is Cyrillic, the K Latin.
  Button1 = new QPushButton("ОK >>>", client());
  Button1->setObjectName("Button1");
  Button1->setGeometry(272, 180, 81, 25);

  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
}

void TForm2::Button1Click() {
  const std::string precision = Edit1->text().toStdString();
  const std::string pockets = Edit2->text().toStdString();
  // A precision the rounding pass does not know, or a pocket count out of range, is refused
  // while the dialog is still open, so the user corrects it in place.
  checkPrecisionText(precision);
  std::int32_t count = 0;
  if (ctx_.fmt.tryParseInteger(pockets, count)) setup::checkPocketCount(count);

  if (!pocketWindow_ || !pocketTable_) throw Error("Окно параметров карманов не подключено");
  showInFront(pocketWindow_);
  hide();
  // A text that is no integer stops here, with the pocket window shown as it was.
  ctx_.ws.PocketCount = ctx_.fmt.parseInteger(pockets);
  ctx_.ws.PrecisionText = precision;
  setup::preparePocketTable(pocketTable_->grid(), ctx_.ws.PocketCount, ctx_.fmt);
  pocketTable_->setColWidth(1, 70);
}

void TForm2::Button2Click() {
  hide();
}

}  // namespace ore::gui
