#include "ui/prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace mk {

void Prompter::error(QWidget* parent, const QString& message) {
  ask(parent, PromptRequest{QStringLiteral("エラーメッセージ"), message, PromptButtons::Ok,
                            PromptIcon::None, PromptAnswer::Ok});
}

PromptAnswer MessageBoxPrompter::ask(QWidget* parent, const PromptRequest& request) {
  QMessageBox box(parent);
  box.setWindowTitle(request.title);
  box.setText(request.text);
  switch (request.icon) {
    case PromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
    case PromptIcon::Stop: box.setIcon(QMessageBox::Critical); break;
    case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
    case PromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
  }
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* save = nullptr;
  QPushButton* discard = nullptr;
  switch (request.buttons) {
    case PromptButtons::Ok:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case PromptButtons::OkCancel:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
    case PromptButtons::YesNo:
      yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
      box.setEscapeButton(no);
      break;
    case PromptButtons::SaveDiscardCancel:
      save = box.addButton(QStringLiteral("保存(&S)"), QMessageBox::AcceptRole);
      discard = box.addButton(QStringLiteral("保存しない(&N)"), QMessageBox::DestructiveRole);
      cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
  }
  switch (request.defaultButton) {
    case PromptAnswer::Ok: if (ok) box.setDefaultButton(ok); break;
    case PromptAnswer::Cancel: if (cancel) box.setDefaultButton(cancel); break;
    case PromptAnswer::Yes: if (yes) box.setDefaultButton(yes); break;
    case PromptAnswer::No: if (no) box.setDefaultButton(no); break;
    case PromptAnswer::Save: if (save) box.setDefaultButton(save); break;
    case PromptAnswer::Discard: if (discard) box.setDefaultButton(discard); break;
  }
  box.exec();
  const auto* clicked = box.clickedButton();
  if (clicked == ok && ok) return PromptAnswer::Ok;
  if (clicked == yes && yes) return PromptAnswer::Yes;
  if (clicked == no && no) return PromptAnswer::No;
  if (clicked == cancel && cancel) return PromptAnswer::Cancel;
  if (clicked == save && save) return PromptAnswer::Save;
  if (clicked == discard && discard) return PromptAnswer::Discard;
  // Closed by the window's close box: the escape answer.
  if (request.buttons == PromptButtons::YesNo) return PromptAnswer::No;
  if (request.buttons == PromptButtons::OkCancel || request.buttons == PromptButtons::SaveDiscardCancel)
    return PromptAnswer::Cancel;
  return PromptAnswer::Ok;
}

QString MessageBoxPrompter::chooseFile(QWidget* parent, const FileDialogRequest& request) {
  // The program's own overwrite confirmation is asked separately.
  if (request.save)
    return QFileDialog::getSaveFileName(parent, request.title, request.directory, request.filter,
                                        nullptr,
                                        QFileDialog::DontConfirmOverwrite | QFileDialog::HideNameFilterDetails);
  return QFileDialog::getOpenFileName(parent, request.title, request.directory, request.filter, nullptr,
                                      QFileDialog::HideNameFilterDetails);
}

void MessageBoxPrompter::beep() { QApplication::beep(); }

PromptAnswer RecordingPrompter::ask(QWidget*, const PromptRequest& request) {
  requests.append(request);
  if (!answers.isEmpty()) return answers.takeFirst();
  return request.defaultButton;
}

QString RecordingPrompter::chooseFile(QWidget*, const FileDialogRequest& request) {
  fileRequests.append(request);
  if (!files.isEmpty()) return files.takeFirst();
  return QString();
}

}  // namespace mk
