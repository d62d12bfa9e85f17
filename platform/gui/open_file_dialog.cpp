#include "platform/gui/open_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

namespace ore::gui {

QString OpenFileDialog::choose(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("OpenDialog1"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  if (!folder_.isEmpty()) dialog.setDirectory(folder_);
  // Room for the detail view's name, size, type and date columns.
  dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 460)));
  if (auto* details = dialog.findChild<QTreeView*>())
    for (int column = 1; column < details->header()->count(); ++column)
      details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  const QString file = dialog.selectedFiles().first();
  folder_ = QFileInfo(file).absolutePath();
  return file;
}

}  // namespace ore::gui
