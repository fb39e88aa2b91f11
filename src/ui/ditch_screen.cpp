#include "ui/ditch_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

// Sketch geometry in pixels: ground level, bottom, left edge, wall runs.
constexpr int kTop = 34;
constexpr int kBottom = 98;
constexpr int kLeft = 26;
constexpr int kLeftRun = 34;   // b3
constexpr int kBottomWidth = 82;  // b1
constexpr int kRightRun = 46;  // b2 - b1 - b3

void Arrow(QPainter& p, QPointF tip, QPointF from) {
  const QLineF shaft(tip, from);
  QLineF wing = shaft;
  wing.setLength(6);
  QLineF a = wing;
  a.setAngle(wing.angle() + 22);
  QLineF b = wing;
  b.setAngle(wing.angle() - 22);
  p.drawLine(a);
  p.drawLine(b);
}

void Dimension(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  Arrow(p, from, to);
  Arrow(p, to, from);
}

}  // namespace

DitchSketch::DitchSketch(QWidget* parent) : QWidget(parent) {
  NameControl(this, QStringLiteral("Picture1"), QStringLiteral("施設の形状"));
  setFixedSize(sizeHint());
}

QSize DitchSketch::sizeHint() const { return {kLeft + kLeftRun + kBottomWidth + kRightRun + 46, kBottom + 36}; }

void DitchSketch::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);

  const QPointF topLeft(kLeft, kTop);
  const QPointF bottomLeft(kLeft + kLeftRun, kBottom);
  const QPointF bottomRight(kLeft + kLeftRun + kBottomWidth, kBottom);
  const QPointF topRight(kLeft + kLeftRun + kBottomWidth + kRightRun, kTop);

  // The ditch: ground on both sides, the two walls and the bottom.
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(QPointF(kLeft - 18, kTop), topLeft);
  p.drawPolyline(QPolygonF{topLeft, bottomLeft, bottomRight, topRight});
  p.drawLine(topRight, topRight + QPointF(14, 0));

  // Extension lines.
  QPen thin(QColor(90, 90, 90), 1, Qt::DashLine);
  p.setPen(thin);
  const double topDim = kTop - 16;
  const double bottomDim = kBottom + 14;
  const double rightDim = topRight.x() + 22;
  p.drawLine(topLeft, QPointF(topLeft.x(), topDim - 4));
  p.drawLine(topRight, QPointF(topRight.x(), topDim - 4));
  p.drawLine(topLeft, QPointF(topLeft.x(), bottomDim + 4));
  p.drawLine(bottomLeft, QPointF(bottomLeft.x(), bottomDim + 4));
  p.drawLine(bottomRight, QPointF(bottomRight.x(), bottomDim + 4));
  p.drawLine(topRight + QPointF(14, 0), QPointF(rightDim + 4, kTop));
  p.drawLine(bottomRight, QPointF(rightDim + 4, kBottom));

  // Dimension lines and their letters.
  p.setPen(QPen(Qt::black, 1));
  Dimension(p, QPointF(topLeft.x(), topDim), QPointF(topRight.x(), topDim));
  Dimension(p, QPointF(topLeft.x(), bottomDim), QPointF(bottomLeft.x(), bottomDim));
  Dimension(p, QPointF(bottomLeft.x(), bottomDim), QPointF(bottomRight.x(), bottomDim));
  Dimension(p, QPointF(rightDim, kTop), QPointF(rightDim, kBottom));

  const QFontMetrics metrics(font());
  auto letter = [&](const QString& text, double centreX, double baseline) {
    p.drawText(QPointF(centreX - metrics.horizontalAdvance(text) / 2.0, baseline), text);
  };
  letter(QStringLiteral("b2"), (topLeft.x() + topRight.x()) / 2, topDim - 4);
  letter(QStringLiteral("b3"), (topLeft.x() + bottomLeft.x()) / 2, bottomDim + metrics.ascent() + 3);
  letter(QStringLiteral("b1"), (bottomLeft.x() + bottomRight.x()) / 2, bottomDim + metrics.ascent() + 3);
  p.drawText(QPointF(rightDim + 5, (kTop + kBottom) / 2.0 + metrics.ascent() / 2.0), QStringLiteral("h"));
}

