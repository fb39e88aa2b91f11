#include "ui/inflow_time_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/intensity.h"
#include "ui/formula_drawing.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

// The reference table of retardance coefficients: five rows on the left,
// four on the right.  Labels only; the user types n.
struct Retardance {
  const char* cover;
  const char* n;
};
const Retardance kRetardance[9] = {
    {"不浸透面", "0.02"},
    {"よく締まった裸地（なめらか）", "0.10"},
    {"裸地（普通の荒さ）", "0.20"},
    {"粗草地および耕地", "0.20"},
    {"牧草地または普通の草地", "0.40"},
    {"森林地（落葉樹）", "0.60"},
    {"森林地（落葉樹、深い落葉等堆植地）", "0.80"},
    {"森林地（針葉樹林）", "0.80"},
    {"密草地", "0.80"},
};

}  // namespace

InflowTimeScreen::InflowTimeScreen(ScreenHost& host, QWidget* parent)
    : SubScreenDialog(host, QStringLiteral("Form13"), parent) {
  build();
  load();
}

void InflowTimeScreen::build() {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TitleLine(QStringLiteral("流入時間の計算　（草地、樹林地等）")));

  auto* formula = new FormulaDrawing;
  formula->text(QStringLiteral("t1=")).text(QStringLiteral("("));
  formula->fraction({{QStringLiteral("2")}}, {{QStringLiteral("3")}});
  formula->text(QStringLiteral("× 3.28 ×"));
  formula->fraction({{QStringLiteral("L・n")}}, {{QStringLiteral("√S")}});
  formula->text(QStringLiteral(")")).raised(QStringLiteral("0.467"));
  layout->addWidget(formula, 0, Qt::AlignHCenter);

  txt1_ = new EntryBox;
  txt2_ = new EntryBox;
  txt3_ = new EntryBox;
  NameControl(txt1_, "txt1", QStringLiteral("斜面距離 L="));
  NameControl(txt2_, "txt2", QStringLiteral("斜面勾配 S/1000 S="));
  NameControl(txt3_, "txt3", QStringLiteral("遅滞係数 n="));
  auto* boxes = new QGridLayout;
  AddEntryRow(boxes, 0, QStringLiteral("斜面距離"), QStringLiteral("L="), txt1_, QStringLiteral("ｍ"));
  AddEntryRow(boxes, 1, QStringLiteral("斜面勾配  S/1000"), QStringLiteral("S="), txt2_);
  AddEntryRow(boxes, 2, QStringLiteral("遅滞係数"), QStringLiteral("n="), txt3_);
  boxes->setColumnMinimumWidth(2, 120);
  boxes->setColumnStretch(4, 1);
  layout->addLayout(boxes);

  auto* table = new QGroupBox(this);
  auto* columns = new QHBoxLayout(table);
  for (int column = 0; column < 2; ++column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(ColumnHead(QStringLiteral("地　覆　状　態")), 0, 0);
    grid->addWidget(ColumnHead(QStringLiteral("ｎ")), 0, 1);
    const int first = column == 0 ? 0 : 5;
    const int last = column == 0 ? 5 : 9;
    for (int i = first; i < last; ++i) {
      grid->addWidget(new QLabel(QString::fromUtf8(kRetardance[i].cover)), 1 + i - first, 0);
      grid->addWidget(new QLabel(QString::fromUtf8(kRetardance[i].n)), 1 + i - first, 1, Qt::AlignCenter);
    }
    grid->setRowStretch(6, 1);
    columns->addLayout(grid);
    if (column == 0) columns->addSpacing(24);
  }
  layout->addWidget(table);

  addOkCancel(layout);

  InflowTimeInputs& inflow = host_.record().inflow;
  BindText(txt1_, inflow.txt1);
  BindText(txt2_, inflow.txt2);
  BindText(txt3_, inflow.txt3);

  auto* enter = new EnterOrder(this);
  enter->setOrder({txt1_, txt2_, txt3_, cmd1_});
}

void InflowTimeScreen::load() {
  const InflowTimeInputs& inflow = host_.record().inflow;
  txt1_->setText(QString::fromStdString(inflow.txt1));
  txt2_->setText(QString::fromStdString(inflow.txt2));
  txt3_->setText(QString::fromStdString(inflow.txt3));
}

void InflowTimeScreen::onOk() {
  if (ShowFailure(host_, this, AcceptInflowTimeScreen(host_.record()))) return;
  QDialog::accept();
  if (auto* intensity = qobject_cast<RainfallIntensityScreen*>(host_.findScreen("Form12")))
    intensity->refresh();
}

void InflowTimeScreen::reject() {
  host_.record().inflow = InflowTimeInputs{};
  load();
  QDialog::reject();
}

}  // namespace mk
