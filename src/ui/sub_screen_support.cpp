#include "ui/sub_screen_support.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/prompter.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

QLabel* TitleLine(const QString& text, double scale) {
  auto* title = new QLabel(text);
  QFont font = title->font();
  if (scale != 1.0) font.setPointSizeF(font.pointSizeF() * scale);
  font.setBold(true);
  title->setFont(font);
  return title;
}

QLabel* ColumnHead(const QString& text) {
  auto* label = new QLabel(text);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

void SetOption(QRadioButton* option, bool checked) {
  option->setAutoExclusive(false);
  option->setChecked(checked);
  option->setAutoExclusive(true);
}

void BindText(EntryBox* box, std::string& field) {
  QObject::connect(box, &QLineEdit::textEdited, box,
                   [&field](const QString& text) { field = text.toStdString(); });
}

void AddEntryRow(QGridLayout* grid, int row, const QString& caption, const QString& sign, EntryBox* box,
                 const QString& unit) {
  if (!caption.isEmpty()) grid->addWidget(new QLabel(caption), row, 0);
  grid->addWidget(new QLabel(sign), row, 1, Qt::AlignRight);
  grid->addWidget(box, row, 2);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit), row, 3);
}

QHBoxLayout* OkCancelRow(QPushButton*& ok, QPushButton*& cancel) {
  ok = new QPushButton(QStringLiteral("ＯＫ"));
  cancel = new QPushButton(QStringLiteral("キャンセル"));
  NameControl(ok, QStringLiteral("cmd1"), ok->text());
  NameControl(cancel, QStringLiteral("cmd2"), cancel->text());
  auto* row = new QHBoxLayout;
  row->addStretch();
  for (QPushButton* button : {ok, cancel}) {
    button->setAutoDefault(false);
    button->setDefault(false);
    row->addWidget(button);
  }
  return row;
}

bool PressFocusedButtonOnEnter(QWidget* screen, QKeyEvent* event) {
  if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
  if (auto* button = qobject_cast<QPushButton*>(screen->focusWidget())) button->click();
  return true;
}

bool ShowFailure(ScreenHost& host, QWidget* screen, const std::optional<CalcError>& failure) {
  if (!failure) return false;
  host.prompter().error(screen, QString::fromStdString(failure->message));
  if (!failure->focus.empty()) host.focusControl(QString::fromStdString(failure->focus));
  return true;
}

SubScreenDialog::SubScreenDialog(ScreenHost& host, const QString& form, QWidget* parent)
    : QDialog(parent), host_(host) {
  NameScreen(this, form, QStringLiteral("ミルカナ"));
}

void SubScreenDialog::addOkCancel(QBoxLayout* layout) {
  layout->addLayout(OkCancelRow(cmd1_, cmd2_));
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(cmd1_, &QPushButton::clicked, this, [this] { onOk(); });
  connect(cmd2_, &QPushButton::clicked, this, &QDialog::reject);
}

void SubScreenDialog::keyPressEvent(QKeyEvent* event) {
  if (PressFocusedButtonOnEnter(this, event)) return;
  QDialog::keyPressEvent(event);  // Escape: reject()
}

void SubScreenDialog::showEvent(QShowEvent* event) {
  load();
  QDialog::showEvent(event);
}

}  // namespace mk
