#include "ui/river_course_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calc/intensity.h"
#include "ui/formula_drawing.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

RiverCourseScreen::RiverCourseScreen(ScreenHost& host, QWidget* parent)
    : SubScreenDialog(host, QStringLiteral("Form22"), parent) {
  build();
  load();
}

void RiverCourseScreen::build() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TitleLine(QStringLiteral("流下時間（t2）茨城県")));

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
  AddEntryRow(boxes, 0, QString(), QStringLiteral("河道延長 L="), txt1_, QStringLiteral("km"));
  AddEntryRow(boxes, 1, QString(), QStringLiteral("河道の勾配 i ="), txt2_);
  boxes->setColumnMinimumWidth(2, 120);
  boxes->setColumnStretch(4, 1);
  layout->addLayout(boxes);

  addOkCancel(layout);

  RiverCourseInputs& river = host_.record().river;
  connect(opt1_, &QRadioButton::clicked, this, [&river] {
    river.opt1 = true;
    river.opt2 = false;
  });
  connect(opt2_, &QRadioButton::clicked, this, [&river] {
    river.opt1 = false;
    river.opt2 = true;
  });
  BindText(txt1_, river.txt1);
  BindText(txt2_, river.txt2);

  auto* enter = new EnterOrder(this);
  enter->setOrder({txt1_, txt2_, cmd1_});
}

void RiverCourseScreen::load() {
  const RiverCourseInputs& river = host_.record().river;
  SetOption(opt1_, river.opt1);
  SetOption(opt2_, river.opt2);
  txt1_->setText(QString::fromStdString(river.txt1));
  txt2_->setText(QString::fromStdString(river.txt2));
}

void RiverCourseScreen::onOk() {
  if (ShowFailure(host_, this, ValidateRiverCourseScreen(host_.record().river))) return;
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

}  // namespace mk
