#include "ui/rainfall_intensity_screen.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/number_text.h"
#include "ui/flow_time_selection_screen.h"
#include "ui/formula_drawing.h"
#include "ui/inflow_time_screen.h"
#include "ui/intensity_library.h"
#include "ui/main_input_screen.h"
#include "ui/prompter.h"
#include "ui/river_course_screen.h"
#include "ui/screen_host.h"
#include "ui/sub_screen_support.h"
#include "ui/widget_support.h"

namespace mk {

// ================================================================ screen

namespace {

const char* const kNoticeIntensity = "雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡";
const char* const kNoticeMain =
    "計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// txt1..txt9 and Option1..Option8 by number.
std::string IntensityScreenInputs::* const kText[10] = {
    nullptr,
    &IntensityScreenInputs::txt1, &IntensityScreenInputs::txt2, &IntensityScreenInputs::txt3,
    &IntensityScreenInputs::txt4, &IntensityScreenInputs::txt5, &IntensityScreenInputs::txt6,
    &IntensityScreenInputs::txt7, &IntensityScreenInputs::txt8, &IntensityScreenInputs::txt9};
bool IntensityScreenInputs::* const kOption[9] = {
    nullptr,
    &IntensityScreenInputs::Option1, &IntensityScreenInputs::Option2, &IntensityScreenInputs::Option3,
    &IntensityScreenInputs::Option4, &IntensityScreenInputs::Option5, &IntensityScreenInputs::Option6,
    &IntensityScreenInputs::Option7, &IntensityScreenInputs::Option8};
// opt1..opt6 and the formula each selects.
bool IntensityScreenInputs::* const kFormulaOption[6] = {
    &IntensityScreenInputs::opt1, &IntensityScreenInputs::opt2, &IntensityScreenInputs::opt3,
    &IntensityScreenInputs::opt4, &IntensityScreenInputs::opt5, &IntensityScreenInputs::opt6};
const IntensityFormula kFormulaOf[6] = {IntensityFormula::One,  IntensityFormula::Three,
                                        IntensityFormula::Four, IntensityFormula::Two,
                                        IntensityFormula::Five, IntensityFormula::Six};

// Hidden widgets keep their place, so the form does not move about when
// frames and boxes come and go.
void KeepPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

QGroupBox* Frame(const QString& title, QWidget* parent) {
  auto* frame = new QGroupBox(title, parent);
  return frame;
}

}  // namespace

void LeaveRiverCourseMode(IntensityScreenInputs& s) {
  s.chk1 = 0;
  s.lbl1.clear();
  s.Option5 = false;
  s.Option6 = true;
  s.Option7 = false;
  s.Option8 = false;
  s.txt4.clear();
  s.txt5.clear();
  s.txt9.clear();
}

RainfallIntensityScreen::RainfallIntensityScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  NameScreen(this, "Form12", QStringLiteral("◇ １時間当たりの降雨強度"));
  build();
  wireBehaviour();
  refresh();
}

