#pragma once
// Qt's own standard texts (file dialogs, context menus of text boxes, the
// print dialog) in Japanese: the program is Japanese throughout, whatever
// the desktop's language.

class QCoreApplication;

namespace mk {

// Installs Qt's Japanese translations on `app` (Debian's
// qt6-translations-l10n).  Returns false when they are not installed; the
// standard texts then stay in Qt's English.
bool InstallJapaneseQtTranslations(QCoreApplication& app);

}  // namespace mk
