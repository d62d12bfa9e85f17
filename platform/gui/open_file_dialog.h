#pragma once
// The file-open dialog of the import: no filter and no title of its own, opening in the folder
// of the file chosen last (the user's current folder the first time).

#include <QString>

class QWidget;

namespace ore::gui {

class OpenFileDialog {
 public:
  // Asks for a file; the empty text when the user cancels.
  QString choose(QWidget* parent);
  const QString& folder() const { return folder_; }

 private:
  QString folder_;
};

}  // namespace ore::gui