void RainfallIntensityScreen::build() {
  auto* layout = new QGridLayout(this);
  layout->addWidget(TitleLine(QStringLiteral("◇ １時間当たりの降雨強度"), 1.3), 0, 0, 1, 2);

  layout->addWidget(buildFormulaFrame(), 1, 0);
  layout->addWidget(buildTimeFrame(), 1, 1);
  layout->addWidget(buildInflowFrame(), 2, 0);
  layout->addWidget(buildFlowFrame(), 2, 1);

  QHBoxLayout* buttons = OkCancelRow(cmd1_, cmd2_);
  // The formula library at the left end of the OK row, outside the Enter order.
  auto* save = new QPushButton(QStringLiteral("登録"));
  auto* recall = new QPushButton(QStringLiteral("呼出"));
  NameControl(save, QStringLiteral("cmdRegister"), save->text());
  NameControl(recall, QStringLiteral("cmdRecall"), recall->text());
  buttons->insertWidget(0, save);
  buttons->insertWidget(1, recall);
  for (QPushButton* button : {save, recall}) button->setAutoDefault(false);
  connect(save, &QPushButton::clicked, this, [this] { RegisterIntensityFormula(host_, this); });
  connect(recall, &QPushButton::clicked, this, [this] {
    RecallIntensityFormula(host_, this, [this](const IntensityLibraryEntry& entry) {
      IntensityScreenInputs& s = host_.record().intensity;
      ChooseIntensityFormula(s, entry.formula);
      s.txt1 = entry.a.toStdString();
      s.txt2 = entry.b.toStdString();
      if (UsesConstantsCD(entry.formula)) {
        s.txt6 = entry.c.toStdString();
        s.txt7 = entry.d.toStdString();
      }
      refresh();
    });
  });
  layout->addLayout(buttons, 3, 0, 1, 2);
  layout->setRowStretch(2, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* RainfallIntensityScreen::buildFormulaFrame() {
  auto* frame = Frame(QStringLiteral("降雨強度式の選択 及び 定数の入力"), this);
  auto* grid = new QGridLayout(frame);
  grid->setHorizontalSpacing(6);

  using Run = FormulaDrawing::Run;
  auto drawing = [](const QList<Run>& denominator) {
    auto* d = new FormulaDrawing;
    d->text(QStringLiteral("I = ")).fraction({{QStringLiteral("a")}}, denominator);
    return d;
  };
  const QString plus = QStringLiteral(" + b");
  const QString minus = QStringLiteral(" − b");
  const QString root = QStringLiteral("√t");
  // Shown as ① ② ③ on the left and ④ ⑤ ⑥ on the right; the options that
  // select them are opt1, opt4, opt2 and opt3, opt5, opt6.
  struct Place {
    int control;  // opt number
    const char* caption;
    QList<Run> denominator;
  };
  const Place places[6] = {
      {1, "①", {{QStringLiteral("t") + plus}}},
      {4, "②", {{root + plus}}},
      {2, "③", {{root + minus}}},
      {3, "④", {{QStringLiteral("t")}, {QStringLiteral("b"), true}}},
      {5, "⑤", {{QStringLiteral("t")}, {QStringLiteral("d/c"), true}, {plus}}},
      {6, "⑥", {{QStringLiteral("t")}, {QStringLiteral("d/c"), true}, {minus}}},
  };
  for (int i = 0; i < 6; ++i) {
    const Place& place = places[i];
    auto* option = new QRadioButton(QString::fromUtf8(place.caption));
    NameControl(option, QStringLiteral("opt%1").arg(place.control), option->text());
    formula_[place.control - 1] = option;
    const int row = i % 3;
    const int column = (i / 3) * 2;
    grid->addWidget(option, row, column);
    grid->addWidget(drawing(place.denominator), row, column + 1, Qt::AlignLeft);
  }
  grid->setColumnMinimumWidth(1, 110);
  grid->setColumnMinimumWidth(3, 110);

  auto* legend = new QVBoxLayout;
  legend->addWidget(new QLabel(QStringLiteral("Ｉ：１時間当たりの降雨強度 (mm/hr)")));
  legend->addWidget(new QLabel(QStringLiteral("ｔ：到達時間 (min)")));
  grid->addLayout(legend, 3, 0, 1, 4);

  // Constants: a and b always, c and d for ⑤ and ⑥ only.
  auto* constants = new QGridLayout;
  const char* const names[4] = {"ａ=", "ｂ=", "ｃ=", "ｄ="};
  const int boxes[4] = {1, 2, 6, 7};
  for (int i = 0; i < 4; ++i) {
    auto* word = new QLabel(QStringLiteral("定数"));
    auto* sign = new QLabel(QString::fromUtf8(names[i]));
    auto* box = new EntryBox;
    NameControl(box, QStringLiteral("txt%1").arg(boxes[i]), QStringLiteral("定数 ") + sign->text());
    box->setFixedWidth(100);
    txt_[boxes[i]] = box;
    const int row = i % 2;
    const int column = (i / 2) * 3;
    constants->addWidget(word, row, column);
    constants->addWidget(sign, row, column + 1, Qt::AlignRight);
    constants->addWidget(box, row, column + 2);
    if (i == 2) cLabels_[0] = word, cLabels_[1] = sign;
    if (i == 3) dLabels_[0] = word, dLabels_[1] = sign;
    if (i >= 2)
      for (QWidget* w : {static_cast<QWidget*>(word), static_cast<QWidget*>(sign), static_cast<QWidget*>(box)})
        KeepPlace(w);
  }
  constants->setColumnMinimumWidth(2, 100);
  constants->setHorizontalSpacing(6);
  constants->setColumnStretch(6, 1);
  grid->addLayout(constants, 4, 0, 1, 4);
  return frame;
}

QGroupBox* RainfallIntensityScreen::buildTimeFrame() {
  auto* frame = Frame(QStringLiteral("到 達 時 間 (t)"), this);
  auto* grid = new QGridLayout(frame);
  grid->addWidget(new QLabel(QStringLiteral("t(min)= t1 + t2")), 0, 0, 1, 3);
  option_[3] = new QRadioButton(QStringLiteral("直接入力"));
  option_[4] = new QRadioButton(QStringLiteral("計算する"));
  NameControl(option_[3], "Option3", option_[3]->text());
  NameControl(option_[4], "Option4", option_[4]->text());
  grid->addWidget(option_[3], 1, 0, 1, 3);
  grid->addWidget(option_[4], 2, 0, 1, 3);
  txt_[8] = new EntryBox;
  NameControl(txt_[8], "txt8", QStringLiteral("t="));
  txt_[8]->setFixedWidth(100);
  grid->addWidget(new QLabel(QStringLiteral("t=")), 3, 0, Qt::AlignRight);
  grid->addWidget(txt_[8], 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("min")), 3, 2);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(4, 1);
  return frame;
}

QGroupBox* RainfallIntensityScreen::buildInflowFrame() {
  inflowFrame_ = Frame(QStringLiteral("流 入 時 間 (t1)"), this);
  KeepPlace(inflowFrame_);
  auto* grid = new QGridLayout(inflowFrame_);
  option_[1] = new QRadioButton(QStringLiteral("直接入力"));
  option_[2] = new QRadioButton(QStringLiteral("草地、樹林地等"));
  NameControl(option_[1], "Option1", option_[1]->text());
  NameControl(option_[2], "Option2", option_[2]->text());
  command4_ = new QPushButton(QStringLiteral("計算する"));
  NameControl(command4_, "Command4", command4_->text());
  grid->addWidget(option_[1], 0, 0, 1, 2);
  grid->addWidget(option_[2], 1, 0, 1, 2);
  grid->addWidget(command4_, 1, 2);
  txt_[3] = new EntryBox;
  NameControl(txt_[3], "txt3", QStringLiteral("t1="));
  txt_[3]->setFixedWidth(100);
  auto* t1 = new QHBoxLayout;
  t1->addWidget(new QLabel(QStringLiteral("t1=")));
  t1->addWidget(txt_[3]);
  t1->addWidget(new QLabel(QStringLiteral("min")));
  t1->addStretch();
  grid->addLayout(t1, 2, 0, 1, 3);

  // Standard inflow times for reference (labels only).
  auto* table = new QGroupBox(inflowFrame_);
  auto* rows = new QGridLayout(table);
  const char* const cells[4][2] = {{"区　　分", "流 入 時 間"},
                                   {"人口密度が大きい地区", "５分"},
                                   {"人口密度が小さい地区", "１０分"},
                                   {"平　　均", "７分"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c)
      rows->addWidget(new QLabel(QString::fromUtf8(cells[r][c])), r, c, Qt::AlignCenter);
  rows->setHorizontalSpacing(16);
  grid->addWidget(table, 3, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  grid->setRowStretch(4, 1);
  return inflowFrame_;
}

QGroupBox* RainfallIntensityScreen::buildFlowFrame() {
  flowFrame_ = Frame(QStringLiteral("流 下 時 間 (t2)"), this);
  KeepPlace(flowFrame_);
  auto* grid = new QGridLayout(flowFrame_);
  option_[5] = new QRadioButton(QStringLiteral("直接入力"));
  option_[6] = new QRadioButton(QStringLiteral("計算する"));
  NameControl(option_[5], "Option5", option_[5]->text());
  NameControl(option_[6], "Option6", option_[6]->text());
  grid->addWidget(option_[5], 0, 0, 1, 2);
  grid->addWidget(option_[6], 1, 0, 1, 2);

  txt_[9] = new EntryBox;
  NameControl(txt_[9], "txt9", QStringLiteral("t2="));
  txt_[9]->setFixedWidth(100);
  auto* t2 = new QHBoxLayout;
  t2->addWidget(new QLabel(QStringLiteral("t2=")));
  t2->addWidget(txt_[9]);
  t2->addWidget(new QLabel(QStringLiteral("min")));
  t2->addStretch();
  grid->addLayout(t2, 0, 2, 1, 2);

  chk1_ = new QCheckBox(QStringLiteral("茨城県"));
  NameControl(chk1_, "chk1", chk1_->text());
  command1_ = new QPushButton(QStringLiteral("計算"));
  NameControl(command1_, "Command1", command1_->text());
  KeepPlace(command1_);
  auto* river = new QHBoxLayout;
  river->addWidget(chk1_);
  river->addWidget(command1_);
  river->addStretch();
  grid->addLayout(river, 1, 2, 1, 2);

  // Facility length L and the flow-time formula t2 = L / (60·V).
  auto* lengthCaption = new QLabel(QStringLiteral("排水施設延長距離 "));
  auto* lengthSign = new QLabel(QStringLiteral("L="));
  auto* lengthUnit = new QLabel(QStringLiteral("m"));
  txt_[4] = new EntryBox;
  NameControl(txt_[4], "txt4", QStringLiteral("排水施設延長距離 L="));
  txt_[4]->setFixedWidth(100);
  lengthLabels_ = {lengthCaption, lengthSign, lengthUnit};
  for (QWidget* w : {static_cast<QWidget*>(lengthCaption), static_cast<QWidget*>(lengthSign),
                     static_cast<QWidget*>(lengthUnit), static_cast<QWidget*>(txt_[4])})
    KeepPlace(w);
  auto* length = new QHBoxLayout;
  length->addWidget(lengthCaption);
  length->addWidget(lengthSign);
  length->addWidget(txt_[4]);
  length->addWidget(lengthUnit);
  length->addStretch();
  grid->addLayout(length, 2, 0, 1, 3);

  flowFormula_ = new FormulaDrawing;
  flowFormula_->text(QStringLiteral("ｔ2(min)=")).fraction({{QStringLiteral("L")}}, {{QStringLiteral("60・V")}});
  KeepPlace(flowFormula_);
  grid->addWidget(flowFormula_, 2, 3, 2, 1, Qt::AlignCenter);

  velocityFrame_ = Frame(QStringLiteral("流　速"), flowFrame_);
  KeepPlace(velocityFrame_);
  auto* velocity = new QGridLayout(velocityFrame_);
  option_[7] = new QRadioButton(QStringLiteral("仮定する"));
  option_[8] = new QRadioButton;
  command8_ = new QPushButton(QStringLiteral("計算する"));
  NameControl(option_[7], "Option7", option_[7]->text());
  NameControl(option_[8], "Option8", command8_->text());
  NameControl(command8_, "Command8", command8_->text());
  velocity->addWidget(option_[7], 0, 0, 1, 2);
  velocity->addWidget(option_[8], 1, 0);
  velocity->addWidget(command8_, 1, 1);
  txt_[5] = new EntryBox;
  NameControl(txt_[5], "txt5", QStringLiteral("V="));
  txt_[5]->setFixedWidth(100);
  auto* v = new QHBoxLayout;
  v->addWidget(new QLabel(QStringLiteral("V=")));
  v->addWidget(txt_[5]);
  v->addWidget(new QLabel(QStringLiteral("m/sec")));
  v->addWidget(new QLabel(QStringLiteral("(0.8～3.0m/sec)")));
  v->addStretch();
  velocity->addLayout(v, 2, 0, 1, 3);
  velocity->setColumnStretch(2, 1);
  grid->addWidget(velocityFrame_, 3, 0, 1, 3);

  lbl1_ = new QLabel;
  NameControl(lbl1_, "lbl1");
  KeepPlace(lbl1_);
  lbl1_->setMinimumWidth(QFontMetrics(lbl1_->font()).horizontalAdvance(QString::fromUtf8(kRiverCourseSource)) + 4);
  grid->addWidget(lbl1_, 4, 0, 1, 4);
  grid->setColumnStretch(4, 1);
  grid->setRowStretch(5, 1);
  return flowFrame_;
}

void RainfallIntensityScreen::wireBehaviour() {
  IntensityScreenInputs& s = host_.record().intensity;
  for (int k = 1; k <= 9; ++k) BindText(txt_[k], s.*kText[k]);
  for (int i = 0; i < 6; ++i) {
    const IntensityFormula formula = kFormulaOf[i];
    connect(formula_[i], &QRadioButton::clicked, this, [this, formula] { chooseFormula(formula); });
  }
  connect(option_[1], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseInflowDirect);
  connect(option_[2], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseInflowBySlope);
  connect(option_[3], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseTimeDirect);
  connect(option_[4], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseTimeComputed);
  connect(option_[5], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseFlowDirect);
  connect(option_[6], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseFlowComputed);
  connect(option_[7], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseVelocityAssumed);
  connect(option_[8], &QRadioButton::clicked, this, &RainfallIntensityScreen::chooseVelocityComputed);
  connect(chk1_, &QCheckBox::clicked, this, &RainfallIntensityScreen::onRiverCourseTicked);

  // Clicking a box of a computed value switches it to typed entry.
  connect(txt_[3], &EntryBox::clicked, this, [this, &s] {
    DiscardInflowTimeScreen(host_);
    if (!s.Option1) chooseInflowDirect();
  });
  connect(txt_[5], &EntryBox::clicked, this, [this, &s] {
    if (!s.Option7) chooseVelocityAssumed();
  });
  connect(txt_[8], &EntryBox::clicked, this, [this, &s] {
    if (!s.Option3) chooseTimeDirect();
  });
  connect(txt_[9], &EntryBox::clicked, this, [this, &s] {
    if (!s.Option5) chooseFlowDirect();
  });

  connect(command4_, &QPushButton::clicked, this, &RainfallIntensityScreen::openInflowTimeScreen);
  connect(command1_, &QPushButton::clicked, this, &RainfallIntensityScreen::openRiverCourseScreen);
  connect(command8_, &QPushButton::clicked, this, &RainfallIntensityScreen::openFlowTimeScreens);
  connect(cmd1_, &QPushButton::clicked, this, &RainfallIntensityScreen::onOk);
  connect(cmd2_, &QPushButton::clicked, this, &RainfallIntensityScreen::onCancel);

  enter_ = new EnterOrder(this);
  enter_->setTarget(txt_[1], [this] { return txt_[2]; });
  enter_->setTarget(txt_[2], [this, &s]() -> QWidget* {
    const auto formula = ChosenFormula(s);
    if (formula && UsesConstantsCD(*formula)) return txt_[6];
    return option_[3];
  });
  enter_->setTarget(txt_[6], [this] { return txt_[7]; });
}

void RainfallIntensityScreen::refresh() {
  const IntensityScreenInputs& s = host_.record().intensity;
  for (int i = 0; i < 6; ++i) SetOption(formula_[i], s.*kFormulaOption[i]);
  for (int k = 1; k <= 8; ++k) SetOption(option_[k], s.*kOption[k]);
  for (int k = 1; k <= 9; ++k) {
    const QString text = Q(s.*kText[k]);
    if (txt_[k]->text() != text) txt_[k]->setText(text);
  }
  chk1_->setChecked(s.chk1 != 0);
  lbl1_->setText(Q(s.lbl1));

  const auto formula = ChosenFormula(s);
  const bool cd = formula && UsesConstantsCD(*formula);
  for (QWidget* w : {static_cast<QWidget*>(cLabels_[0]), static_cast<QWidget*>(cLabels_[1]),
                     static_cast<QWidget*>(dLabels_[0]), static_cast<QWidget*>(dLabels_[1]),
                     static_cast<QWidget*>(txt_[6]), static_cast<QWidget*>(txt_[7])})
    w->setVisible(cd);

  inflowFrame_->setVisible(s.Option4);
  flowFrame_->setVisible(s.Option4);
  // The velocity frame and L belong to t2 = L / (60·V): t2 computed and
  // not by the river-course formula.
  const bool byVelocity = s.Option6 && !IsRiverCourseMode(s);
  velocityFrame_->setVisible(byVelocity);
  txt_[4]->setVisible(byVelocity);
  for (QWidget* w : lengthLabels_) w->setVisible(byVelocity);
  const bool riverTicked = s.chk1 != 0;
  flowFormula_->setVisible(!riverTicked);
  command1_->setVisible(riverTicked);
  lbl1_->setVisible(riverTicked);

  // Bordered while typed, borderless while computed.
  txt_[8]->setBordered(s.Option3);
  txt_[3]->setBordered(s.Option1);
  txt_[9]->setBordered(s.Option5);
  txt_[5]->setBordered(s.Option7);
}

void RainfallIntensityScreen::applyOpeningAdjustments() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (!ChosenFormula(s)) s.Option4 = false;
  refresh();
  cmd1_->setFocus(Qt::OtherFocusReason);
}

void RainfallIntensityScreen::acceptFlowTimeVelocity(double V) {
  IntensityScreenInputs& s = host_.record().intensity;
  s.Option7 = false;
  s.Option8 = true;
  s.txt5 = FormatNumber(V, "0.00##");
  refresh();
  host_.setStatusNotice(QString::fromUtf8(kNoticeIntensity));
}

void RainfallIntensityScreen::leaveRiverCourseMode() {
  LeaveRiverCourseMode(host_.record().intensity);
  refresh();
  txt_[4]->focusSelectAll();
}

// ------------------------------------------------------------ choices
// A choice acts when it changes; clicking the option already chosen keeps
// what was typed.

void RainfallIntensityScreen::chooseFormula(IntensityFormula formula) {
  IntensityScreenInputs& s = host_.record().intensity;
  if (ChosenFormula(s) == formula) return;
  ChooseIntensityFormula(s, formula);
  refresh();
}

void RainfallIntensityScreen::chooseTimeDirect() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option3) return;
  s.Option3 = true;
  s.Option4 = false;
  s.Option6 = false;
  s.Option7 = false;
  refresh();
  txt_[8]->focusSelectAll();
}

