#include "ui/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "ui/prompter.h"

namespace mk {

namespace {

const char* const kFilesKey = "RecentFiles/files";
const char* const kFolderKey = "RecentFiles/lastFolder";

std::unique_ptr<QSettings> Settings() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return std::make_unique<QSettings>(folder + QStringLiteral("/mirukana.conf"), QSettings::IniFormat);
}

}  // namespace

RecentFiles::RecentFiles(Prompter& prompter, std::function<void(const QString&)> open, QWidget* window)
    : QObject(window), prompter_(prompter), open_(std::move(open)), window_(window) {}

QMenu* RecentFiles::addMenu(QMenu* fileMenu, QAction* before) {
  menu_ = new QMenu(QStringLiteral("最近使ったファイル(&R)"), fileMenu);
  menu_->setObjectName("Men_FRec");
  menu_->menuAction()->setObjectName("Men_FRec");
  fileMenu->insertMenu(before, menu_);
  // Built afresh whenever ﾌｧｲﾙ opens (never while one of its entries is
  // being chosen).
  connect(fileMenu, &QMenu::aboutToShow, this, &RecentFiles::rebuildMenu);
  rebuildMenu();
  return menu_;
}

QStringList RecentFiles::files() const {
  QStringList list = Settings()->value(QLatin1String(kFilesKey)).toStringList();
  list.removeAll(QString());
  return list.mid(0, kMaxFiles);
}

void RecentFiles::store(const QStringList& files) {
  Settings()->setValue(QLatin1String(kFilesKey), files.mid(0, kMaxFiles));
}

void RecentFiles::remember(const QString& path) {
  const QString full = QFileInfo(path).absoluteFilePath();
  QStringList list = files();
  list.removeAll(full);
  list.prepend(full);
  Settings()->setValue(QLatin1String(kFolderKey), QFileInfo(full).absolutePath());
  store(list);
}

void RecentFiles::rememberFolder(const QString& path) {
  Settings()->setValue(QLatin1String(kFolderKey), QFileInfo(path).absolutePath());
}

QString RecentFiles::startFolder(const std::function<QString()>& fallback) const {
  const QString last = Settings()->value(QLatin1String(kFolderKey)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return fallback();
}

void RecentFiles::openEntry(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    QStringList list = files();
    list.removeAll(path);
    store(list);
    prompter_.error(window_, QStringLiteral("「%1」が見つかりません。最近使ったファイルから削除しました。")
                                 .arg(QDir::toNativeSeparators(path)));
    return;
  }
  open_(path);
}

void RecentFiles::rebuildMenu() {
  if (!menu_) return;
  menu_->clear();
  const QStringList list = files();
  for (int i = 0; i < list.size(); ++i) {
    // "&1 /home/…/project.vor": the number is the access key; an "&" in
    // the path is shown as itself.
    QString shown = QDir::toNativeSeparators(list.at(i));
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction* entry = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    entry->setObjectName(QStringLiteral("Men_FRec%1").arg(i + 1));
    connect(entry, &QAction::triggered, this, [this, path = list.at(i)] { openEntry(path); });
  }
  menu_->menuAction()->setEnabled(!list.isEmpty());
}

}  // namespace mk
