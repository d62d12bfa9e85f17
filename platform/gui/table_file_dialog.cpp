#include "platform/gui/table_file_dialog.h"

#include <QFileDialog>

namespace ore::gui {

std::string chooseTableFile(QWidget* parent, const QString& suggestedName) {
  QString filter;
  const QString xlsx = "Книга Excel (*.xlsx)", csv = "Текст CSV, разделитель ';' (*.csv)";
  QString path = QFileDialog::getSaveFileName(parent, "Сохранить таблицу", suggestedName,
                                              xlsx + ";;" + csv, &filter);
  if (path.isEmpty()) return {};
  const QString lower = path.toLower();
  if (!lower.endsWith(".xlsx") && !lower.endsWith(".csv")) path += filter == csv ? ".csv" : ".xlsx";
  return path.toStdString();
}

}  // namespace ore::gui
