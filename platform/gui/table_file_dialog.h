#pragma once
// The save dialog of the study's figure tables: an .xlsx workbook or a ';'-separated .csv, the
// extension of the chosen filter added when the name has neither.

#include <QString>
#include <string>

class QWidget;

namespace ore::gui {

// The chosen path, empty when the dialog was cancelled.
std::string chooseTableFile(QWidget* parent, const QString& suggestedName);

}  // namespace ore::gui
