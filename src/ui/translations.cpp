#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace mk {

bool InstallJapaneseQtTranslations(QCoreApplication& app) {
  // "qt_ja" loads the per-module catalogues (qtbase_ja for the widgets'
  // dialogs) that Debian installs beside it.  Japanese is asked for by
  // name, not by the system locale.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace mk
