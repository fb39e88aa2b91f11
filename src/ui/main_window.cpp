#include "ui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "calc/check_run.h"
#include "calc/recompute.h"
#include "model/number_text.h"
#include "project_file/network_file.h"
#include "project_file/report_file.h"
#include "project_file/vor_file.h"
#include "ui/about_dialog.h"
#include "ui/main_input_screen.h"
#include "ui/pdf_export.h"
#include "ui/prerendered_icon.h"
#include "ui/network_table_menu.h"
#include "ui/network_table_screen.h"
#include "ui/print_actions.h"
#include "ui/print_image.h"
#include "ui/recent_files.h"
#include "ui/recovery.h"
#include "ui/prompter.h"
#include "ui/results_screen.h"
#include "ui/screen_factory.h"
#include "ui/undo_history.h"
#include "ui/widget_support.h"

// The icons live in this library's resources; a static library must
// register them explicitly.
static void InitUiResources() { Q_INIT_RESOURCE(resources); }

namespace mk {

namespace {

const char* const kNoticeStart =
    "メニューバーのファイル又はツールバーより、新規作成又は開くを選択してください。";
// "ミルカナ(.vor)" is what the filter list shows; *.vor what it lets through.
const char* const kProjectFilter = "ミルカナ(.vor) (*.vor)";

// The screens Close discards with their groups.  The sewage, inflow-time
// and river-course screens stay: a later project starts from their values.
// The print image pages (Form7, Form3) go too: they show this project's report.
const char* const kProjectScreens[] = {"Form1",  "Form2",  "Form5",  "Form12", "Form16",
                                       "Form17", "Form18", "Form19", "Form20", "Form21",
                                       "Form25", "Form26", "Form7",  "Form3"};

// Screens without a close box: the main and facility screens belong to the
// project for its whole life, and the runoff and rainfall-intensity screens
// are left by their OK or Cancel (which also bring the toolbar back).
bool HasNoCloseBox(const QString& form) {
  for (const char* fixed : {"Form25", "Form2", "Form5", "Form1", "Form12", "Form16"})
    if (form == QLatin1String(fixed)) return true;
  return false;
}

}  // namespace

QFont FixedPitchGothic(QFont base) {
  base.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                    QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
  base.setStyleHint(QFont::TypeWriter);
  base.setFixedPitch(true);
  return base;
}

MainWindow::MainWindow(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter) {
  InitUiResources();
  setObjectName("MDIForm1");
  setWindowTitle(QStringLiteral("ミルカナ"));
  setAccessibleName(QStringLiteral("ミルカナ"));
  setAccessibleDescription("MDIForm1");
  setWindowIcon(ProgramIcon());

  area_ = new QMdiArea(this);
  area_->setObjectName("MDIArea");
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A maximised child (the network flow table can be) leaves the screens
  // shown after it at their own places and sizes.
  area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
  setCentralWidget(area_);
  // Ctrl+Tab / Ctrl+Shift+Tab step through the child windows, wherever
  // the focus is in them.
  auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(next, &QShortcut::activated, area_, &QMdiArea::activateNextSubWindow);
  auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
  connect(previous, &QShortcut::activated, area_, &QMdiArea::activatePreviousSubWindow);
  auto* previousTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), this);
  connect(previousTab, &QShortcut::activated, area_, &QMdiArea::activatePreviousSubWindow);

  buildMenus();
  buildToolbar();
  // Undo / redo ("編集" after ﾌｧｲﾙ), the recent files (above 終了) and the
  // recovery file, which is also written whenever a sub-screen is left.
  recovery_ = new ProjectRecovery(*this, this);
  undo_ = new UndoHistory(
      *this, [this](const ProjectRecord& inputs, const ProjectState* state) { restoreStep(inputs, state); },
      [this] { return projectState(); }, this);
  undo_->addMenu(menuBar(), menS_);
  // One list for projects and network flow tables.
  recent_ = new RecentFiles(
      prompter_,
      [this](const QString& path) { openDocument(path); },
      this);
  recent_->addMenu(menuFile_, menFEnd_);
  connect(undo_, &UndoHistory::subScreenLeft, recovery_, &ProjectRecovery::update);
  tableMenu_->keepRecovery(*recovery_);
  // 編集 acts on the table while it is the active child window.
  undo_->setChildHistory([this]() -> ChildHistory* {
    NetworkTableScreen* table = tableMenu_->activeScreen();
    tableHistory_.screen = table;
    return table ? &tableHistory_ : nullptr;
  });
  connect(tableMenu_, &NetworkTableMenu::undoStateChanged, undo_, &UndoHistory::updateActions);

  auto* bar = statusBar();
  bar->setObjectName("sbr1");
  bar->setAccessibleDescription("sbr1");
  msg_ = new QLabel(this);
  msg_->setObjectName("msg");
  msg_->setAccessibleDescription("msg");
  bar->addWidget(msg_, 1);

  // No project yet.
  setStatusNotice(QString::fromUtf8(kNoticeStart));
  setOutputEntriesEnabled(false);
  menFEWri_->setEnabled(false);
  setResultButtons(false, false);
  resize(1024, 768);
}

