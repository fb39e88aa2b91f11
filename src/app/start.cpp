#include "app/start.h"

#include <QApplication>
#include <QFontDatabase>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#endif

#include "ui/about_dialog.h"
#include "ui/translations.h"

namespace mk {

namespace {

// The screens are laid out for a fixed-pitch Japanese Gothic, in which a
// full-width character is two half-width ones.  Without one the system
// font stays (the facility list still gets a fixed-pitch font of its own).
//
// The application font names the one family found.  A font that lists
// fallback families has Qt ask fontconfig for the whole fallback order each
// time a new size or weight of it is first used (a font sort, about a
// millisecond each, several times before the window appears); with one
// family Qt asks only when a character is missing from the Gothic, and the
// Gothic holds every character the screens show.  IPAGothic is looked for
// in the installed families first: asking the font database whether a
// family exists also has fontconfig resolve the name as an alias, which the
// other two names (which an alias file may map onto IPAGothic) need.
void UseJapaneseGothic() {
  QString found;
  if (QFontDatabase::families().contains(QStringLiteral("IPAGothic"))) {
    found = QStringLiteral("IPAGothic");
  } else {
    for (const QString& family : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")}) {
      if (QFontDatabase::hasFamily(family)) {
        found = family;
        break;
      }
    }
  }
  if (found.isEmpty()) return;
  QFont font(found, 9);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  QApplication::setFont(font);
}

}  // namespace

FontConfigWarmUp::FontConfigWarmUp() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  thread_ = std::thread([] {
    // fontconfig is reached through the copy Qt Gui has loaded (RTLD_NOLOAD):
    // the program neither links it nor loads it itself.  FcInit reads the
    // default configuration that Qt's font database then uses; fontconfig
    // guards its configuration for use from several threads.
    void* library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library) return;
    using Init = int (*)();
    if (auto init = reinterpret_cast<Init>(dlsym(library, "FcInit"))) init();
    dlclose(library);
  });
#endif
}

FontConfigWarmUp::~FontConfigWarmUp() { wait(); }

void FontConfigWarmUp::wait() {
  if (thread_.joinable()) thread_.join();
}

void PrepareApplication(QApplication& app, FontConfigWarmUp* fonts) {
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  if (fonts) fonts->wait();
  QApplication::setWindowIcon(ProgramIcon());
  UseJapaneseGothic();
  InstallJapaneseQtTranslations(app);
}

}  // namespace mk
