#include "ui/river_course_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calc/intensity.h"
#include "ui/prompter.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

void SetOption(QRadioButton* option, bool checked) {
  option->setAutoExclusive(false);
  option->setChecked(checked);
  option->setAutoExclusive(true);
}

}  // namespace

RiverCourseScreen::RiverCourseScreen(ScreenHost& host, QWidget* parent)
    : QDialog(parent), host_(host) {
  NameScreen(this, "Form22", QStringLiteral("ミルカナ"));
  build();
  load();
}

void RiverCourseScreen::build() {
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("流下時間（t2）茨城県"));
  QFont titleFont = title->font();
  titleFont.setBold(true);
  title->setFont(titleFont);
  layout->addWidget(title);

  auto* frame = new QGroupBox(QStringLiteral("開発の前または後を選択してください"), this);
  auto* choices = new QGridLayout(frame);
  opt1_ = new QRadioButton(QStringLiteral("開発前"));
  opt2_ = new QRadioButton(QStringLiteral("開発後"));
  NameControl(opt1_, "opt1", opt1_->text());
  NameControl(opt2_, "opt2", opt2_->text());
  auto* before = new FormulaDrawing;
  before->text(QStringLiteral("　t2=0.83L/i")).raised(QStringLiteral("0.6"));
  auto* after = new FormulaDrawing;
  after->text(QStringLiteral("　t2=0.36L/i")).raised(QStringLiteral("0.5"));
  choices->addWidget(opt1_, 0, 0);
  choices->addWidget(before, 0, 1, Qt::AlignLeft);
  choices->addWidget(opt2_, 1, 0);
  choices->addWidget(after, 1, 1, Qt::AlignLeft);
  choices->setColumnStretch(1, 1);
  layout->addWidget(frame);

  txt1_ = new EntryBox;
  txt2_ = new EntryBox;
  NameControl(txt1_, "txt1", QStringLiteral("河道延長 L="));
  NameControl(txt2_, "txt2", QStringLiteral("河道の勾配 i ="));
  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel(QStringLiteral("河道延長 L=")), 0, 0, Qt::AlignRight);
  boxes->addWidget(txt1_, 0, 1);
  boxes->addWidget(new QLabel(QStringLiteral("km")), 0, 2);
  boxes->addWidget(new QLabel(QStringLiteral("河道の勾配 i =")), 1, 0, Qt::AlignRight);
  boxes->addWidget(txt2_, 1, 1);
  boxes->setColumnMinimumWidth(1, 120);
  boxes->setColumnStretch(3, 1);
  layout->addLayout(boxes);

  cmd1_ = new QPushButton(QStringLiteral("ＯＫ"));
  cmd2_ = new QPushButton(QStringLiteral("キャンセル"));
  NameControl(cmd1_, "cmd1", cmd1_->text());
  NameControl(cmd2_, "cmd2", cmd2_->text());
  for (QPushButton* button : {cmd1_, cmd2_}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmd1_);
  buttons->addWidget(cmd2_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  RiverCourseInputs& river = host_.record().river;
  connect(opt1_, &QRadioButton::clicked, this, [&river] {
    river.opt1 = true;
    river.opt2 = false;
  });
  connect(opt2_, &QRadioButton::clicked, this, [&river] {
    river.opt1 = false;
    river.opt2 = true;
  });
  connect(txt1_, &QLineEdit::textEdited, this, [&river](const QString& t) { river.txt1 = t.toStdString(); });
  connect(txt2_, &QLineEdit::textEdited, this, [&river](const QString& t) { river.txt2 = t.toStdString(); });
  connect(cmd1_, &QPushButton::clicked, this, &RiverCourseScreen::onOk);
  connect(cmd2_, &QPushButton::clicked, this, &RiverCourseScreen::reject);

  enter_ = new EnterOrder(this);
  enter_->setOrder({txt1_, txt2_, cmd1_});
}

void RiverCourseScreen::load() {
  const RiverCourseInputs& river = host_.record().river;
  SetOption(opt1_, river.opt1);
  SetOption(opt2_, river.opt2);
  txt1_->setText(QString::fromStdString(river.txt1));
  txt2_->setText(QString::fromStdString(river.txt2));
}

void RiverCourseScreen::onOk() {
  if (auto failure = ValidateRiverCourseScreen(host_.record().river)) {
    host_.prompter().error(this, QString::fromStdString(failure->message));
    host_.focusControl(QString::fromStdString(failure->focus));
    return;
  }
  QDialog::accept();
}

void RiverCourseScreen::reject() {
  host_.record().river = RiverCourseInputs{};
  load();
  QDialog::reject();
  if (auto* intensity = qobject_cast<RainfallIntensityScreen*>(host_.findScreen("Form12")))
    intensity->leaveRiverCourseMode();
  else
    LeaveRiverCourseMode(host_.record().intensity);
}

void RiverCourseScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void RiverCourseScreen::showEvent(QShowEvent* event) {
  load();
  QDialog::showEvent(event);
}

}  // namespace mk