MainWindow::~MainWindow() {
  // The child windows going away activate one another: the 編集 menu no
  // longer asks the table about them.
  undo_->setChildHistory(nullptr);
  disconnect(tableMenu_, nullptr, undo_, nullptr);
  disconnect(area_, nullptr, tableMenu_, nullptr);
  // Screens go first, while the host they talk to is still whole.
  for (auto& screen : screens_) {
    if (!screen) continue;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
      delete sub;
    else
      delete screen.data();
  }
  screens_.clear();
}

bool MainWindow::TableHistory::canUndo() const { return screen && screen->canUndo(); }
bool MainWindow::TableHistory::canRedo() const { return screen && screen->canRedo(); }
void MainWindow::TableHistory::undo() {
  if (screen) screen->undo();
}
void MainWindow::TableHistory::redo() {
  if (screen) screen->redo();
}

// ------------------------------------------------------------ menus, toolbar

void MainWindow::buildMenus() {
  menuBar()->setObjectName("MenuBar");
  auto entry = [this](QMenu* menu, const char* name, const QString& caption, void (MainWindow::*slot)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  auto separator = [](QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
  };

  menuFile_ = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  menuFile_->setObjectName("Men_F");
  menuFile_->menuAction()->setObjectName("Men_F");
  menFNew_ = entry(menuFile_, "Men_FNew", QStringLiteral("新規作成(&N)"), &MainWindow::fileNew);
  menFOpn_ = entry(menuFile_, "Men_FOpn", QStringLiteral("開く(&O)"), &MainWindow::fileOpen);
  menFCls_ = entry(menuFile_, "Men_FCls", QStringLiteral("閉じる(&C)"), &MainWindow::fileClose);
  separator(menuFile_, "Men_FL1");
  menFOvw_ = entry(menuFile_, "Men_FOvw", QStringLiteral("上書き保存(&S)"), &MainWindow::fileUpdate);
  menFSav_ = entry(menuFile_, "Men_FSav", QStringLiteral("名前をつけて保存(&A)"), &MainWindow::fileSaveAs);
  separator(menuFile_, "Men_FL2");
  menFImg_ = entry(menuFile_, "Men_FImg", QStringLiteral("印刷ｲﾒｰｼﾞ(&I)"), &MainWindow::fileImage);
  menFPrn_ = entry(menuFile_, "Men_FPrn", QStringLiteral("印刷(&P)"), &MainWindow::filePrint);
  menFPdf_ = menuFile_->addAction(QStringLiteral("PDFに出力(&D)"));
  menFPdf_->setObjectName("Men_FPdf");
  connect(menFPdf_, &QAction::triggered, this, [this] {
    if (record_.run.exists) ExportReportPdf(*this, this);
  });
  separator(menuFile_, "Men_FL3");
  menuEditor_ = menuFile_->addMenu(QStringLiteral("ｴﾃﾞｨﾀ(&E)"));
  menuEditor_->setObjectName("Men_FE");
  menFEWri_ = entry(menuEditor_, "Men_FEWri", QStringLiteral("書き込み(&W)"), &MainWindow::writeReport);
  menFEOpn_ = entry(menuEditor_, "Men_FEOpn", QStringLiteral("起動(&O)"), &MainWindow::launchEditor);
  separator(menuFile_, "Men_FL4");
  menFEnd_ = entry(menuFile_, "Men_FEnd", QStringLiteral("終了(&X)"), &MainWindow::fileExit);
  // Availability follows the project each time the menu opens.
  connect(menuFile_, &QMenu::aboutToShow, this, &MainWindow::updateFileMenu);

  // "参考" has no entries: choosing it opens the reference screen.
  menS_ = menuBar()->addAction(QStringLiteral("参考(&S)"));
  menS_->setObjectName("Men_S");
  connect(menS_, &QAction::triggered, this, &MainWindow::showReference);

  // The network flow table's menu stands before help.
  tableMenu_ = new NetworkTableMenu(*this);

  QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
  help->setObjectName("Men_H");
  menHVer_ = entry(help, "Men_HVer", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), &MainWindow::showAbout);
}