void RainfallIntensityScreen::chooseTimeComputed() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option4) return;
  s.Option4 = true;
  s.Option3 = false;
  s.Option1 = false;
  s.Option5 = false;
  s.Option6 = false;
  s.txt4.clear();
  s.txt5.clear();
  s.txt3.clear();
  s.txt9.clear();
  s.txt8.clear();
  refresh();
}

void RainfallIntensityScreen::chooseInflowDirect() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option1) return;
  DiscardInflowTimeScreen(host_);
  s.Option1 = true;
  s.Option2 = false;
  refresh();
  txt_[3]->focusSelectAll();
}

void RainfallIntensityScreen::chooseInflowBySlope() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option2) return;
  s.Option2 = true;
  s.Option1 = false;
  refresh();
}

void RainfallIntensityScreen::chooseFlowDirect() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option5) return;
  s.Option5 = true;
  s.Option6 = false;
  s.Option7 = false;
  s.Option8 = false;
  s.txt4.clear();
  s.txt5.clear();
  refresh();
  txt_[9]->focusSelectAll();
}

void RainfallIntensityScreen::chooseFlowComputed() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option6) return;
  s.Option6 = true;
  s.Option5 = false;
  s.txt9.clear();
  s.txt4.clear();
  s.txt5.clear();
  refresh();
}

