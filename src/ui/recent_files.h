#pragma once
// The projects and network flow tables opened or saved last (menu ﾌｧｲﾙ ▸ "最近使ったファイル(&R)")
// and the folder the file dialogs start in.
//
// Both are kept with QSettings in the user's configuration folder
// (QStandardPaths::AppConfigLocation, file "mirukana.conf"; tests run with
// QStandardPaths' test mode and so never touch it).

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace mk {

class Prompter;

class RecentFiles : public QObject {
  Q_OBJECT
 public:
  // `open` opens a project file as Open does; messages go to `window`.
  RecentFiles(Prompter& prompter, std::function<void(const QString&)> open, QWidget* window);

  // The submenu (Men_FRec, entries Men_FRec1 ... Men_FRec8), put into
  // `fileMenu` before `before`.
  QMenu* addMenu(QMenu* fileMenu, QAction* before);

  // A project was opened or saved: its file goes to the top of the list and
  // its folder is where the file dialogs start next.
  void remember(const QString& path);
  // A file other than a project or table (a PDF, a CSV) was written or
  // read: its folder is where the file dialogs start next.
  void rememberFolder(const QString& path);
  // The list, newest first, at most kMaxFiles full paths.
  QStringList files() const;
  // The folder of the file opened or saved last when it still exists,
  // otherwise `fallback()`.
  QString startFolder(const std::function<QString()>& fallback) const;
  // Opens an entry of the list; a file that no longer exists is taken off
  // the list with a message.
  void openEntry(const QString& path);

  static constexpr int kMaxFiles = 8;

 private:
  void store(const QStringList& files);
  void rebuildMenu();

  Prompter& prompter_;
  std::function<void(const QString&)> open_;
  QWidget* window_;
  QMenu* menu_ = nullptr;
};

}  // namespace mk
