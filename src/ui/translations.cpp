#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mk {

bool InstallJapaneseQtTranslations(QCoreApplication& app) {
  // Only Qt Base's catalogue: the dialogs and widgets the program uses are
  // all there ("qt_ja" would also load the catalogues of modules it never
  // uses, at every start).  Japanese is asked for by name, not by the
  // system locale.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace mk