void RainfallIntensityScreen::chooseVelocityAssumed() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option7) return;
  // The velocity is typed now: the flow-time selection screen and its
  // facility screen start afresh at the next opening.
  DiscardFlowTimeVelocity(host_);
  s.Option7 = true;
  s.Option8 = false;
  refresh();
  txt_[5]->focusSelectAll();
}

void RainfallIntensityScreen::chooseVelocityComputed() {
  IntensityScreenInputs& s = host_.record().intensity;
  if (s.Option8) return;
  s.Option8 = true;
  s.Option7 = false;
  refresh();
}

void RainfallIntensityScreen::onRiverCourseTicked(bool ticked) {
  IntensityScreenInputs& s = host_.record().intensity;
  // Both ways the velocity inputs go: L and V emptied, no velocity choice.
  s.Option7 = false;
  s.Option8 = false;
  s.txt4.clear();
  s.txt5.clear();
  s.txt9.clear();
  if (ticked) {
    s.chk1 = 1;
    s.Option5 = false;
    s.Option6 = true;
    s.lbl1 = kRiverCourseSource;
    refresh();
    return;
  }
  s.chk1 = 0;
  s.lbl1.clear();
  s.Option6 = false;
  s.Option5 = true;
  DiscardRiverCourseScreen(host_);
  refresh();
  txt_[9]->focusSelectAll();
}

