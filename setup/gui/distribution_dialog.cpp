#include "setup/gui/distribution_dialog.h"

namespace ore::gui {

TForm7::TForm7(WindowContext& ctx) : Form("TForm7", "Условие расчета 1", 258, 178), ctx_(ctx) {
  GroupBox1 = new QGroupBox("Распределение по карманам", client());
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(16, 8, 225, 113);
  RadioButton1 = new QRadioButton("распределение содержания", GroupBox1);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->setGeometry(16, 32, 201, 21);
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton("распределение параметра", GroupBox1);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton2->setGeometry(16, 72, 201, 21);

  Button2 = new QPushButton("Выход", client());
  Button2->setObjectName("Button2");
  Button2->setGeometry(64, 138, 83, 25);
  Button1 = new QPushButton("Принять>>>", client());
  Button1->setObjectName("Button1");
  Button1->setGeometry(158, 138, 83, 25);

  // FormCreate
  ctx_.ws.DistributionKind = DistributionKind::Content;

  connect(RadioButton1, &QRadioButton::clicked, this,
          [this] { ctx_.guard([this] { RadioButton1Click(); }); });
  connect(RadioButton2, &QRadioButton::clicked, this,
          [this] { ctx_.guard([this] { RadioButton2Click(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button1Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { ctx_.guard([this] { Button2Click(); }); });
}

void TForm7::RadioButton1Click() {
  ctx_.ws.DistributionKind = DistributionKind::Content;
}

void TForm7::RadioButton2Click() {
  ctx_.ws.DistributionKind = DistributionKind::Param;
}

void TForm7::Button1Click() {
  hide();
  emit accepted();
}

void TForm7::Button2Click() {
  hide();
}

}  // namespace ore::gui
