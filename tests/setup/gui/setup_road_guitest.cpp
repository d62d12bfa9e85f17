// The set-up road: "Перевести данные" -> "Условие расчета 1" -> "Параметры расчета 1" -> the
// pocket table, with every way back.

#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

struct Road : Harness {
  QWidget* form(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name) return w;
    return nullptr;
  }
  void click(const char* f, const char* button) {
    QPushButton* b = find<QPushButton>(f, button);
    ASSERT_NE(b, nullptr) << f << "/" << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  void setText(const char* f, const char* edit, const QString& text) {
    QLineEdit* e = find<QLineEdit>(f, edit);
    ASSERT_NE(e, nullptr);
    e->setText(text);
  }
  // From the menu "Действия" > "Перевести данные" to the calculation parameters dialog.
  void toCalcParams() {
    ctx.Form1->N7->trigger();
    click("TForm7", "Button1");
  }
  TextGrid& table() { return ctx.Form3->StringGrid1->grid(); }
  std::vector<std::string> column(int c) {
    std::vector<std::string> out;
    for (int r = 0; r < table().rowCount(); ++r) out.push_back(table().cell(c, r));
    return out;
  }
};

TEST(SetupRoadTest, ButtonCaptionsMixScriptsAsDesigned) {
  Road h;
  // "ОK >>>": Cyrillic О, Latin K.
  EXPECT_EQ(h.find<QPushButton>("TForm2", "Button1")->text(), QString::fromUtf8("\u041EK >>>"));
  EXPECT_EQ(h.find<QLineEdit>("TForm2", "Edit1")->text(), "0,01");
  EXPECT_EQ(h.find<QLineEdit>("TForm2", "Edit2")->text(), "5");
}

TEST(SetupRoadTest, DefaultsGiveFivePocketsAtPrecisionOneHundredth) {
  Road h;
  h.ctx.Form1->N7->trigger();
  EXPECT_TRUE(h.form("TForm7")->isVisible());
  EXPECT_TRUE(h.find<QRadioButton>("TForm7", "RadioButton1")->isChecked());
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Content);
  h.click("TForm7", "Button1");
  EXPECT_FALSE(h.form("TForm7")->isVisible());
  EXPECT_TRUE(h.form("TForm2")->isVisible());
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Content);

  h.click("TForm2", "Button1");
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_FALSE(h.form("TForm2")->isVisible());
  EXPECT_TRUE(h.form("TForm3")->isVisible());
  EXPECT_EQ(h.ws.PrecisionText, "0,01");
  EXPECT_EQ(h.ws.PocketCount, 5);
  ASSERT_EQ(h.table().colCount(), 2);
  ASSERT_EQ(h.table().rowCount(), 6);
  EXPECT_EQ(h.column(0), (std::vector<std::string>{"", "1", "2", "3", "4", "5"}));
  EXPECT_EQ(h.table().cell(1, 0), "Карман");
  StringGrid* grid = h.ctx.Form3->StringGrid1;
  EXPECT_EQ(grid->columnWidth(1), 70);
  for (int r = 0; r < 6; ++r) EXPECT_EQ(grid->rowHeight(r), 24) << r;
  // The limits are typed in column 1 only.
  auto& model = grid->model();
  EXPECT_TRUE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
}

TEST(SetupRoadTest, FewerPocketsKeepTheLimitsTypedInTheRowsThatRemain) {
  Road h;
  h.toCalcParams();
  h.click("TForm2", "Button1");
  auto& model = h.ctx.Form3->StringGrid1->model();
  const char* limits[] = {"0,5", "1,0", "2", "3", "4"};
  for (int r = 1; r <= 5; ++r) model.setData(model.index(r, 1), limits[r - 1], Qt::EditRole);

  // Back and forward with the same count keeps every limit.
  h.click("TForm3", "Button2");
  EXPECT_FALSE(h.form("TForm3")->isVisible());
  EXPECT_TRUE(h.form("TForm2")->isVisible());
  EXPECT_EQ(h.find<QLineEdit>("TForm2", "Edit2")->text(), "5");
  h.click("TForm2", "Button1");
  EXPECT_EQ(h.column(1), (std::vector<std::string>{"Карман", "0,5", "1,0", "2", "3", "4"}));

  h.click("TForm3", "Button2");
  h.setText("TForm2", "Edit2", "3");
  h.click("TForm2", "Button1");
  EXPECT_EQ(h.ws.PocketCount, 3);
  EXPECT_EQ(h.column(0), (std::vector<std::string>{"", "1", "2", "3"}));
  EXPECT_EQ(h.column(1), (std::vector<std::string>{"Карман", "0,5", "1,0", "2"}));
  EXPECT_EQ(h.ctx.Form3->StringGrid1->columnWidth(1), 70);
}

