#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/gui/error_box.h"
#include "platform/gui/open_file_dialog.h"

namespace ore::gui::test {
namespace {

QStringList buttonTexts(QWidget* w) {
  QStringList out;
  for (QPushButton* b : w->findChildren<QPushButton*>()) out << b->text().remove('&');
  return out;
}

// Runs check on the modal dialog that the next call opens.
template <class F>
void onNextModal(F check) {
  QTimer::singleShot(0, [check] { check(QApplication::activeModalWidget()); });
}

// The open dialog comes back in the folder of the file chosen last; under a Russian locale it and
// a message box speak Russian.
TEST(ToolkitLanguageTest, OpenDialogRemembersTheFolderAndSpeaksTheLocale) {
  const bool russian = QLocale().language() == QLocale::Russian;
  const QString file = QStringLiteral(OREFRAC_TEST_DATA "/workbooks/basic-120.csv");
  OpenFileDialog dialog;
  QStringList texts;
  onNextModal([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->objectName(), "OpenDialog1");
    texts = buttonTexts(d);
    d->selectFile(file);
    static_cast<QDialog*>(d)->accept();
  });
  EXPECT_EQ(dialog.choose(nullptr), file);
  QString folderShown;
  onNextModal([&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    ASSERT_TRUE(d);
    folderShown = d->directory().absolutePath();
    d->reject();
  });
  EXPECT_EQ(dialog.choose(nullptr), QString());
  EXPECT_EQ(folderShown, QStringLiteral(OREFRAC_TEST_DATA "/workbooks"));
  if (!russian) GTEST_SKIP() << "Russian texts are checked under LC_ALL=ru_RU.UTF-8";
  EXPECT_TRUE(texts.contains("Открыть")) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains("Отмена")) << texts.join('|').toStdString();
  QMessageBox box(QMessageBox::Question, "?", "?", QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Отмена");
}

// A 5,000-character message: the box stays on the screen, wrapped, with both ends of the text.
TEST(ErrorBoxTest, LongMessageWrapsWithinTheScreen) {
  const std::string message =
      "'" + std::string(5000, '7') + "' is not a valid floating point value";
  MessageBoxErrorBox box;
  QRect shown, screen;
  QString text;
  onNextModal([&](QWidget* w) {
    ASSERT_TRUE(w);
    shown = w->frameGeometry();
    screen = w->screen()->availableGeometry();
    for (QLabel* l : w->findChildren<QLabel*>())
      if (l->text().size() > text.size()) text = l->text();
    w->close();
  });
  box.show(message);
  EXPECT_LE(shown.width(), screen.width());
  EXPECT_LE(shown.height(), screen.height());
  EXPECT_TRUE(text.startsWith("'7777"));
  EXPECT_TRUE(text.endsWith("' is not a valid floating point value"));
}

}  // namespace
}  // namespace ore::gui::test
