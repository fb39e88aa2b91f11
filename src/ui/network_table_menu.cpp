#include "ui/network_table_menu.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "calc/check_run.h"
#include "project_file/network_file.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/network_table_print.h"
#include "ui/network_table_screen.h"
#include "ui/print_image.h"
#include "ui/prompter.h"
#include "ui/recent_files.h"
#include "ui/recovery.h"

namespace mk {

namespace {

const char* const kTableFilter = "流量計算表(.mkt) (*.mkt)";
const char* const kCsvFilter = "CSV(.csv) (*.csv)";
const char* const kPdfFilter = "PDF (*.pdf)";

const char* const kSaveQuestion = "流量計算表の変更を保存しますか？";

}  // namespace

QString SafeFileName(const QString& text) {
  QString name = text.trimmed();
  for (QChar& c : name)
    if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c)) c = QLatin1Char('_');
  return name;
}

NetworkTableMenu::NetworkTableMenu(MainWindow& window) : QObject(&window), window_(window) {
  setObjectName("NetworkTableMenu");
  menu_ = window.menuBar()->addMenu(QStringLiteral("流量計算表(&T)"));
  menu_->setObjectName("Men_T");
  menu_->menuAction()->setObjectName("Men_T");
  auto entry = [this](const char* name, const char* caption, auto slot) {
    QAction* action = menu_->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  entry("Men_TNew", "新規作成(&N)", &NetworkTableMenu::newTable);
  entry("Men_TOpn", "開く(&O)", &NetworkTableMenu::openTable);
  menu_->addSeparator()->setObjectName("Men_TL1");
  save_ = entry("Men_TOvw", "上書き保存(&S)", &NetworkTableMenu::saveTable);
  saveAs_ = entry("Men_TSav", "名前をつけて保存(&A)", &NetworkTableMenu::saveTableAs);
  menu_->addSeparator()->setObjectName("Men_TL2");
  print_ = entry("Men_TPrn", "印刷(&P)", &NetworkTableMenu::printTable);
  pdf_ = entry("Men_TPdf", "PDF出力(&D)", &NetworkTableMenu::exportPdf);
  menu_->addSeparator()->setObjectName("Men_TL3");
  csvOut_ = entry("Men_TCsvOut", "CSV出力(&E)", &NetworkTableMenu::exportCsv);
  csvResults_ = entry("Men_TCsvRes", "計算結果のCSV出力(&R)", &NetworkTableMenu::exportResultsCsv);
  csvIn_ = entry("Men_TCsvIn", "CSV読込(&I)", &NetworkTableMenu::importCsv);
  connect(menu_, &QMenu::aboutToShow, this, &NetworkTableMenu::updateMenu);
  updateMenu();
  connect(window.workArea(), &QMdiArea::subWindowActivated, this, &NetworkTableMenu::undoStateChanged);
  window.installEventFilter(this);
}

NetworkTableScreen* NetworkTableMenu::screen() const { return screen_; }

NetworkTableScreen* NetworkTableMenu::activeScreen() const {
  if (!screen_) return nullptr;
  QMdiSubWindow* current = window_.workArea()->currentSubWindow();
  return current && current->widget() == screen_ ? screen_.data() : nullptr;
}

void NetworkTableMenu::updateMenu() {
  const bool open = screen_ != nullptr;
  save_->setEnabled(open && !screen_->fileName().isEmpty());
  for (QAction* action : {saveAs_, print_, pdf_, csvOut_, csvResults_}) action->setEnabled(open);
}

NetworkTableScreen* NetworkTableMenu::showScreen() {
  if (!screen_) {
    auto* screen = new NetworkTableScreen(window_.prompter());
    screen->setOpenRowHandler([this](ProjectRecord record) { openRowProject(std::move(record)); });
    connect(screen, &NetworkTableScreen::stateChanged, this, &NetworkTableMenu::updateMenu);
    connect(screen, &NetworkTableScreen::undoStateChanged, this, &NetworkTableMenu::undoStateChanged);
    connect(screen, &QObject::destroyed, this, &NetworkTableMenu::undoStateChanged, Qt::QueuedConnection);
    // The recovery file follows each change of the rows at once (the
    // settings and cells every 30 seconds); a closed table leaves none.
    if (recovery_) {
      auto soon = [this] { recovery_->updateSoon(); };
      NetworkTableModel* model = screen->model();
      connect(model, &QAbstractItemModel::rowsInserted, recovery_, soon);
      connect(model, &QAbstractItemModel::rowsRemoved, recovery_, soon);
      connect(model, &QAbstractItemModel::rowsMoved, recovery_, soon);
      connect(model, &QAbstractItemModel::modelReset, recovery_, soon);
      connect(model, &QAbstractItemModel::layoutChanged, recovery_, soon);
      connect(screen, &QObject::destroyed, recovery_, soon);
    }
    // Ctrl+S in the table's window: saved without a question.
    auto* quickSave = new QAction(QStringLiteral("保存"), screen);
    quickSave->setObjectName("act_quick_save");
    quickSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    quickSave->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(quickSave, &QAction::triggered, this, &NetworkTableMenu::saveQuietly);
    screen->addAction(quickSave);
    // Its close box asks about changes before the table's own handling.
    screen->installEventFilter(this);
    QMdiSubWindow* sub = window_.workArea()->addSubWindow(
        screen, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    sub->setObjectName("NetworkTableWindow");
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(ProgramIcon());
    // As large as the table wants, within the work area.
    const QSize area = window_.workArea()->viewport()->size();
    sub->resize(sub->sizeHint().expandedTo(screen->size()).boundedTo(area.isEmpty() ? screen->size() : area));
    sub->move(0, 0);
    screen_ = screen;
  }
  auto* sub = qobject_cast<QMdiSubWindow*>(screen_->parentWidget());
  screen_->show();
  if (sub) {
    sub->show();
    sub->raise();
    window_.workArea()->setActiveSubWindow(sub);
  }
  updateMenu();
  return screen_;
}

void NetworkTableMenu::newTable() {
  if (!settleChanges()) return;
  NetworkRecord record;
  record.segments.push_back(NewNetworkSegment());
  showScreen()->load(record, QString());
  screen_->table()->setFocus(Qt::OtherFocusReason);
}

QString NetworkTableMenu::startFolder() const {
  return window_.recentFiles().startFolder([] { return DocumentsFolder(); });
}

QString NetworkTableMenu::baseName() const {
  if (!screen_) return QStringLiteral("流量計算表");
  if (!screen_->fileName().isEmpty()) return QFileInfo(screen_->fileName()).completeBaseName();
  const QString title = SafeFileName(QString::fromStdString(screen_->record().settings.title));
  return title.isEmpty() ? QStringLiteral("流量計算表") : title;
}

QString NetworkTableMenu::proposedPath(const QString& suffix) const {
  const QString folder =
      screen_ && !screen_->fileName().isEmpty() ? QFileInfo(screen_->fileName()).absolutePath() : startFolder();
  return QDir(folder).filePath(baseName() + QLatin1Char('.') + suffix);
}

QString NetworkTableMenu::chooseFile(bool save, const QString& title, const QString& filter, const QString& suffix,
                                     const QString& start) {
  QString path = window_.prompter().chooseFile(&window_, FileDialogRequest{save, title, start, filter});
  if (save && !path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
  // The next dialog starts where this one ended.
  if (!path.isEmpty()) window_.recentFiles().rememberFolder(path);
  return path;
}

bool NetworkTableMenu::confirmReplace(const QString& path) {
  if (!QFileInfo::exists(path)) return true;
  const PromptAnswer answer = window_.prompter().ask(
      &window_, PromptRequest{QStringLiteral("上書き保存の確認"), QStringLiteral("同名ファイルがあります。上書き保存しますか？"),
                              PromptButtons::YesNo, PromptIcon::Stop, PromptAnswer::No});
  return answer == PromptAnswer::Yes;
}

bool NetworkTableMenu::settleChanges() {
  if (!screen_ || !screen_->isModified()) return true;
  const PromptAnswer answer = window_.prompter().ask(
      &window_, PromptRequest{QStringLiteral("確認"), QString::fromUtf8(kSaveQuestion),
                              PromptButtons::SaveDiscardCancel, PromptIcon::Question, PromptAnswer::Save});
  if (answer == PromptAnswer::Discard) return true;
  if (answer != PromptAnswer::Save) return false;
  return saveQuietly();
}

void NetworkTableMenu::openTable() {
  if (!settleChanges()) return;
  const QString path = chooseFile(false, QStringLiteral("流量計算表を開く"), QString::fromUtf8(kTableFilter),
                                  QString(), startFolder());
  if (!path.isEmpty()) openTableFile(path);
}

void NetworkTableMenu::openRecent(const QString& path) {
  if (settleChanges()) openTableFile(path);
}

bool NetworkTableMenu::openTableFile(const QString& path) {
  const NetworkFileRead read = ReadNetworkFile(path);
  if (!read.ok()) {
    // A file that cannot be read leaves the open table as it was.
    window_.prompter().error(&window_, read.error);
    return false;
  }
  showScreen()->load(read.record, QFileInfo(path).absoluteFilePath());
  window_.recentFiles().remember(path);
  return true;
}

bool NetworkTableMenu::restoreTable(const QString& path) {
  const NetworkFileRead read = ReadNetworkFile(path);
  if (!read.ok()) {
    window_.prompter().error(&window_, read.error);
    return false;
  }
  showScreen()->load(read.record, QString());
  screen_->markUnsaved();
  if (recovery_) recovery_->update();
  return true;
}

void NetworkTableMenu::keepRecovery(const ProjectRecovery& project) {
  recovery_ = new TableRecovery(
      project, [this]() -> const NetworkRecord* { return screen_ && screen_->isModified() ? &screen_->record() : nullptr; },
      this);
}

bool NetworkTableMenu::writeTable(const QString& path) {
  if (const auto error = WriteNetworkFile(path, screen_->record())) {
    window_.prompter().error(&window_, *error);
    return false;
  }
  screen_->markSaved(QFileInfo(path).absoluteFilePath());
  window_.recentFiles().remember(path);
  if (recovery_) recovery_->update();
  return true;
}

bool NetworkTableMenu::saveQuietly() {
  if (!screen_) return false;
  if (screen_->fileName().isEmpty()) return saveTableAs();
  return writeTable(screen_->fileName());
}

bool NetworkTableMenu::saveTable() {
  if (!screen_) return false;
  if (screen_->fileName().isEmpty()) return saveTableAs();
  const PromptAnswer answer = window_.prompter().ask(
      &window_, PromptRequest{QStringLiteral("確認"), QStringLiteral("上書き保存してもよろしいですか？"),
                              PromptButtons::OkCancel, PromptIcon::None, PromptAnswer::Cancel});
  if (answer != PromptAnswer::Ok) return false;
  return writeTable(screen_->fileName());
}

bool NetworkTableMenu::saveTableAs() {
  if (!screen_) return false;
  const QString path = chooseFile(true, QStringLiteral("流量計算表の保存"), QString::fromUtf8(kTableFilter),
                                  QString::fromLatin1(kNetworkFileSuffix),
                                  proposedPath(QString::fromLatin1(kNetworkFileSuffix)));
  if (path.isEmpty() || !confirmReplace(path)) return false;
  return writeTable(path);
}

bool NetworkTableMenu::computed() { return screen_ && screen_->checkTable(); }

void NetworkTableMenu::printTable() {
  if (!computed()) return;
  PrintNetworkSheet(MakeNetworkSheet(screen_->record(), screen_->computation().table), window_.prompter(), &window_);
}

void NetworkTableMenu::exportPdf() {
  if (!computed()) return;
  const QString path = chooseFile(true, QStringLiteral("流量計算表のPDF出力"), QString::fromUtf8(kPdfFilter),
                                  QStringLiteral("pdf"), proposedPath(QStringLiteral("pdf")));
  if (path.isEmpty() || !confirmReplace(path)) return;
  if (const auto error = WriteNetworkPdf(MakeNetworkSheet(screen_->record(), screen_->computation().table), path))
    window_.prompter().error(&window_, *error);
}

void NetworkTableMenu::exportCsv() {
  if (!screen_) return;
  const QString path = chooseFile(true, QStringLiteral("CSV出力"), QString::fromUtf8(kCsvFilter),
                                  QStringLiteral("csv"), proposedPath(QStringLiteral("csv")));
  if (path.isEmpty() || !confirmReplace(path)) return;
  if (const auto error = WriteNetworkCsv(path, screen_->record().segments)) window_.prompter().error(&window_, *error);
}

// Every column of the computed table, as the table shows it, for the
// engineer's own spreadsheet; the table must compute (its refusal otherwise).
void NetworkTableMenu::exportResultsCsv() {
  if (!computed()) return;
  const QString path =
      chooseFile(true, QStringLiteral("計算結果のCSV出力"), QString::fromUtf8(kCsvFilter), QStringLiteral("csv"),
                 QFileInfo(proposedPath(QStringLiteral("csv"))).dir().filePath(baseName() + QStringLiteral("_計算結果.csv")));
  if (path.isEmpty() || !confirmReplace(path)) return;
  if (const auto error = WriteNetworkResultsCsv(path, screen_->record(), screen_->computation().table))
    window_.prompter().error(&window_, *error);
}

void NetworkTableMenu::importCsv() {
  const QString path =
      chooseFile(false, QStringLiteral("CSV読込"), QString::fromUtf8(kCsvFilter), QString(), startFolder());
  if (path.isEmpty()) return;
  NetworkCsvImport import = ReadNetworkCsv(path);
  if (!import.ok()) {
    window_.prompter().error(&window_, import.error);
    return;
  }
  if (screen_ && !screen_->record().segments.empty()) {
    const PromptAnswer answer = window_.prompter().ask(
        &window_, PromptRequest{QStringLiteral("確認"), QStringLiteral("区間の行を読み込んだ行で置き換えます。よろしいですか？"),
                                PromptButtons::OkCancel, PromptIcon::Question, PromptAnswer::Cancel});
    if (answer != PromptAnswer::Ok) return;
  }
  showScreen()->replaceSegments(std::move(import.segments));
}

void NetworkTableMenu::openRowProject(ProjectRecord record) {
  // The row replaces the open single-facility project, as Open does; its
  // unsaved inputs are asked about first.
  if (window_.findScreen(QStringLiteral("Form25"))) {
    const PromptAnswer answer = window_.prompter().ask(
        &window_, PromptRequest{QStringLiteral("確認"), QStringLiteral("作成中のデータが失われます。区間を開いてもよろしいですか？"),
                                PromptButtons::OkCancel, PromptIcon::Question, PromptAnswer::Cancel});
    if (answer != PromptAnswer::Ok) return;
  }
  const CheckRunOutcome run = CheckRun(record);
  if (!run.passed) {
    window_.prompter().error(&window_, QString::fromStdString(run.failure.message));
    return;
  }
  // Where it came from: the table and the row's 路線番号, also the name its
  // Save As and PDF propose.
  const QModelIndex current = screen_->table()->currentIndex();
  const auto& segments = screen_->record().segments;
  const QString name = current.isValid() && current.row() < static_cast<int>(segments.size())
                           ? QString::fromStdString(segments[static_cast<std::size_t>(current.row())].name).trimmed()
                           : QString();
  QString table = QString::fromStdString(screen_->record().settings.title).trimmed();
  if (table.isEmpty() && !screen_->fileName().isEmpty()) table = QFileInfo(screen_->fileName()).fileName();
  window_.openProjectRecord(std::move(record), SafeFileName(name));
  QString origin = table.isEmpty() ? QStringLiteral("流量計算表") : QStringLiteral("流量計算表「%1」").arg(table);
  origin += name.isEmpty() ? QStringLiteral("の区間より。") : QStringLiteral("の路線番号 %1 より。").arg(name);
  window_.setStatusNotice(origin + window_.statusNotice());
}

bool NetworkTableMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::Close) return QObject::eventFilter(watched, event);
  if (watched == &window_) {
    // Quitting: the changed table is asked about before anything else;
    // its recovery file is brought up to date (Exit keeps it while the
    // table has unsaved changes).
    if (!settleChanges()) {
      event->ignore();
      return true;
    }
    if (recovery_) recovery_->update();
  } else if (watched == screen_) {
    // The table's close box: asked here, so the table's own question is not
    // asked a second time.
    if (!settleChanges()) {
      event->ignore();
      return true;
    }
    event->accept();
    return screen_->isModified();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace mk
