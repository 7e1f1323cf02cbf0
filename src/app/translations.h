// Qt's own texts (file dialog, Yes/No buttons) in Japanese, like the rest of the program, whatever
// the desktop's language.
#pragma once

class QCoreApplication;

namespace quarnel {

// Loads Qt's Japanese translation from Qt's translations folder and installs it; false when it
// is not there (Debian package qt6-translations-l10n), and Qt's texts then stay English.
bool installQtJapaneseTranslation(QCoreApplication& application);

}  // namespace quarnel
