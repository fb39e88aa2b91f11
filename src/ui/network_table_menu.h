#pragma once
// The main window's "流量計算表(&T)" menu and the table's child window: New,
// Open, Save over, Save As, Print, PDF and the CSV export and import, and
// "区間を開く", which opens one row as the single-facility project through
// the main window's own project-opening path.

#include <QObject>
#include <QPointer>
#include <QString>

#include "model/project_record.h"

class QAction;
class QMenu;

namespace mk {

class MainWindow;
class NetworkTableScreen;

class NetworkTableMenu : public QObject {
  Q_OBJECT
 public:
  // Adds the menu at the end of the window's menu bar.
  explicit NetworkTableMenu(MainWindow& window);

  // The table's window, when one is open.
  NetworkTableScreen* screen() const;

 public slots:
  void newTable();     // 新規作成
  void openTable();    // 開く
  bool saveTable();    // 上書き保存 (名前をつけて保存 while the table has no file)
  bool saveTableAs();  // 名前をつけて保存
  void printTable();   // 印刷
  void exportPdf();    // PDF出力
  void exportCsv();    // CSV出力
  void importCsv();    // CSV読込

  // Opens a table file without the file dialog (tests, command line).
  bool openTableFile(const QString& path);

 protected:
  // Closing the main window asks about an unsaved table first.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  NetworkTableScreen* showScreen();
  void updateMenu();
  bool writeTable(const QString& path);
  // The table computes (else its refusal is shown); the sheet is then printable.
  bool computed();
  QString chooseFile(bool save, const QString& title, const QString& filter, const QString& suffix);
  bool confirmReplace(const QString& path);
  void openRowProject(ProjectRecord record);

  MainWindow& window_;
  QPointer<NetworkTableScreen> screen_;
  QMenu* menu_ = nullptr;
  QAction* save_ = nullptr;
  QAction* saveAs_ = nullptr;
  QAction* print_ = nullptr;
  QAction* pdf_ = nullptr;
  QAction* csvOut_ = nullptr;
  QAction* csvIn_ = nullptr;
};

}  // namespace mk
