#include "app/start.h"

#include <QApplication>
#include <QFontDatabase>

#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/translations.h"

namespace mk {

namespace {

// The screens are laid out for a fixed-pitch Japanese Gothic, in which a
// full-width character is two half-width ones.  Without one the system
// font stays (the facility list still gets a fixed-pitch font of its own).
void UseJapaneseGothic() {
  for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"),
                                QStringLiteral("MS Gothic")}) {
    if (QFontDatabase::hasFamily(family)) {
      QApplication::setFont(FixedPitchGothic(QFont(family, 9)));
      return;
    }
  }
}

}  // namespace

void PrepareApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  QApplication::setWindowIcon(ProgramIcon());
  UseJapaneseGothic();
  InstallJapaneseQtTranslations(app);
}

}  // namespace mk
