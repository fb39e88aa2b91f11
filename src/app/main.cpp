#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/prompter.h"

namespace {

// The screens are laid out for a fixed-pitch Japanese Gothic, in which a
// full-width character is two half-width ones: the facility list's leading
// blanks then line its entries up.  Without one the system font stays.
void UseJapaneseGothic() {
  const QStringList gothics{QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"),
                            QStringLiteral("MS Gothic")};
  for (const QString& family : gothics) {
    if (QFontDatabase::hasFamily(family)) {
      QFont font(family, 9);
      font.setFamilies(gothics);
      QApplication::setFont(font);
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
  mk::MessageBoxPrompter prompter;
  mk::MainWindow window(prompter);
  // Ends at once, even with a dialog of the project still open.
  QObject::connect(&window, &mk::MainWindow::exitConfirmed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  // A project file named on the command line is opened at once.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.openProject(arguments.at(1));
  return QApplication::exec();
}