// ------------------------------------------------------------ buttons

void RainfallIntensityScreen::openInflowTimeScreen() {
  if (auto* screen = qobject_cast<InflowTimeScreen*>(host_.screen("Form13"))) {
    screen->load();
    screen->open();
  }
}

void RainfallIntensityScreen::openRiverCourseScreen() {
  if (auto* screen = qobject_cast<RiverCourseScreen*>(host_.screen("Form22"))) {
    screen->load();
    screen->open();
  }
}

void RainfallIntensityScreen::openFlowTimeScreens() {
  // Form17 at the top left and, for a stored flow-time screen code 1 to 4,
  // its facility screen beside it.
  OpenFlowTimeVelocity(host_);
  if (host_.findScreen("Form17")) host_.setStatusNotice(QString());
}

void RainfallIntensityScreen::onOk() {
  if (auto failure = AcceptIntensityScreen(host_.record())) {
    host_.prompter().error(this, Q(failure->error.message));
    switch (failure->followUp) {
      case IntensityFollowUp::Focus:
        host_.focusControl(Q(failure->error.focus));
        break;
      case IntensityFollowUp::ChooseFormulaOne:
        chooseFormula(IntensityFormula::One);
        break;
      case IntensityFollowUp::OpenRiverCourse:
        openRiverCourseScreen();
        break;
      case IntensityFollowUp::None:
        break;
    }
    return;
  }
  host_.hideScreen("Form12");
  host_.discardRunResult();
  if (auto* main = MainInputScreen::find(host_)) {
    main->refreshFromRecord();
    main->setIBordered(false);
  }
  host_.focusControl("Form25.lst_s");
  host_.setToolbarVisible(true);
  host_.setStatusNotice(QString::fromUtf8(kNoticeMain));
}

