#include "ui/flow_time_circular_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

FlowTimeCircularScreen::FlowTimeCircularScreen(ScreenHost& host, QWidget* parent)
    : FlowTimeFacilityScreen(host, QStringLiteral("Form20"), QStringLiteral("円　形　管"), parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 12);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);
  grid->addWidget(makeHeading(QStringLiteral("円　形　管")), 0, 0, 1, 2);

  // One row: caption, box and, beside the box, its unit.
  auto addRow = [&](int row, const QString& caption, const QString& name, int width,
                    const QString& unit = QString()) {
    auto* label = new QLabel(caption, this);
    NameControl(label, QStringLiteral("Label%1").arg(row + 1));
    auto* box = new EntryBox(this);
    NameControl(box, name, caption);
    box->setFixedWidth(width);
    auto* cell = new QHBoxLayout;
    cell->setSpacing(4);
    cell->addWidget(box);
    if (!unit.isEmpty()) cell->addWidget(new QLabel(unit, this));
    cell->addStretch(1);
    grid->addWidget(label, row, 0);
    grid->addLayout(cell, row, 1);
    return box;
  };
  txt_m_ = addRow(1, QStringLiteral("管の材料・名称"), QStringLiteral("txt_m"), 200);
  txt1_ = addRow(2, QStringLiteral("直径 Ｄ＝"), QStringLiteral("txt1"), 110, QStringLiteral("m"));
  txt2_ = addRow(3, QStringLiteral("施設の勾配 x/1000"), QStringLiteral("txt2"), 110);
  txt3_ = addRow(4, QStringLiteral("粗度係数"), QStringLiteral("txt3"), 110);

  OtherCircularInputs& f = host_.record().flowTime.form20;
  auto* depthCaption = new QLabel(QStringLiteral("有効水深 水量"), this);
  NameControl(depthCaption, QStringLiteral("Label6"));
  cbo1_ = makeDepthChoice(depthCaption->text(), &f.cbo1);
  cbo1_->setFixedWidth(110);
  grid->addWidget(depthCaption, 5, 0);
  grid->addWidget(cbo1_, 5, 1, Qt::AlignLeft);

  grid->addLayout(makeButtonRow(cmd1_, cmd2_), 6, 0, 1, 2);
  grid->setRowStretch(7, 1);

  enter_ = new EnterOrder(this);
  enter_->setOrder({txt_m_, txt1_, txt2_, txt3_, cbo1_, cmd1_});

  BindTextToRecord(txt_m_, &f.txt_m);
  BindTextToRecord(txt1_, &f.txt1);
  BindTextToRecord(txt2_, &f.txt2);
  BindTextToRecord(txt3_, &f.txt3);

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

}  // namespace mk
