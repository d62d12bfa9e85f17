#include "platform/gui/question_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace ore::gui {

bool askYesNo(const YesNoQuestion& ask, QWidget* parent, const QString& question) {
  if (ask) return ask(parent, question);
  QMessageBox box(QMessageBox::Question, QStringLiteral("Вопрос"), question, QMessageBox::NoButton,
                  parent);
  box.setObjectName(QStringLiteral("QuestionBox"));
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
  box.setDefaultButton(no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace ore::gui
