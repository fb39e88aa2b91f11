#include "ui/undo_history.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <utility>

#include "ui/screen_host.h"

namespace mk {

namespace {

// The screens left only by their OK or Cancel that live in the work area.
const char* const kSubScreens[] = {"Form12", "Form16", "Form17", "Form18", "Form19", "Form20", "Form21"};

// "Form.control" of the focused control, or "" when it is on no screen.
QString FocusedControl(ScreenHost& host) {
  QWidget* focus = QApplication::focusWidget();
  for (QWidget* w = focus; w; w = w->parentWidget()) {
    const QString form = w->objectName();
    if (form.startsWith(QLatin1String("Form")) && host.findScreen(form) == w)
      return w == focus ? QString() : form + QLatin1Char('.') + focus->objectName();
  }
  return QString();
}

bool IsSubScreen(QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return false;
  if (widget->isWindow() && widget->isModal()) return true;
  for (const char* form : kSubScreens)
    if (widget->objectName() == QLatin1String(form)) return true;
  return false;
}

bool Matches(const QAction* action, const QKeySequence& pressed) {
  for (const QKeySequence& shortcut : action->shortcuts())
    if (shortcut == pressed) return true;
  return false;
}

}  // namespace

UndoHistory::UndoHistory(ScreenHost& host, Restore restore, State state, QObject* parent)
    : QObject(parent),
      host_(host),
      restore_(std::move(restore)),
      state_(std::move(state)),
      current_(host.record()) {
  qApp->installEventFilter(this);
  connect(qApp, &QApplication::focusChanged, this, [this] { schedule(true); });
}

QMenu* UndoHistory::addMenu(QMenuBar* bar, QAction* before) {
  auto* menu = new QMenu(QStringLiteral("編集(&E)"), bar);
  menu->setObjectName("Men_E");
  menu->menuAction()->setObjectName("Men_E");
  bar->insertMenu(before, menu);
  undoAction_ = menu->addAction(QStringLiteral("元に戻す(&U)"));
  undoAction_->setObjectName("Men_EUndo");
  undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redoAction_ = menu->addAction(QStringLiteral("やり直し(&R)"));
  redoAction_->setObjectName("Men_ERedo");
  redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(undoAction_, &QAction::triggered, this, &UndoHistory::undo);
  connect(redoAction_, &QAction::triggered, this, &UndoHistory::redo);
  connect(menu, &QMenu::aboutToShow, this, &UndoHistory::updateActions);
  updateActions();
  return menu;
}

void UndoHistory::clear() {
  undo_.clear();
  redo_.clear();
  current_ = host_.record();
  wasInSubScreen_ = false;
  updateActions();
}

void UndoHistory::replaceProject(const std::function<bool()>& replace) {
  // The last visit of a box is a step of the project it was typed in.
  checkpoint(true);
  Step before{host_.record(), state_()};
  if (!replace()) return updateActions();
  if (before.state->open) {
    push(undo_, std::move(before));
    redo_.clear();
  }
  current_ = host_.record();
  wasInSubScreen_ = false;
  updateActions();
}

void UndoHistory::setChildHistory(std::function<ChildHistory*()> active) {
  child_ = std::move(active);
  updateActions();
}

ChildHistory* UndoHistory::child() const { return child_ ? child_() : nullptr; }

void UndoHistory::push(std::deque<Step>& steps, Step step) {
  steps.push_back(std::move(step));
  if (steps.size() > kMaxSteps) steps.pop_front();
}

bool UndoHistory::projectOpen() { return host_.findScreen(QStringLiteral("Form25")) != nullptr; }

bool UndoHistory::inSubScreen() {
  if (QApplication::activeModalWidget()) return true;
  for (const char* form : kSubScreens) {
    QWidget* screen = host_.findScreen(QString::fromLatin1(form));
    if (screen && screen->isVisible()) return true;
  }
  return false;
}

bool UndoHistory::pending() { return !SameInputs(host_.record(), current_); }

void UndoHistory::checkpoint(bool force) {
  if (restoring_) return;
  if (!projectOpen()) return updateActions();
  if (inSubScreen()) {
    wasInSubScreen_ = true;
    return updateActions();
  }
  const bool leftSubScreen = std::exchange(wasInSubScreen_, false);
  auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  const bool typing = box && !box->isReadOnly();
  if ((force || leftSubScreen || !typing) && pending()) {
    push(undo_, Step{std::move(current_), std::nullopt});
    current_ = host_.record();
    redo_.clear();
  }
  updateActions();
  if (leftSubScreen) emit subScreenLeft();
}

void UndoHistory::schedule(bool force) {
  // After the event that finished the edit has been handled in full: a
  // handler that moves the focus halfway through is still one step.
  scheduledForce_ = scheduledForce_ || force;
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    checkpoint(std::exchange(scheduledForce_, false));
  });
}