void MainWindow::buildToolbar() {
  toolbar_ = addToolBar(QStringLiteral("ツールバー"));
  toolbar_->setObjectName("Toolbar1");
  toolbar_->setAccessibleDescription("Toolbar1");
  toolbar_->setMovable(false);
  toolbar_->setIconSize(QSize(24, 24));
  toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  struct Button {
    int index;
    const char* icon;
    const char* hint;
    const char* shortName;
    void (MainWindow::*slot)();
  };
  const Button buttons[] = {
      {1, ":/icons/new.svg", "[ファイル]-[新規作成]", "新規作成", &MainWindow::fileNew},
      {2, ":/icons/open.svg", "[ファイル]-[開く]", "開く", &MainWindow::fileOpen},
      {3, ":/icons/save.svg", "[ファイル]-[上書き保存]", "上書き保存", &MainWindow::fileUpdate},
      {5, ":/icons/image.svg", "[ファイル]-[印刷ｲﾒｰｼﾞ]", "印刷ｲﾒｰｼﾞ", &MainWindow::fileImage},
      {6, ":/icons/print.svg", "[ファイル]-[印刷]", "印刷", &MainWindow::filePrint},
  };
  for (const Button& b : buttons) {
    if (b.index == 5) toolbar_->addSeparator()->setObjectName("Button4");
    auto* action = toolbar_->addAction(PrerenderedIcon(QString::fromLatin1(b.icon)), QString::fromUtf8(b.shortName));
    const QString name = QStringLiteral("Button%1").arg(b.index);
    action->setObjectName(name);
    action->setToolTip(QString::fromUtf8(b.hint));
    connect(action, &QAction::triggered, this, b.slot);
    if (QWidget* widget = toolbar_->widgetForAction(action)) {
      widget->setObjectName(name);
      widget->setAccessibleName(QString::fromUtf8(b.shortName));
      widget->setAccessibleDescription(QStringLiteral("Toolbar1.") + name);
    }
    button_[b.index] = action;
  }
}

QAction* MainWindow::toolbarButton(int index) const {
  return (index >= 1 && index <= 6) ? button_[index] : nullptr;
}

void MainWindow::setOutputEntriesEnabled(bool enabled) {
  menFSav_->setEnabled(enabled);
  menFOvw_->setEnabled(enabled);
  menFImg_->setEnabled(enabled);
  menFPrn_->setEnabled(enabled);
  menFPdf_->setEnabled(enabled);
}

void MainWindow::setResultButtons(bool save, bool print) {
  button_[3]->setEnabled(save);
  button_[5]->setEnabled(print);
  button_[6]->setEnabled(print);
}

bool MainWindow::hasRunResult() const { return record_.run.exists && record_.run.Q2 != 0.0; }

void MainWindow::updateFileMenu() {
  const bool result = hasRunResult();
  const bool saveOver = result && !fileName_.isEmpty();
  menFSav_->setEnabled(result);
  menFOvw_->setEnabled(saveOver);
  menFImg_->setEnabled(result);
  menFPrn_->setEnabled(result);
  menFPdf_->setEnabled(result);
  menFEWri_->setEnabled(result);
  setResultButtons(saveOver, result);
  for (QAction* always : {menFNew_, menFOpn_, menFCls_, menFEOpn_, menFEnd_}) always->setEnabled(true);
}

// ------------------------------------------------------------ ScreenHost

