#pragma once
// The main window "ミルカナ": menu bar, toolbar Toolbar1, the MDI work area
// that holds every screen as a child window, and the status panel "msg".
// It owns the one ProjectRecord and the project's file name, and offers
// the screens what they need through ScreenHost.

#include <QFont>
#include <QMainWindow>
#include <QMap>
#include <QPointer>

#include "model/project_record.h"
#include "ui/screen_host.h"
#include "ui/undo_history.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace mk {

class NetworkTableMenu;
class Prompter;
class ProjectRecovery;
class RecentFiles;
class NetworkTableScreen;

// `base` in the fixed-pitch Japanese Gothic the screens are laid out for
// (a full-width character is exactly two half-width ones, so blanks line
// text up); the system's fixed-pitch font when no such Gothic is installed.
QFont FixedPitchGothic(QFont base);

class MainWindow : public QMainWindow, public ScreenHost {
  Q_OBJECT
 public:
  explicit MainWindow(Prompter& prompter, QWidget* parent = nullptr);
  ~MainWindow() override;

  // ScreenHost
  ProjectRecord& record() override { return record_; }
  Prompter& prompter() override { return prompter_; }
  QMdiArea* workArea() override { return area_; }
  void setStatusNotice(const QString& text) override;
  QString statusNotice() const override;
  void setToolbarVisible(bool visible) override;
  void setReferenceMenuEnabled(bool enabled) override;
  void discardRunResult() override;
  void showRunResult(const QString& lbl16 = QString(), const QString& lbl17 = QString(),
                     bool verdictIsNo = false) override;
  QWidget* findScreen(const QString& form) override;
  QWidget* screen(const QString& form) override;
  QWidget* showScreen(const QString& form, int leftTwips = 0, int topTwips = 0) override;
  void hideScreen(const QString& form) override;
  void discardScreen(const QString& form) override;
  bool focusControl(const QString& formDotControl) override;

  // The project's file name: empty, or the full path of its .vor file.
  QString fileName() const { return fileName_; }
  QString projectFileName() const override { return fileName_; }
  QString proposedFileName() const override;
  // Toolbar1's buttons by index: 1 New, 2 Open, 3 Save over, 5 Print
  // image, 6 Print (4 is the separator); nullptr for any other index.
  QAction* toolbarButton(int index) const;
  // Opens a project file without the file dialog (command line, tests).
  // Returns false when the file could not be read; the open project then
  // stays as it was.
  bool openProject(const QString& path);
  // A file of either kind: a network flow table (.mkt) opens in the table's
  // window, anything else as a project.
  bool openDocument(const QString& path);
  // Opens a project made elsewhere (a row of the network flow table) as
  // Open opens a file, without a file name: 名前をつけて保存 saves it,
  // proposing `proposedName` (and its PDF the same name).
  void openProjectRecord(ProjectRecord record, const QString& proposedName = QString());
  // At start: offers the project and the network flow table left in the
  // recovery files by a session that ended with unsaved changes; restored,
  // each is open as never saved (no file name).  Returns true when a
  // project was restored.
  bool offerRecovery();
  ProjectRecovery& recovery() { return *recovery_; }
  RecentFiles& recentFiles() { return *recent_; }

 public slots:
  void fileNew();      // FileNew
  void fileOpen();     // FileOpen
  void fileClose();    // 閉じる, with its confirmation
  void fileUpdate();   // 上書き保存, with its confirmation
  void fileSaveAs();   // 名前をつけて保存
  void fileImage();    // 印刷ｲﾒｰｼﾞ
  void filePrint();    // 印刷
  void writeReport();  // ｴﾃﾞｨﾀ ▸ 書き込み (Kakikomi)
  void launchEditor(); // ｴﾃﾞｨﾀ ▸ 起動
  void fileExit();     // 終了, with its confirmation
  void showReference();
  void showAbout();

 signals:
  // Exit or the close box was confirmed: the program ends.
  void exitConfirmed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildToolbar();
  void closeProject();  // Tojiru
  void newProject();
  // The window without a project, as Close leaves it.
  void showNoProject();
  ProjectState projectState();
  // An undo step: inputs only, or with a state the whole project (or none).
  void restoreStep(const ProjectRecord& inputs, const ProjectState* state);
  void updateFileMenu();
  void setOutputEntriesEnabled(bool enabled);
  void setResultButtons(bool save, bool print);
  bool hasRunResult() const;
  QString projectFolder() const;
  // The open or save dialog; "" when cancelled (the file name is then dropped).
  QString chooseProjectFile(bool save);
  bool writeProject(const QString& path);
  // Open without the recent list and the recovery file (openProject and
  // offerRecovery add those).
  bool showProjectFile(const QString& path);
  // The opened record in place of the project, its screens and its result.
  void showOpenedProject(ProjectRecord opened, const QString& fileName);
  // Undo / redo: the record becomes `inputs`, without a result, and the
  // screens are rebuilt from it as Open does.
  void restoreInputs(const ProjectRecord& inputs);
  // The main and facility screens from the record, as Open shows them.
  void showProjectScreens();

  Prompter& prompter_;
  ProjectRecord record_;
  QString fileName_;
  QString proposedName_;  // the file name proposed for a project never saved
  QMdiArea* area_ = nullptr;
  QLabel* msg_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QMap<QString, QPointer<QWidget>> screens_;
  bool exiting_ = false;

  QMenu* menuFile_ = nullptr;
  QMenu* menuEditor_ = nullptr;
  QAction* menFNew_ = nullptr;
  QAction* menFOpn_ = nullptr;
  QAction* menFCls_ = nullptr;
  QAction* menFOvw_ = nullptr;
  QAction* menFSav_ = nullptr;
  QAction* menFImg_ = nullptr;
  QAction* menFPrn_ = nullptr;
  QAction* menFPdf_ = nullptr;
  QAction* menFEWri_ = nullptr;
  QAction* menFEOpn_ = nullptr;
  QAction* menFEnd_ = nullptr;
  QAction* menS_ = nullptr;
  QAction* menHVer_ = nullptr;
  QAction* button_[7] = {};

  UndoHistory* undo_ = nullptr;
  RecentFiles* recent_ = nullptr;
  ProjectRecovery* recovery_ = nullptr;
  NetworkTableMenu* tableMenu_ = nullptr;
  // The table's own undo history, for the 編集 menu.
  struct TableHistory : ChildHistory {
    NetworkTableScreen* screen = nullptr;
    bool canUndo() const override;
    bool canRedo() const override;
    void undo() override;
    void redo() override;
  };
  TableHistory tableHistory_;
};

}  // namespace mk
