#include "ui/flow_time_pipe_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "calc/catalogue.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

constexpr int kUTroughKind = 5;

DepthListKind DepthListOf(bool trough) {
  return trough ? DepthListKind::OpenChannel : DepthListKind::Circular;
}

}  // namespace

void ResetFlowTimePipeInputs(FlowTimeFacilityInputs& inputs, int kind) {
  const bool trough = kind == kUTroughKind;
  CatalogueFacilityInputs& f = inputs.form18;
  f.lst_pu = 0;
  f.txt1.clear();
  if (trough) {
    f.txt2 = kUTroughRoughness;
  } else if (const auto material = MaterialFromKind(kind)) {
    f.txt2 = DefaultRoughness(*material);
  }
  f.cbo1 = DefaultDepthIndex(DepthListOf(trough));
}

FlowTimePipeScreen::FlowTimePipeScreen(ScreenHost& host, QWidget* parent)
    : FlowTimeFacilityScreen(host, QStringLiteral("Form18"), QString(), parent) {

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 12);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);

  Label1_ = makeHeading(QString());
  grid->addWidget(Label1_, 0, 0);

  lst_pu_ = new QListWidget(this);
  lst_pu_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lst_pu_->setFixedWidth(190);
  lst_pu_->setFixedHeight(170);
  grid->addWidget(lst_pu_, 1, 0, 4, 1);

  auto* slopeCaption = new QLabel(QStringLiteral("施設の勾配 x/1000"), this);
  NameControl(slopeCaption, QStringLiteral("Label2"));
  txt1_ = new EntryBox(this);
  NameControl(txt1_, QStringLiteral("txt1"), QStringLiteral("施設の勾配 x/1000"));
  grid->addWidget(slopeCaption, 1, 1);
  grid->addWidget(txt1_, 1, 2);

  auto* roughnessCaption = new QLabel(QStringLiteral("粗度係数"), this);
  NameControl(roughnessCaption, QStringLiteral("Label3"));
  txt2_ = new EntryBox(this);
  NameControl(txt2_, QStringLiteral("txt2"), QStringLiteral("粗度係数"));
  grid->addWidget(roughnessCaption, 2, 1);
  grid->addWidget(txt2_, 2, 2);

  FlowTimeFacilityInputs& inputs = host_.record().flowTime;
  Label6_ = new QLabel(this);
  NameControl(Label6_, QStringLiteral("Label6"));
  cbo1_ = makeDepthChoice(QString(), &inputs.form18.cbo1);
  grid->addWidget(Label6_, 3, 1);
  grid->addWidget(cbo1_, 3, 2);
  for (QWidget* box : {static_cast<QWidget*>(txt1_), static_cast<QWidget*>(txt2_),
                       static_cast<QWidget*>(cbo1_)})
    box->setFixedWidth(110);

  grid->addLayout(makeButtonRow(cmd1_, cmd2_), 4, 1, 1, 2, Qt::AlignBottom);
  grid->setRowStretch(4, 1);

  enter_ = new EnterOrder(this);
  enter_->setTarget(cbo1_, [this] { return cmd1_; });
  enter_->setPressOnEnter(cmd1_);

  BindTextToRecord(txt1_, &inputs.form18.txt1);
  BindTextToRecord(txt2_, &inputs.form18.txt2);
  connect(lst_pu_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!loading_) host_.record().flowTime.form18.lst_pu = row;
  });

  load();
}

bool FlowTimePipeScreen::isUTrough() const { return host_.record().flowTime.lst_s == kUTroughKind; }

void FlowTimePipeScreen::load() {
  const FlowTimeFacilityInputs& inputs = host_.record().flowTime;
  const CatalogueFacilityInputs& f = inputs.form18;
  const bool trough = isUTrough();
  loading_ = true;

  QString caption;
  if (trough) {
    caption = QString::fromUtf8(kUTroughCaption);
  } else if (const auto material = MaterialFromKind(inputs.lst_s)) {
    caption = QString::fromStdString(MaterialCaption(*material));
  }
  Label1_->setText(caption);
  setWindowTitle(caption);
  setAccessibleName(caption);
  NameControl(lst_pu_, QStringLiteral("lst_pu"), caption);
  Label6_->setText(trough ? QStringLiteral("有効水深") : QStringLiteral("有効水深 水量"));
  NameControl(cbo1_, QStringLiteral("cbo1"), Label6_->text());

  lst_pu_->clear();
  const auto material = MaterialFromKind(inputs.lst_s);
  if (trough || material) {
    for (const CatalogueSize& size : trough ? UTroughSizes() : PipeSizes(*material))
      lst_pu_->addItem(QString::fromStdString(size.label));
  }
  lst_pu_->setCurrentRow(f.lst_pu >= 0 && f.lst_pu < lst_pu_->count() ? f.lst_pu : -1);
  if (QListWidgetItem* current = lst_pu_->currentItem()) lst_pu_->scrollToItem(current);

  txt1_->setText(QString::fromStdString(f.txt1));
  txt2_->setText(QString::fromStdString(f.txt2));
  FillDepthChoices(cbo1_, DepthListOf(trough), f.cbo1);
  loading_ = false;
}

}  // namespace mk
