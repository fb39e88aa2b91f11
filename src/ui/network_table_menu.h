#pragma once
// The main window's "流量計算表(&T)" menu and the table's child window: New,
// Open, Save over, Save As, Print, PDF and the CSV export and import, and
// "区間を開く", which opens one row as the single-facility project through
// the main window's own project-opening path.
//
// Closing or replacing a changed table (its close box, 新規作成, 開く, a
// recent .mkt file, quitting) asks "流量計算表の変更を保存しますか？" with
// 保存 / 保存しない / キャンセル.  Ctrl+S in the table's window saves it
// without a question.  The table's dialogs start in the folder used last
// and propose the table's file name, or its title for a table never saved.

#include <QObject>
#include <QPointer>
#include <QString>

#include "model/project_record.h"

class QAction;
class QMenu;

namespace mk {

class MainWindow;
class NetworkTableScreen;
class ProjectRecovery;
class TableRecovery;

// `text` as a file name: the characters a file name cannot hold become "_".
QString SafeFileName(const QString& text);

class NetworkTableMenu : public QObject {
  Q_OBJECT
 public:
  // Adds the menu at the end of the window's menu bar.
  explicit NetworkTableMenu(MainWindow& window);

  // The table's window, when one is open.
  NetworkTableScreen* screen() const;
  // The table's window while it is the work area's active child, else nullptr.
  NetworkTableScreen* activeScreen() const;

 signals:
  // The table's undo history changed, or the table window was activated
  // or closed: the 編集 menu's availability may change.
  void undoStateChanged();

 public slots:
  void newTable();     // 新規作成
  void openTable();    // 開く
  bool saveTable();    // 上書き保存 (名前をつけて保存 while the table has no file)
  bool saveTableAs();  // 名前をつけて保存
  void printTable();   // 印刷
  void exportPdf();    // PDF出力
  void exportCsv();    // CSV出力
  void exportResultsCsv();  // 計算結果のCSV出力
  void importCsv();    // CSV読込

  // Opens a table file without the file dialog (tests, command line).
  bool openTableFile(const QString& path);
  // An entry of 最近使ったファイル: the changed table is asked about first.
  void openRecent(const QString& path);
  // Saves without a question (Ctrl+S): over its file, or through the save
  // dialog for a table never saved.
  bool saveQuietly();
  // The table's recovery file, kept while `project` keeps its own.
  void keepRecovery(const ProjectRecovery& project);
  // At start: the table left in the recovery file, open as never saved.
  bool restoreTable(const QString& path);
  // Before the changed table is closed or replaced: 保存 / 保存しない /
  // キャンセル.  True to go on (saved, or not to be saved).
  bool settleChanges();

 protected:
  // Closing the main window asks about an unsaved table first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NetworkTableScreen* showScreen();
  void updateMenu();
  bool writeTable(const QString& path);
  // The table's name for file names: its file's, else its title, else "流量計算表".
  QString baseName() const;
  // The folder the table's dialogs start in (the one used last).
  QString startFolder() const;
  // A file in the start folder (or beside the table's file) named after the table.
  QString proposedPath(const QString& suffix) const;
  // The table computes (else its refusal is shown); the sheet is then printable.
  bool computed();
  // `start`: the folder, or a proposed file, the dialog starts with.
  QString chooseFile(bool save, const QString& title, const QString& filter, const QString& suffix,
                     const QString& start);
  bool confirmReplace(const QString& path);
  void openRowProject(ProjectRecord record);

  MainWindow& window_;
  QPointer<NetworkTableScreen> screen_;
  TableRecovery* recovery_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* save_ = nullptr;
  QAction* saveAs_ = nullptr;
  QAction* print_ = nullptr;
  QAction* pdf_ = nullptr;
  QAction* csvOut_ = nullptr;
  QAction* csvResults_ = nullptr;
  QAction* csvIn_ = nullptr;
};

}  // namespace mk