void MainWindow::setStatusNotice(const QString& text) {
  msg_->setText(text);
  msg_->setAccessibleName(text);
}

QString MainWindow::statusNotice() const { return msg_->text(); }

void MainWindow::setToolbarVisible(bool visible) { toolbar_->setVisible(visible); }

void MainWindow::setReferenceMenuEnabled(bool enabled) { menS_->setEnabled(enabled); }

void MainWindow::discardRunResult() {
  DiscardRunResult(record_);
  discardScreen(QStringLiteral("Form26"));
  // The print image shows the withdrawn result's report: it closes as its
  // "閉じる" does, so that report can no longer be printed or written.
  bool viewerOpen = false;
  for (const char* page : {"Form7", "Form3"}) {
    const QString form = QString::fromLatin1(page);
    if (!findScreen(form)) continue;
    viewerOpen = true;
    discardScreen(form);
  }
  // The toolbar comes back as it does when a viewer closes, unless the
  // runoff or rainfall-intensity screen (which hide it) is open.
  auto shown = [this](const char* form) {
    QWidget* s = findScreen(QString::fromLatin1(form));
    return s && s->isVisible();
  };
  if (viewerOpen && !shown("Form12") && !shown("Form16")) toolbar_->show();
  setResultButtons(false, false);
}

void MainWindow::showRunResult(const QString& lbl16, const QString& lbl17, bool verdictIsNo) {
  auto* results = qobject_cast<ResultsScreen*>(showScreen(QStringLiteral("Form26"), 0, 5115));
  if (results) results->showResult(lbl16, lbl17, verdictIsNo);
  setResultButtons(!fileName_.isEmpty(), true);
}

QWidget* MainWindow::findScreen(const QString& form) {
  auto it = screens_.find(form);
  if (it == screens_.end()) return nullptr;
  if (!it.value()) {  // closed and deleted by its own window
    screens_.erase(it);
    return nullptr;
  }
  return it.value().data();
}

QWidget* MainWindow::screen(const QString& form) {
  if (QWidget* existing = findScreen(form)) return existing;
  QWidget* created = CreateScreen(form, *this, this);
  if (!created) return nullptr;
  if (!qobject_cast<QDialog*>(created)) {
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    // A child window draws its close box only together with its system
    // menu, whose Close also answers Ctrl+F4 (the standard key for closing
    // a child window); the screens without a close box have neither.
    if (!HasNoCloseBox(form)) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    QMdiSubWindow* sub = area_->addSubWindow(created, flags);
    sub->setObjectName(form + QStringLiteral("Window"));
    sub->setWindowIcon(ProgramIcon());
    sub->hide();
    sub->resize(sub->sizeHint());
  }
  screens_[form] = created;
  return created;
}

QWidget* MainWindow::showScreen(const QString& form, int leftTwips, int topTwips) {
  QWidget* s = screen(form);
  if (!s) return nullptr;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget())) {
    sub->move(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
    s->show();
    sub->show();
    sub->raise();
    area_->setActiveSubWindow(sub);
  } else {
    s->show();
    s->raise();
  }
  return s;
}

void MainWindow::hideScreen(const QString& form) {
  QWidget* s = findScreen(form);
  if (!s) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget()))
    sub->hide();
  else
    s->hide();
}

void MainWindow::discardScreen(const QString& form) {
  QPointer<QWidget> s = screens_.take(form);
  if (!s) return;
  // Deleted later: the screen may be the one whose button asked for this.
  if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget())) {
    area_->removeSubWindow(sub);
    sub->hide();
    sub->deleteLater();
  } else {
    s->hide();
    s->deleteLater();
  }
}

bool MainWindow::focusControl(const QString& formDotControl) {
  const QStringList parts = formDotControl.split(QLatin1Char('.'));
  if (parts.size() != 2) return false;
  QWidget* s = findScreen(parts[0]);
  if (!s) return false;
  auto* control = s->findChild<QWidget*>(parts[1]);
  if (!control) return false;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget()))
    if (sub->isVisible()) area_->setActiveSubWindow(sub);
  if (auto* entry = qobject_cast<EntryBox*>(control))
    entry->focusCaretAtStart();
  else
    control->setFocus(Qt::OtherFocusReason);
  return true;
}