DitchScreen::DitchScreen(ScreenHost& host, QWidget* parent)
    : FlowTimeFacilityScreen(host, QStringLiteral("Form19"), QStringLiteral("Ｕ型溝　台形溝"), parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 12);
  layout->setSpacing(8);
  layout->addWidget(makeHeading(QStringLiteral("Ｕ型溝　台形溝")));

  auto* nameRow = new QHBoxLayout;
  auto* nameCaption = new QLabel(QStringLiteral("排水溝の材料・名称"), this);
  NameControl(nameCaption, QStringLiteral("Label2"));
  txt_m_ = new EntryBox(this);
  NameControl(txt_m_, QStringLiteral("txt_m"), QStringLiteral("排水溝の材料・名称"));
  txt_m_->setMinimumWidth(200);
  nameRow->addWidget(nameCaption);
  nameRow->addWidget(txt_m_, 1);
  layout->addLayout(nameRow);

  auto* shapeFrame = new QGroupBox(QStringLiteral("施設の形状"), this);
  NameControl(shapeFrame, QStringLiteral("Frame1"), QStringLiteral("施設の形状"));
  auto* shapeLayout = new QHBoxLayout(shapeFrame);
  shapeLayout->addWidget(new DitchSketch(shapeFrame), 0, Qt::AlignTop);
  auto* dims = new QGridLayout;
  dims->setVerticalSpacing(6);
  const QString dimCaptions[] = {QStringLiteral("高さ h＝"), QStringLiteral("下部巾 b1＝"),
                                 QStringLiteral("上部巾 b2＝"), QStringLiteral("傾斜巾 b3＝")};
  for (int i = 0; i < 4; ++i) {
    auto* caption = new QLabel(dimCaptions[i], shapeFrame);
    NameControl(caption, QStringLiteral("Label%1").arg(i + 3));
    txt_[i] = new EntryBox(shapeFrame);
    NameControl(txt_[i], QStringLiteral("txt%1").arg(i + 1), dimCaptions[i]);
    txt_[i]->setFixedWidth(90);
    dims->addWidget(caption, i, 0, Qt::AlignRight);
    dims->addWidget(txt_[i], i, 1);
    dims->addWidget(new QLabel(QStringLiteral("m"), shapeFrame), i, 2);
  }
  shapeLayout->addLayout(dims);
  layout->addWidget(shapeFrame);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  auto* slopeCaption = new QLabel(QStringLiteral("施設の勾配 x/1000"), this);
  NameControl(slopeCaption, QStringLiteral("Label7"));
  txt_[4] = new EntryBox(this);
  NameControl(txt_[4], QStringLiteral("txt5"), QStringLiteral("施設の勾配 x/1000"));
  auto* roughnessCaption = new QLabel(QStringLiteral("粗度係数"), this);
  NameControl(roughnessCaption, QStringLiteral("Label8"));
  txt_[5] = new EntryBox(this);
  NameControl(txt_[5], QStringLiteral("txt6"), QStringLiteral("粗度係数"));
  DitchInputs& f = host_.record().flowTime.form19;
  auto* depthCaption = new QLabel(QStringLiteral("有効水深"), this);
  NameControl(depthCaption, QStringLiteral("Label9"));
  cbo1_ = makeDepthChoice(depthCaption->text(), &f.cbo1);
  for (QWidget* box : {static_cast<QWidget*>(txt_[4]), static_cast<QWidget*>(txt_[5]),
                       static_cast<QWidget*>(cbo1_)})
    box->setFixedWidth(110);
  grid->addWidget(slopeCaption, 0, 0);
  grid->addWidget(txt_[4], 0, 1);
  grid->addWidget(roughnessCaption, 1, 0);
  grid->addWidget(txt_[5], 1, 1);
  grid->addWidget(depthCaption, 2, 0);
  grid->addWidget(cbo1_, 2, 1);
  grid->setColumnStretch(2, 1);

  cmd1_ = makeCalculateButton();
  cmd2_ = makeCancelButton();
  auto* buttons = new QVBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmd1_);
  buttons->addWidget(cmd2_);
  grid->addLayout(buttons, 0, 3, 3, 1);
  layout->addLayout(grid);
  layout->addStretch(1);

  enter_ = new EnterOrder(this);
  enter_->setOrder({txt_m_, txt_[0], txt_[1], txt_[2], txt_[3], txt_[4], txt_[5], cbo1_, cmd1_});

  BindTextToRecord(txt_m_, &f.txt_m);
  std::string* fields[] = {&f.txt1, &f.txt2, &f.txt3, &f.txt4, &f.txt5, &f.txt6};
  for (int i = 0; i < 6; ++i) BindTextToRecord(txt_[i], fields[i]);

  load();
}

void DitchScreen::load() {
  const DitchInputs& f = host_.record().flowTime.form19;
  loading_ = true;
  txt_m_->setText(QString::fromStdString(f.txt_m));
  const std::string* fields[] = {&f.txt1, &f.txt2, &f.txt3, &f.txt4, &f.txt5, &f.txt6};
  for (int i = 0; i < 6; ++i) txt_[i]->setText(QString::fromStdString(*fields[i]));
  FillDepthChoices(cbo1_, DepthListKind::OpenChannel, f.cbo1);
  loading_ = false;
}

}  // namespace mk
