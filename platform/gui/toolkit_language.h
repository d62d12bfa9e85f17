#pragma once
// The toolkit's own texts (file dialogs, message box buttons, edit menus) in the user's language:
// Qt's translations for the system locale, when it has them.

class QCoreApplication;

namespace ore::gui {

// Installs Qt's translations for the system locale (qtbase_ru under a Russian locale) into app.
// Returns false when there are none for that locale (English texts stay); never fails otherwise.
bool installToolkitTranslations(QCoreApplication& app);

}  // namespace ore::gui