// ------------------------------------------------------------ project

void MainWindow::closeProject() {
  proposedName_.clear();
  for (const char* form : kProjectScreens) discardScreen(QString::fromLatin1(form));
  CloseProjectGroups(record_);
  setResultButtons(false, false);
}

void MainWindow::fileNew() {
  undo_->replaceProject([this] {
    newProject();
    return true;
  });
}

void MainWindow::newProject() {
  closeProject();
  NewProject(record_);
  if (auto* main = qobject_cast<MainInputScreen*>(showScreen(QStringLiteral("Form25"), 0, 0))) {
    main->refreshFromRecord();
    main->setCBordered(true);
    main->setIBordered(true);
    // The facility list starts at the VP pipe, which opens its screen.
    main->sentaku();
  }
  focusControl(QStringLiteral("Form25.txt_c"));
  fileName_.clear();
  setOutputEntriesEnabled(false);
  setResultButtons(false, false);
  setStatusNotice(QString::fromUtf8(kNoticeN1));
  toolbar_->show();
  statusBar()->show();
  recovery_->markSaved();
}

void MainWindow::fileClose() {
  const PromptAnswer answer = prompter_.ask(
      this, PromptRequest{QStringLiteral("確認"),
                          QStringLiteral("作成中のデータが失われます。閉じてもよろしいですか？"),
                          PromptButtons::OkCancel, PromptIcon::Question, PromptAnswer::Cancel});
  if (answer != PromptAnswer::Ok) return;
  undo_->replaceProject([this] {
    closeProject();
    recovery_->markClosed();
    showNoProject();
    return true;
  });
}

void MainWindow::showNoProject() {
  fileName_.clear();
  setStatusNotice(QString());
  setOutputEntriesEnabled(false);
  menFEWri_->setEnabled(false);
  setResultButtons(false, false);
  // A sub-screen or print image that had hidden the toolbar is gone.
  toolbar_->show();
}

void MainWindow::fileExit() {
  const PromptAnswer answer = prompter_.ask(
      this, PromptRequest{QStringLiteral("確認"), QStringLiteral("終了してもよろしいですか？"),
                          PromptButtons::YesNo, PromptIcon::None, PromptAnswer::No});
  if (answer != PromptAnswer::Yes) return;
  exiting_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!exiting_) {
    const PromptAnswer answer = prompter_.ask(
        this, PromptRequest{QStringLiteral("ミルカナ"), QStringLiteral("終了してもよろしいですか?"),
                            PromptButtons::YesNo, PromptIcon::None, PromptAnswer::Yes});
    if (answer != PromptAnswer::Yes) {
      event->ignore();
      return;
    }
  }
  exiting_ = true;
  // Unsaved changes stay in the recovery file (written now) and are offered
  // at the next start, as after a crash; saved ones leave no file.
  recovery_->update();
  event->accept();
  emit exitConfirmed();
}

QString MainWindow::projectFolder() const {
  QString base = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (base.isEmpty()) base = QDir::homePath();
  return base + QStringLiteral("/ミルカナ");
}

QString MainWindow::chooseProjectFile(bool save) {
  // The dialogs start in the folder used last, or else in the program's
  // folder.  That folder is made only for a file saved there: the save
  // dialog needs it to exist to start in it, so one made for the dialog is
  // removed again (when still empty) unless the project was saved into it.
  // The open dialog starts in the documents folder while the program's
  // folder does not exist.
  const QString folder = projectFolder();
  bool made = false;
  const QString start = recent_->startFolder([&] {
    if (QFileInfo(folder).isDir()) return folder;
    made = save && QDir().mkpath(folder);
    return made ? folder : QFileInfo(folder).absolutePath();
  });
  // A project from a row of the network flow table proposes its 路線番号.
  const QString proposed = save && fileName_.isEmpty() && !proposedName_.isEmpty()
                               ? QDir(start).filePath(proposedName_ + QStringLiteral(".vor"))
                               : start;
  const QString path = prompter_.chooseFile(
      this, FileDialogRequest{save, save ? QStringLiteral("ミルカナの保存") : QStringLiteral("ミルカナを開く"),
                              proposed, QString::fromUtf8(kProjectFilter)});
  if (made && (path.isEmpty() || QFileInfo(path).absoluteDir() != QDir(folder))) QDir().rmdir(folder);
  if (path.isEmpty()) {
    // Both dialogs start with no name: a cancelled one leaves the open
    // project without one, so it can no longer be saved over.
    fileName_.clear();
    button_[3]->setEnabled(false);
    menFOvw_->setEnabled(false);
  }
  return path;
}