// With no project open (after Close) the steps before it still come back.
bool UndoHistory::canUndoProject() {
  return !inSubScreen() && (!undo_.empty() || (projectOpen() && pending()));
}

bool UndoHistory::canRedoProject() { return !inSubScreen() && !redo_.empty() && !(projectOpen() && pending()); }

bool UndoHistory::canUndo() {
  if (ChildHistory* table = child()) return table->canUndo();
  return canUndoProject();
}

bool UndoHistory::canRedo() {
  if (ChildHistory* table = child()) return table->canRedo();
  return canRedoProject();
}

void UndoHistory::undo() {
  if (ChildHistory* table = child()) {
    if (table->canUndo()) table->undo();
    return updateActions();
  }
  checkpoint(true);
  if (canUndoProject()) restore(undo_, redo_);
}

void UndoHistory::redo() {
  if (ChildHistory* table = child()) {
    if (table->canRedo()) table->redo();
    return updateActions();
  }
  checkpoint(true);
  if (canRedoProject()) restore(redo_, undo_);
}

void UndoHistory::restore(std::deque<Step>& from, std::deque<Step>& to) {
  Step target = std::move(from.back());
  from.pop_back();
  // A step across New, Open or Close is undone by the same step back.
  to.push_back(Step{host_.record(), target.state ? std::optional<ProjectState>(state_()) : std::nullopt});
  const QString focus = FocusedControl(host_);
  restoring_ = true;
  restore_(target.record, target.state ? &*target.state : nullptr);
  restoring_ = false;
  wasInSubScreen_ = false;
  current_ = host_.record();
  if (!focus.isEmpty()) host_.focusControl(focus);
  updateActions();
}

void UndoHistory::updateActions() {
  if (undoAction_) undoAction_->setEnabled(canUndo());
  if (redoAction_) redoAction_->setEnabled(canRedo());
}

bool UndoHistory::isUndoKey(const QKeyEvent* key) const {
  if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) return true;
  const QKeySequence pressed(key->keyCombination());
  return (undoAction_ && Matches(undoAction_, pressed)) || (redoAction_ && Matches(redoAction_, pressed));
}

bool UndoHistory::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      // A text box of the main window would undo its own typing: the key
      // goes to the menu's shortcut instead (or nowhere while it is disabled).
      auto* box = qobject_cast<QLineEdit*>(watched);
      auto* key = static_cast<QKeyEvent*>(event);
      if (!box || !isUndoKey(key) || !host_.workArea() || box->window() != host_.workArea()->window() ||
          inSubScreen())
        break;
      if (event->type() == QEvent::ShortcutOverride)
        key->ignore();
      else
        key->accept();
      return true;
    }
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
      if (watched->isWidgetType()) schedule(false);
      break;
    case QEvent::Show:
    case QEvent::Hide:
      // A sub-screen or dialog: shown, the step waits for it; hidden, the
      // step is taken (also when nothing else happens after its OK).
      if (IsSubScreen(watched)) {
        wasInSubScreen_ = true;
        if (event->type() == QEvent::Hide) schedule(false);
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace mk
