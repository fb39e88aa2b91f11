#include "ui/flow_time_circular_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "calc/catalogue.h"
#include "ui/flow_time_selection_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

EntryBox* AddRow(QWidget* screen, QGridLayout* grid, int row, const QString& caption,
                 const QString& name, const QString& unit = QString()) {
  auto* label = new QLabel(caption, screen);
  NameControl(label, QStringLiteral("Label%1").arg(row + 2));
  auto* box = new EntryBox(screen);
  NameControl(box, name, caption);
  grid->addWidget(label, row, 0);
  grid->addWidget(box, row, 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, screen), row, 2);
  return box;
}

}  // namespace

FlowTimeCircularScreen::FlowTimeCircularScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  NameScreen(this, QStringLiteral("Form20"), QStringLiteral("円　形　管"));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 12);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);

  auto* heading = new QLabel(QStringLiteral("円　形　管"), this);
  QFont headingFont = heading->font();
  headingFont.setBold(true);
  heading->setFont(headingFont);
  NameControl(heading, QStringLiteral("Label1"));
  grid->addWidget(heading, 0, 0, 1, 3);

  txt_m_ = AddRow(this, grid, 1, QStringLiteral("管の材料・名称"), QStringLiteral("txt_m"));
  txt1_ = AddRow(this, grid, 2, QStringLiteral("直径 Ｄ＝"), QStringLiteral("txt1"), QStringLiteral("m"));
  txt2_ = AddRow(this, grid, 3, QStringLiteral("施設の勾配 x/1000"), QStringLiteral("txt2"));
  txt3_ = AddRow(this, grid, 4, QStringLiteral("粗度係数"), QStringLiteral("txt3"));
  txt_m_->setFixedWidth(200);
  for (EntryBox* box : {txt1_, txt2_, txt3_}) box->setFixedWidth(110);

  auto* depthCaption = new QLabel(QStringLiteral("有効水深 水量"), this);
  NameControl(depthCaption, QStringLiteral("Label6"));
  cbo1_ = new QComboBox(this);
  NameControl(cbo1_, QStringLiteral("cbo1"), QStringLiteral("有効水深 水量"));
  cbo1_->setMaxVisibleItems(15);
  cbo1_->setFixedWidth(110);
  grid->addWidget(depthCaption, 5, 0);
  grid->addWidget(cbo1_, 5, 1, Qt::AlignLeft);

  cmd1_ = new QPushButton(QStringLiteral("計算"), this);
  NameControl(cmd1_, QStringLiteral("cmd1"), QStringLiteral("計算"));
  cmd2_ = new QPushButton(QStringLiteral("キャンセル"), this);
  NameControl(cmd2_, QStringLiteral("cmd2"), QStringLiteral("キャンセル"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmd1_);
  buttons->addWidget(cmd2_);
  grid->addLayout(buttons, 6, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(7, 1);

  enter_ = new EnterOrder(this);
  enter_->setOrder({txt_m_, txt1_, txt2_, txt3_, cbo1_, cmd1_});

  OtherCircularInputs& f = host_.record().flowTime.form20;
  BindTextToRecord(txt_m_, &f.txt_m);
  BindTextToRecord(txt1_, &f.txt1);
  BindTextToRecord(txt2_, &f.txt2);
  BindTextToRecord(txt3_, &f.txt3);
  connect(cbo1_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!loading_) host_.record().flowTime.form20.cbo1 = index;
  });
  connect(cmd1_, &QPushButton::clicked, this, [this] { compute(); });
  connect(cmd2_, &QPushButton::clicked, this, [this] { CancelFlowTimeVelocity(host_); });

  load();
}

void FlowTimeCircularScreen::load() {
  const OtherCircularInputs& f = host_.record().flowTime.form20;
  loading_ = true;
  txt_m_->setText(QString::fromStdString(f.txt_m));
  txt1_->setText(QString::fromStdString(f.txt1));
  txt2_->setText(QString::fromStdString(f.txt2));
  txt3_->setText(QString::fromStdString(f.txt3));
  FillDepthChoices(cbo1_, DepthListKind::Circular, f.cbo1);
  loading_ = false;
}

void FlowTimeCircularScreen::compute() {
  double velocity = 0.0;
  if (!ComputeFlowTimeVelocity(host_, this, velocity)) return;
  HandBackFlowTimeVelocity(host_, objectName(), velocity);
}

}  // namespace mk