void RainfallIntensityScreen::onCancel() {
  host_.hideScreen("Form12");
  host_.setToolbarVisible(true);
  host_.setReferenceMenuEnabled(true);
  host_.setStatusNotice(QString::fromUtf8(kNoticeMain));
}

void RainfallIntensityScreen::keyPressEvent(QKeyEvent* event) {
  // Enter presses a focused button and is otherwise ignored outside the
  // boxes' own order.
  if (PressFocusedButtonOnEnter(this, event)) return;
  QWidget::keyPressEvent(event);
}

void RainfallIntensityScreen::showEvent(QShowEvent* event) {
  // The screen is shown only by the main screen's "計算する" for I: the
  // opening rule applies every time.
  QWidget::showEvent(event);
  if (!event->spontaneous()) applyOpeningAdjustments();
}

// ------------------------------------------------------------ openings

void OpenIntensityScreen(ScreenHost& host) {
  // The result goes first: withdrawing it may close a print image, which
  // brings the toolbar back; this screen hides it again.
  host.discardRunResult();
  host.setToolbarVisible(false);
  host.setStatusNotice(QString::fromUtf8(kNoticeIntensity));
  if (auto* screen = qobject_cast<RainfallIntensityScreen*>(host.showScreen("Form12", 0, 0)))
    screen->applyOpeningAdjustments();
}

void DiscardIntensityScreen(ScreenHost& host) {
  host.discardScreen("Form12");
  host.record().intensity = IntensityScreenInputs{};
  // The velocity calculation belongs to Form12: left open, its hand-back
  // would find no screen to return to.
  if (host.findScreen(QStringLiteral("Form17"))) DiscardFlowTimeVelocity(host);
}

void DiscardInflowTimeScreen(ScreenHost& host) {
  host.discardScreen("Form13");
  host.record().inflow = InflowTimeInputs{};
}

void DiscardRiverCourseScreen(ScreenHost& host) {
  host.discardScreen("Form22");
  host.record().river = RiverCourseInputs{};
}

}  // namespace mk
