#pragma once
// The one seam for message boxes, file dialogs and the beep.  Screens never
// call QMessageBox or QFileDialog directly: production shows the real
// dialogs, tests install a RecordingPrompter that answers from a script.

#include <QList>
#include <QString>

class QWidget;

namespace mk {

// SaveDiscardCancel: 保存 / 保存しない / キャンセル, asked before a changed
// document is closed or replaced (answers Save, Discard, Cancel).
enum class PromptButtons { Ok, OkCancel, YesNo, SaveDiscardCancel };
enum class PromptIcon { None, Question, Stop, Information, Warning };
enum class PromptAnswer { Ok, Cancel, Yes, No, Save, Discard };

struct PromptRequest {
  QString title;
  QString text;
  PromptButtons buttons = PromptButtons::Ok;
  PromptIcon icon = PromptIcon::None;
  PromptAnswer defaultButton = PromptAnswer::Ok;
};

struct FileDialogRequest {
  bool save = false;      // save dialog (true) or open dialog
  QString title;          // "ミルカナを開く" / "ミルカナの保存"
  QString directory;      // starting folder
  QString filter;         // Qt filter text, e.g. "ミルカナ (*.vor)"
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual PromptAnswer ask(QWidget* parent, const PromptRequest& request) = 0;
  // Returns the chosen path, or an empty string when the dialog was cancelled.
  virtual QString chooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual void beep() = 0;

  // A validation message: title "エラーメッセージ", one OK button, no icon.
  void error(QWidget* parent, const QString& message);
};

// Real message boxes and file dialogs.
class MessageBoxPrompter : public Prompter {
 public:
  PromptAnswer ask(QWidget* parent, const PromptRequest& request) override;
  QString chooseFile(QWidget* parent, const FileDialogRequest& request) override;
  void beep() override;
};

// Records every request; answers from queues (default: the request's
// default button, and "" for file dialogs).  For tests.
class RecordingPrompter : public Prompter {
 public:
  PromptAnswer ask(QWidget* parent, const PromptRequest& request) override;
  QString chooseFile(QWidget* parent, const FileDialogRequest& request) override;
  void beep() override { ++beeps; }

  QString lastText() const { return requests.isEmpty() ? QString() : requests.last().text; }
  void clear() {
    requests.clear();
    fileRequests.clear();
    beeps = 0;
  }

  QList<PromptRequest> requests;
  QList<FileDialogRequest> fileRequests;
  QList<PromptAnswer> answers;  // consumed front first
  QList<QString> files;         // consumed front first
  int beeps = 0;
};

}  // namespace mk
