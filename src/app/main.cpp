#include <QApplication>
#include <QFontDatabase>

#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/translations.h"

namespace {

// The screens are laid out for a fixed-pitch Japanese Gothic, in which a
// full-width character is two half-width ones.  Without one the system
// font stays (the facility list still gets a fixed-pitch font of its own).
void UseJapaneseGothic() {
  for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"),
                                QStringLiteral("MS Gothic")}) {
    if (QFontDatabase::hasFamily(family)) {
      QApplication::setFont(mk::FixedPitchGothic(QFont(family, 9)));
      return;
    }
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  QApplication::setWindowIcon(mk::ProgramIcon());
  UseJapaneseGothic();
  mk::InstallJapaneseQtTranslations(app);
  mk::MessageBoxPrompter prompter;
  mk::MainWindow window(prompter);
  // Ends at once, even with a dialog of the project still open.
  QObject::connect(&window, &mk::MainWindow::exitConfirmed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  // Work left unsaved by a session that ended without Exit is offered
  // first; a project file named on the command line is opened at once
  // unless that work was restored.
  const bool restored = window.offerRecovery();
  const QStringList arguments = QApplication::arguments();
  if (!restored && arguments.size() > 1) window.openProject(arguments.at(1));
  return QApplication::exec();
}