TEST(SetupRoadTest, ExitKeepsTheDistributionChoiceAndTheRadioShowsIt) {
  Road h;
  h.ctx.Form1->N7->trigger();
  QTest::mouseClick(h.find<QRadioButton>("TForm7", "RadioButton2"), Qt::LeftButton);
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Param);  // at once, not at "Принять>>>"
  h.click("TForm7", "Button2");
  EXPECT_FALSE(h.form("TForm7")->isVisible());
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Param);
  h.ctx.Form1->N7->trigger();
  EXPECT_TRUE(h.find<QRadioButton>("TForm7", "RadioButton2")->isChecked());
  EXPECT_FALSE(h.find<QRadioButton>("TForm7", "RadioButton1")->isChecked());
  QTest::mouseClick(h.find<QRadioButton>("TForm7", "RadioButton1"), Qt::LeftButton);
  EXPECT_EQ(h.ws.DistributionKind, DistributionKind::Content);
}

TEST(SetupRoadTest, CancelInTheParametersDialogStoresNothing) {
  Road h;
  h.toCalcParams();
  h.setText("TForm2", "Edit1", "0,1");
  h.setText("TForm2", "Edit2", "7");
  h.click("TForm2", "Button2");
  EXPECT_FALSE(h.form("TForm2")->isVisible());
  EXPECT_FALSE(h.form("TForm7")->isVisible());  // back at the main window
  EXPECT_FALSE(h.form("TForm3")->isVisible());
  EXPECT_EQ(h.ws.PrecisionText, "");
  EXPECT_EQ(h.ws.PocketCount, 0);
  EXPECT_EQ(h.table().rowCount(), 0);
  // The texts typed stay for the next showing.
  h.toCalcParams();
  EXPECT_EQ(h.find<QLineEdit>("TForm2", "Edit1")->text(), "0,1");
  EXPECT_EQ(h.find<QLineEdit>("TForm2", "Edit2")->text(), "7");
}

TEST(SetupRoadTest, UnknownPrecisionOrPocketCountOutOfRangeIsRefusedWithTheDialogOpen) {
  const std::string precisionList =
      "Допустимые значения: 1; 0,1; 0,01; 0,001; 0,0001; 0,00001; 0,000001";
  struct Case {
    const char* precision;
    const char* pockets;
    std::string message;
  };
  const Case cases[] = {
      {"0,02", "5", "Точность составляемой таблицы «0,02» не поддерживается. " + precisionList},
      {"0.01", "5", "Точность составляемой таблицы «0.01» не поддерживается. " + precisionList},
      {"", "5", "Точность составляемой таблицы «» не поддерживается. " + precisionList},
      {"0,01 ", "5", "Точность составляемой таблицы «0,01 » не поддерживается. " + precisionList},
      // The precision is looked at first, even when the count is no integer.
      {"0,5", "abc", "Точность составляемой таблицы «0,5» не поддерживается. " + precisionList},
      {"0,01", "0", "Количество карманов должно быть целым числом от 1 до 10000 (введено 0)"},
      {"0,01", "-2", "Количество карманов должно быть целым числом от 1 до 10000 (введено -2)"},
      {"0,01", "10001",
       "Количество карманов должно быть целым числом от 1 до 10000 (введено 10001)"},
  };
  for (const Case& c : cases) {
    Road h;
    h.toCalcParams();
    h.click("TForm2", "Button1");  // a first good run: 5 pockets at "0,01"
    h.click("TForm3", "Button2");
    h.setText("TForm2", "Edit1", c.precision);
    h.setText("TForm2", "Edit2", c.pockets);
    h.click("TForm2", "Button1");
    ASSERT_EQ(h.errors.messages.size(), 1u) << c.precision << " / " << c.pockets;
    EXPECT_EQ(h.errors.messages[0], c.message);
    EXPECT_TRUE(h.form("TForm2")->isVisible());
    EXPECT_FALSE(h.form("TForm3")->isVisible());
    EXPECT_EQ(h.ws.PrecisionText, "0,01");
    EXPECT_EQ(h.ws.PocketCount, 5);
    EXPECT_EQ(h.table().rowCount(), 6);
  }
}

TEST(SetupRoadTest, PocketCountThatIsNoIntegerFailsAfterThePocketWindowIsShown) {
  for (const char* pockets : {"2,5", "", "abc", " 5"}) {
    Road h;
    h.toCalcParams();
    h.click("TForm2", "Button1");
    h.click("TForm3", "Button2");
    h.setText("TForm2", "Edit1", "0,1");
    h.setText("TForm2", "Edit2", pockets);
    h.click("TForm2", "Button1");
    ASSERT_EQ(h.errors.messages.size(), 1u) << pockets;
    EXPECT_EQ(h.errors.messages[0], std::string("'") + pockets + "' is not a valid integer value");
    EXPECT_FALSE(h.form("TForm2")->isVisible());
    EXPECT_TRUE(h.form("TForm3")->isVisible());
    EXPECT_EQ(h.ws.PrecisionText, "0,01");
    EXPECT_EQ(h.ws.PocketCount, 5);
    EXPECT_EQ(h.table().rowCount(), 6);
  }
}

}  // namespace
}  // namespace ore::gui::test