void MainWindow::fileOpen() {
  const QString path = chooseProjectFile(false);
  if (!path.isEmpty()) openProject(path);
}

bool MainWindow::openDocument(const QString& path) {
  if (QFileInfo(path).suffix().compare(QLatin1String(kNetworkFileSuffix), Qt::CaseInsensitive) == 0) {
    tableMenu_->openRecent(path);
    return tableMenu_->activeScreen() != nullptr;
  }
  return openProject(path);
}

bool MainWindow::openProject(const QString& path) {
  bool opened = false;
  undo_->replaceProject([&] {
    opened = showProjectFile(path);
    if (!opened) return false;
    recent_->remember(fileName_);
    recovery_->markSaved();
    return true;
  });
  return opened;
}

bool MainWindow::offerRecovery() {
  const RecoveryChoice restore = recovery_->askRestore(prompter_, this);
  if (restore.table) tableMenu_->restoreTable(TableRecoveryFilePath());
  if (!restore.project || !showProjectFile(RecoveryFilePath())) return false;
  // A project never saved: no file name, so no saving over.
  fileName_.clear();
  button_[3]->setEnabled(false);
  menFOvw_->setEnabled(false);
  // A result stands only when it had been computed before the file was
  // written (its captions are in the file).
  if (record_.results.lbl6.empty()) {
    discardRunResult();
    updateFileMenu();
    setStatusNotice(QString::fromUtf8(kNoticeN1));
  }
  undo_->clear();
  recovery_->markUnsaved();
  return true;
}

ProjectState MainWindow::projectState() {
  return ProjectState{findScreen(QStringLiteral("Form25")) != nullptr, fileName_, recovery_->savedInputs()};
}

void MainWindow::restoreStep(const ProjectRecord& inputs, const ProjectState* state) {
  if (state && !state->open) {
    closeProject();
    record_ = inputs;
    showNoProject();
  } else {
    restoreInputs(inputs);
  }
  if (!state) return;
  // The project comes back with its file and, for the recovery file, its
  // inputs as saved; without a result, so there is nothing to save over
  // until 計算 has been pressed again.
  fileName_ = state->open ? state->fileName : QString();
  recovery_->restore(state->open, state->saved);
  recovery_->update();
  updateFileMenu();
}

void MainWindow::restoreInputs(const ProjectRecord& inputs) {
  closeProject();
  record_ = inputs;
  DiscardRunResult(record_);
  showProjectScreens();
  updateFileMenu();
  setStatusNotice(QString::fromUtf8(kNoticeN1));
  toolbar_->show();
}

bool MainWindow::showProjectFile(const QString& path) {
  // Read into a fresh record first: a file that cannot be read at all
  // leaves the open project as it was.
  ProjectRecord opened = record_;
  CloseProjectGroups(opened);
  if (const auto error = ReadProjectFile(path, opened)) {
    prompter_.error(this, *error);
    return false;
  }
  showOpenedProject(std::move(opened), QFileInfo(path).absoluteFilePath());
  return true;
}

void MainWindow::showOpenedProject(ProjectRecord opened, const QString& fileName) {
  closeProject();
  record_ = std::move(opened);
  RecomputeAfterOpen(record_);
  fileName_ = fileName;
  showProjectScreens();

  // The results screen repeats the run from the restored numbers and
  // shows the captions stored in the file.
  const RunResult& run = record_.run;
  QString lbl16;
  QString lbl17;
  if (run.factor != 1.0) {
    lbl16 = QString::fromStdString(FormatNumber(run.factor, "0.0#"));
    lbl17 = QStringLiteral("×");
  }
  const bool verdictIsNo = run.verdict == Verdict::NO;
  showRunResult(lbl16, lbl17, verdictIsNo);
  if (verdictIsNo) prompter_.beep();
  setStatusNotice(QString::fromUtf8(verdictIsNo ? kNoticeRunNo : kNoticeRunOk));

  setOutputEntriesEnabled(true);
  menFEWri_->setEnabled(true);
  setResultButtons(!fileName_.isEmpty(), true);
  toolbar_->show();
  statusBar()->show();
}

