#pragma once
// A question the user answers yes or no. The program asks with a message box; tests put their own
// answer in the window context.

#include <QString>
#include <functional>

class QWidget;

namespace ore::gui {

// True for yes.
using YesNoQuestion = std::function<bool(QWidget* parent, const QString& question)>;

// Asks through ask, or with a modal message box ("Да" / "Нет", no the default) when ask is empty.
bool askYesNo(const YesNoQuestion& ask, QWidget* parent, const QString& question);

}  // namespace ore::gui