QString MainWindow::proposedFileName() const {
  if (proposedName_.isEmpty()) return QString();
  return QDir(recent_->startFolder([] { return DocumentsFolder(); })).filePath(proposedName_ + QStringLiteral(".vor"));
}

void MainWindow::openProjectRecord(ProjectRecord record, const QString& proposedName) {
  undo_->replaceProject([&] {
    showOpenedProject(std::move(record), QString());
    proposedName_ = proposedName;
    recovery_->markUnsaved();
    return true;
  });
}

// The main screen and the facility screen built from the record, as Open
// leaves them (undo and redo rebuild them the same way).
void MainWindow::showProjectScreens() {
  if (auto* main = qobject_cast<MainInputScreen*>(showScreen(QStringLiteral("Form25"), 0, 0))) {
    main->refreshFromRecord();
    main->setIBordered(!record_.main.opt4);
    main->setCBordered(!record_.main.opt6);
    // A sewage flow computed by the sewage screen stands in txt3.
    main->setSewageBordered(!record_.main.opt7);
  }
  const QString facility = QString::fromStdString(MainFacilityForm(record_.main.lst_s));
  if (!facility.isEmpty()) showScreen(facility, 6165, 0);
}

bool MainWindow::writeProject(const QString& path) {
  if (const auto error = WriteProjectFile(path, record_)) {
    // The previous file is left as it was (the file is replaced only when
    // the whole project has been written).
    prompter_.error(this, !error->isEmpty()
                              ? *error
                              : QStringLiteral("「%1」に保存できませんでした。").arg(QDir::toNativeSeparators(path)));
    return false;
  }
  recent_->remember(path);
  recovery_->markSaved();
  return true;
}

void MainWindow::fileUpdate() {
  if (!record_.run.exists || fileName_.isEmpty()) return;
  const PromptAnswer answer = prompter_.ask(
      this, PromptRequest{QStringLiteral("確認"), QStringLiteral("上書き保存してもよろしいですか？"),
                          PromptButtons::OkCancel, PromptIcon::None, PromptAnswer::Cancel});
  if (answer != PromptAnswer::Ok) return;
  writeProject(fileName_);
}

void MainWindow::fileSaveAs() {
  if (!record_.run.exists) return;
  const QString path = chooseProjectFile(true);
  if (path.isEmpty()) return;
  if (QFileInfo::exists(path)) {
    const PromptAnswer answer = prompter_.ask(
        this, PromptRequest{QStringLiteral("上書き保存の確認"),
                            QStringLiteral("同名ファイルがあります。上書き保存しますか？"),
                            PromptButtons::YesNo, PromptIcon::Stop, PromptAnswer::No});
    if (answer != PromptAnswer::Yes) return;
  }
  if (!writeProject(path)) return;
  fileName_ = QFileInfo(path).absoluteFilePath();
  button_[3]->setEnabled(true);
  menFOvw_->setEnabled(true);
}

// ------------------------------------------------------------ outputs

void MainWindow::fileImage() {
  if (!record_.run.exists) return;
  ShowPrintImage(*this, this);
}

void MainWindow::filePrint() {
  if (!record_.run.exists) return;
  PrintReport(*this, this);
}

void MainWindow::writeReport() {
  if (!record_.run.exists) return;
  const WriteReportResult result = Kakikomi(record_);
  if (result.verdictIsNo) prompter_.beep();
  if (result.error) prompter_.error(this, *result.error);
}

void MainWindow::launchEditor() {
  // The system's handler for text files opens the file Write appends to;
  // a failure to start it is passed over.
  QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(QString::fromLatin1(kReportFileName)).absoluteFilePath()));
}

void MainWindow::showReference() {
  if (auto* reference = qobject_cast<QDialog*>(screen(QStringLiteral("Form4")))) reference->open();
}

void MainWindow::showAbout() {
  auto* about = new AboutDialog(this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->open();
}

}  // namespace mk
