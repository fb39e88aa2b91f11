#include "ui/main_input_screen.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "calc/catalogue.h"
#include "calc/check_run.h"
#include "ui/facility_screens.h"
#include "ui/main_window.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/runoff_coefficient_screen.h"
#include "ui/screen_host.h"
#include "ui/sewage_flow_screen.h"
#include "ui/widget_support.h"

namespace mk {

// The reminder a click into a box (and New) leaves in the status bar.
const char* const kNoticeN1 =
    "計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";

namespace {

// The facility list, exactly as shown (leading blanks included).
const char* const kFacilityKinds[] = {
    "排水管  ＶＰ管",
    "        ＶＵ管",
    "        強化プラスチック複合管",
    "        ヒューム管",
    "        その他円形管",
    "        矩形管",
};

const char* const kFacilityForms[] = {"Form2", "Form5", "Form1"};

QLabel* Caption(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  return label;
}

// A label or box that keeps its place in the layout while hidden.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

void SetText(QLineEdit* box, const std::string& text) {
  const QString value = QString::fromStdString(text);
  if (box->text() != value) box->setText(value);
}

}  // namespace

MainInputScreen::MainInputScreen(ScreenHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  NameScreen(this, QStringLiteral("Form25"), QStringLiteral("☆ 下水排水施設（合流式）流量計算"));
  build();
  wireBehaviour();
  refreshFromRecord();
}

MainInputScreen* MainInputScreen::find(ScreenHost& host) {
  return qobject_cast<MainInputScreen*>(host.findScreen(QStringLiteral("Form25")));
}

void MainInputScreen::build() {
  auto makeBox = [this](const QString& name, const QString& caption, int width) {
    auto* box = new EntryBox(this);
    NameControl(box, name, caption);
    box->setFixedWidth(width);
    return box;
  };
  auto makeButton = [this](const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    NameControl(button, name, caption);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(caption) + 16);
    // Enter on a focused button presses it, as on the desktop it came from.
    button->setAutoDefault(true);
    return button;
  };
  for (int i = 1; i <= 12; ++i) opt_[i] = new QRadioButton(this);
  auto nameOption = [this](int i, const QString& caption, bool showCaption) {
    NameControl(opt_[i], QStringLiteral("opt%1").arg(i), caption);
    if (showCaption) opt_[i]->setText(caption);
  };
  // A frame with its caption and tight margins.
  auto frame = [this](const QString& title) {
    // The frame's own title rectangle cuts off a closing full-width
    // bracket ("（雨水）"); one trailing blank keeps the caption whole.
    auto* group = new QGroupBox(title + QLatin1Char(' '), this);
    group->setAccessibleName(title);
    return group;
  };
  auto row = [](std::initializer_list<QWidget*> widgets, int indent = 0) {
    auto* line = new QHBoxLayout;
    line->setSpacing(3);
    if (indent) line->addSpacing(indent);
    for (QWidget* w : widgets) line->addWidget(w);
    line->addStretch();
    return line;
  };
  auto column = [](QGroupBox* group) {
    auto* box = new QVBoxLayout(group);
    box->setContentsMargins(4, 1, 4, 3);
    box->setSpacing(3);
    return box;
  };

  // Stormwater: C and A.
  auto* rain = frame(QStringLiteral("（雨水）"));
  txt_c_ = makeBox("txt_c", QStringLiteral("流出係数 Ｃ＝"), 66);
  txt_a_ = makeBox("txt_a", QStringLiteral("施設の分担する流域面積 Ａ＝"), 96);
  command3_ = makeButton("Command3", QStringLiteral("直接入力"));
  command4_ = makeButton("Command4", QStringLiteral("加重平均"));
  nameOption(5, QStringLiteral("直接入力"), false);
  nameOption(6, QStringLiteral("加重平均"), false);
  {
    auto* box = column(rain);
    box->addLayout(row({Caption(QStringLiteral("流出係数"), rain), Caption(QStringLiteral("Ｃ＝"), rain), txt_c_}));
    box->addLayout(row({opt_[5], command3_, opt_[6], command4_}));
    box->addWidget(Caption(QStringLiteral("施設の分担する流域面積"), rain));
    box->addLayout(row({Caption(QStringLiteral("Ａ＝"), rain), txt_a_, Caption(QStringLiteral("m2"), rain)}, 24));
  }

  // Rainfall intensity I.
  auto* intensity = frame(QStringLiteral("1時間当りの降雨強度"));
  txt_i_ = makeBox("txt_i", QStringLiteral("1時間当りの降雨強度 I＝"), 66);
  command1_ = makeButton("Command1", QStringLiteral("直接入力"));
  command2_ = makeButton("Command2", QStringLiteral("計算する"));
  nameOption(3, QStringLiteral("直接入力"), false);
  nameOption(4, QStringLiteral("計算する"), false);
  {
    auto* box = column(intensity);
    box->addLayout(row({Caption(QStringLiteral("I＝"), intensity), txt_i_, Caption(QStringLiteral("mm/hr"), intensity)}, 24));
    box->addLayout(row({opt_[3], command1_, opt_[4], command2_}));
  }

  // Sewage flow.
  auto* sewage = frame(QStringLiteral("（汚水）"));
  txt3_ = makeBox("txt3", QStringLiteral("計画汚水量"), 66);
  cmd1_ = makeButton("cmd1", QStringLiteral("計算する"));
  cmd2_ = makeButton("cmd2", QStringLiteral("直接入力"));
  nameOption(7, QStringLiteral("計算する"), false);
  nameOption(8, QStringLiteral("直接入力"), false);
  {
    auto* box = column(sewage);
    box->addLayout(row({Caption(QStringLiteral("計画汚水量"), sewage), txt3_, Caption(QStringLiteral("m3/sec"), sewage)}));
    box->addLayout(row({opt_[7], cmd1_, opt_[8], cmd2_}));
  }

  // Groundwater infiltration.
  auto* groundwater = frame(QStringLiteral("地下水混入率"));
  nameOption(9, QStringLiteral("無し"), true);
  nameOption(10, QStringLiteral("有り"), true);
  txt2_ = makeBox("txt2", QStringLiteral("地下水混入率 ％"), 40);
  txt2Unit_ = Caption(QStringLiteral("％"), groundwater);
  column(groundwater)->addLayout(row({opt_[9], opt_[10], txt2_, txt2Unit_}));

  // Surcharge of the planned flow.
  auto* surcharge = frame(QStringLiteral("計画下水量の割増し"));
  nameOption(11, QStringLiteral("無し"), true);
  nameOption(12, QStringLiteral("有り"), true);
  txt1_ = makeBox("txt1", QStringLiteral("計画下水量の割増し ％増し"), 40);
  txt1Unit_ = Caption(QStringLiteral("％増し"), surcharge);
  column(surcharge)->addLayout(row({opt_[11], opt_[12], txt1_, txt1Unit_}));
  for (QWidget* w : {static_cast<QWidget*>(txt1_), static_cast<QWidget*>(txt1Unit_),
                     static_cast<QWidget*>(txt2_), static_cast<QWidget*>(txt2Unit_)})
    KeepPlaceWhenHidden(w);

  // Facility kind.
  auto* facility = frame(QStringLiteral("施設の種類"));
  lst_s_ = new QListWidget(facility);
  NameControl(lst_s_, QStringLiteral("lst_s"), QStringLiteral("施設の種類"));
  // The entries line up by their leading blanks: a fixed-pitch font.
  lst_s_->setFont(FixedPitchGothic(lst_s_->font()));
  for (const char* kind : kFacilityKinds) lst_s_->addItem(QString::fromUtf8(kind));
  lst_s_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lst_s_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lst_s_->setFixedHeight(lst_s_->sizeHintForRow(0) * 6 + 2 * lst_s_->frameWidth() + 2);
  int widest = 0;
  for (const char* kind : kFacilityKinds)
    widest = std::max(widest, lst_s_->fontMetrics().horizontalAdvance(QString::fromUtf8(kind)));
  lst_s_->setFixedWidth(widest + 2 * lst_s_->frameWidth() + 6);
  column(facility)->addWidget(lst_s_);

  // Velocity formula.
  auto* velocity = frame(QStringLiteral("流速の計算方法"));
  nameOption(1, QStringLiteral("マニング公式"), true);
  nameOption(2, QStringLiteral("クッター公式"), true);
  {
    auto* box = column(velocity);
    box->addWidget(opt_[1]);
    box->addWidget(opt_[2]);
  }

  // The option groups: {1,2} {3,4} {5,6} {7,8} {9,10} {11,12}.
  for (int g = 0; g < 6; ++g) {
    groups_[g] = new QButtonGroup(this);
    groups_[g]->addButton(opt_[2 * g + 1]);
    groups_[g]->addButton(opt_[2 * g + 2]);
  }
  // opt3..opt8 only show which of the two buttons beside them is in force;
  // a click on one acts as its button.
  for (int i = 3; i <= 8; ++i) opt_[i]->setFocusPolicy(Qt::NoFocus);

  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  left->addWidget(rain);
  left->addWidget(intensity);
  left->addWidget(sewage);
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->setSpacing(2);
  right->addWidget(groundwater);
  right->addWidget(surcharge);
  right->addWidget(facility);
  right->addWidget(velocity);
  right->addStretch();
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(2, 2, 2, 2);
  columns->setSpacing(2);
  columns->addLayout(left);
  columns->addLayout(right);
  setFixedSize(sizeHint());
}

void MainInputScreen::wireBehaviour() {
  auto bind = [this](EntryBox* box, std::string MainScreenInputs::*field) {
    connect(box, &QLineEdit::textEdited, this, [this, field](const QString& text) {
      host_.record().main.*field = text.toStdString();
      discardResult();
    });
    connect(box, &EntryBox::clicked, this, [this, box] { onBoxClicked(box); });
  };
  bind(txt_c_, &MainScreenInputs::txt_c);
  bind(txt_a_, &MainScreenInputs::txt_a);
  bind(txt_i_, &MainScreenInputs::txt_i);
  bind(txt1_, &MainScreenInputs::txt1);
  bind(txt2_, &MainScreenInputs::txt2);
  bind(txt3_, &MainScreenInputs::txt3);

  connect(command1_, &QPushButton::clicked, this, &MainInputScreen::directIntensity);
  connect(command2_, &QPushButton::clicked, this, &MainInputScreen::calculateIntensity);
  connect(command3_, &QPushButton::clicked, this, &MainInputScreen::directRunoff);
  connect(command4_, &QPushButton::clicked, this, &MainInputScreen::weightedRunoff);
  connect(cmd1_, &QPushButton::clicked, this, &MainInputScreen::calculateSewage);
  connect(cmd2_, &QPushButton::clicked, this, &MainInputScreen::directSewage);
  for (int i = 1; i <= 12; ++i)
    connect(opt_[i], &QRadioButton::clicked, this, [this, i] { onOptionClicked(opt_[i]); });

  connect(lst_s_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (loading_) return;
    host_.record().main.lst_s = row;
    discardResult();
    sentaku();
  });

  enter_ = new EnterOrder(this);
  enter_->setTarget(txt_c_, [this] { return txt_a_; });
  enter_->setTarget(txt_a_, [this] { return command1_; });
  enter_->setTarget(txt_i_, [this] { return cmd2_; });
  enter_->setTarget(txt3_, [this] { return opt_[9]; });
  for (QWidget* w : {static_cast<QWidget*>(opt_[9]), static_cast<QWidget*>(opt_[10]),
                     static_cast<QWidget*>(txt2_)})
    enter_->setTarget(w, [this] { return opt_[11]; });
  for (QWidget* w : {static_cast<QWidget*>(opt_[11]), static_cast<QWidget*>(opt_[12]),
                     static_cast<QWidget*>(txt1_)})
    enter_->setTarget(w, [this] { return opt_[1]; });
  for (QWidget* w : {static_cast<QWidget*>(opt_[1]), static_cast<QWidget*>(opt_[2])})
    enter_->setTarget(w, [this] { return lst_s_; });
  enter_->setTarget(lst_s_, [this] { return enterTargetFromList(); });

  // Installed after the Enter order, so it sees every key first.
  opt_[1]->installEventFilter(this);
  opt_[2]->installEventFilter(this);
}

bool MainInputScreen::eventFilter(QObject* watched, QEvent* event) {
  // Any key pressed on the velocity formula options withdraws the result.
  if (event->type() == QEvent::KeyPress && (watched == opt_[1] || watched == opt_[2]))
    discardResult();
  return QWidget::eventFilter(watched, event);
}

QWidget* MainInputScreen::enterTargetFromList() {
  const int kind = lst_s_->currentRow();
  QString form;
  QString control;
  if (kind >= 0 && kind <= 3) {
    form = QStringLiteral("Form2");
    control = QStringLiteral("lst_pu");
  } else if (kind == 4) {
    form = QStringLiteral("Form5");
    control = QStringLiteral("txt1");
  } else {
    return nullptr;
  }
  QWidget* screen = host_.findScreen(form);
  return screen ? screen->findChild<QWidget*>(control) : nullptr;
}

void MainInputScreen::refreshFromRecord() {
  loading_ = true;
  const MainScreenInputs& m = host_.record().main;
  SetText(txt_c_, m.txt_c);
  SetText(txt_a_, m.txt_a);
  SetText(txt_i_, m.txt_i);
  SetText(txt1_, m.txt1);
  SetText(txt2_, m.txt2);
  SetText(txt3_, m.txt3);
  const bool states[13] = {false,  m.opt1, m.opt2, m.opt3,  m.opt4,  m.opt5, m.opt6,
                           m.opt7, m.opt8, m.opt9, m.opt10, m.opt11, m.opt12};
  // An option group may hold no chosen member (a project file can say so).
  for (QButtonGroup* group : groups_) group->setExclusive(false);
  for (int i = 1; i <= 12; ++i) opt_[i]->setChecked(states[i]);
  for (QButtonGroup* group : groups_) group->setExclusive(true);
  const int row = (m.lst_s >= 0 && m.lst_s < lst_s_->count()) ? m.lst_s : -1;
  if (lst_s_->currentRow() != row) lst_s_->setCurrentRow(row);
  if (row < 0) lst_s_->clearSelection();
  showPercentBoxes();
  loading_ = false;
}

void MainInputScreen::showPercentBoxes() {
  const MainScreenInputs& m = host_.record().main;
  txt2_->setVisible(m.opt10);
  txt2Unit_->setVisible(m.opt10);
  txt1_->setVisible(m.opt12);
  txt1Unit_->setVisible(m.opt12);
}

void MainInputScreen::setEntryBordered(const QString& control, bool bordered) {
  if (auto* box = findChild<EntryBox*>(control)) box->setBordered(bordered);
}

bool MainInputScreen::isEntryBordered(const QString& control) const {
  auto* box = findChild<EntryBox*>(control);
  return box && box->isBordered();
}

void MainInputScreen::setCBordered(bool bordered) {
  txt_c_->setBordered(bordered);
  txt_a_->setBordered(bordered);
}

void MainInputScreen::setIBordered(bool bordered) { txt_i_->setBordered(bordered); }

void MainInputScreen::setSewageBordered(bool bordered) { txt3_->setBordered(bordered); }

void MainInputScreen::discardResult() { host_.discardRunResult(); }

void MainInputScreen::onBoxClicked(EntryBox* box) {
  discardResult();
  host_.setStatusNotice(QString::fromUtf8(kNoticeN1));
  MainScreenInputs& m = host_.record().main;
  if (box == txt_i_) {
    // Typing I directly; the intensity screen keeps its values.
    txt_i_->setBordered(true);
    m.opt3 = true;
    m.opt4 = false;
    refreshFromRecord();
  } else if (box == txt3_) {
    txt3_->setBordered(true);
    m.opt7 = false;
    m.opt8 = true;
    refreshFromRecord();
  }
}

void MainInputScreen::onOptionClicked(QAbstractButton* option) {
  MainScreenInputs& m = host_.record().main;
  if (option == opt_[1] || option == opt_[2]) {
    m.opt1 = option == opt_[1];
    m.opt2 = option == opt_[2];
    discardResult();
    return;
  }
  // The percentage frames: "無し" empties and hides the box, "有り" shows
  // and focuses it.
  auto percentage = [&](bool some, bool& optNone, bool& optSome, std::string& text, double& number,
                        EntryBox* box) {
    discardResult();
    optNone = !some;
    optSome = some;
    if (!some) {
      number = 0.0;
      text.clear();
    }
    refreshFromRecord();
    if (some) box->focusSelectAll();
  };
  MainCheckNumbers& numbers = host_.record().derived.main;
  if (option == opt_[9] || option == opt_[10])
    return percentage(option == opt_[10], m.opt9, m.opt10, m.txt2, numbers.g, txt2_);
  if (option == opt_[11] || option == opt_[12])
    return percentage(option == opt_[12], m.opt11, m.opt12, m.txt1, numbers.s, txt1_);
  // opt3..opt8: the option shows what is in force; its button decides.
  refreshFromRecord();
  if (option == opt_[3]) directIntensity();
  else if (option == opt_[4]) calculateIntensity();
  else if (option == opt_[5]) directRunoff();
  else if (option == opt_[6]) weightedRunoff();
  else if (option == opt_[7]) calculateSewage();
  else if (option == opt_[8]) directSewage();
}

void MainInputScreen::directIntensity() {
  ProjectRecord& r = host_.record();
  txt_i_->focusSelectAll();
  txt_i_->setBordered(true);
  r.main.opt3 = true;
  r.main.opt4 = false;
  refreshFromRecord();
  discardResult();
  const bool wasOpen = isScreenShown(QStringLiteral("Form12"));
  DiscardIntensityScreen(host_);
  if (wasOpen) toolbarBackUnlessSubScreenOpen();
}

void MainInputScreen::calculateIntensity() { OpenIntensityScreen(host_); }

void MainInputScreen::directRunoff() {
  ProjectRecord& r = host_.record();
  txt_c_->focusSelectAll();
  setCBordered(true);
  r.main.opt5 = true;
  r.main.opt6 = false;
  refreshFromRecord();
  discardResult();
  const bool wasOpen = isScreenShown(QStringLiteral("Form16"));
  DiscardRunoffScreen(host_);
  if (wasOpen) toolbarBackUnlessSubScreenOpen();
}

void MainInputScreen::weightedRunoff() { OpenRunoffScreen(host_); }

bool MainInputScreen::isScreenShown(const QString& form) {
  QWidget* screen = host_.findScreen(form);
  return screen && screen->isVisible();
}

void MainInputScreen::toolbarBackUnlessSubScreenOpen() {
  // The toolbar is hidden while the intensity or runoff screen is open;
  // discarding the last of them brings it back, as their Cancel would.
  if (isScreenShown(QStringLiteral("Form12")) || isScreenShown(QStringLiteral("Form16"))) return;
  host_.setToolbarVisible(true);
}

void MainInputScreen::calculateSewage() {
  // The sewage screen's own opening rule: opt7, a class chosen, txt3
  // emptied and borderless, the dialog shown; when it has closed, the
  // result discarded, notice N4 and this screen refreshed.
  OpenSewageScreen(host_);
}

void MainInputScreen::directSewage() {
  DiscardSewageScreen(host_);
  refreshFromRecord();
  txt3_->setBordered(true);
  txt3_->focusSelectAll();
}

void MainInputScreen::sentaku() {
  ProjectRecord& r = host_.record();
  const int kind = r.main.lst_s;
  const QString form = QString::fromStdString(MainFacilityForm(kind));
  // Only the facility screen of the chosen kind belongs to the project.
  for (const char* other : kFacilityForms) {
    const QString name = QString::fromLatin1(other);
    if (name == form) continue;
    host_.discardScreen(name);
    if (name == QLatin1String("Form2")) r.facility.form2 = CatalogueFacilityInputs{};
    if (name == QLatin1String("Form5")) r.facility.form5 = OtherCircularInputs{};
    if (name == QLatin1String("Form1")) r.facility.form1 = RectangularPipeInputs{};
  }
  if (form.isEmpty()) return;
  if (form == QLatin1String("Form2")) {
    // Every catalogue choice starts the pipe afresh: first size, no slope,
    // the material's roughness, "水深８割".
    CatalogueFacilityInputs fresh;
    if (const auto material = MaterialFromKind(kind)) fresh.txt2 = DefaultRoughness(*material);
    fresh.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
    r.facility.form2 = fresh;
  } else if (!host_.findScreen(form)) {
    if (form == QLatin1String("Form5")) r.facility.form5 = OtherCircularInputs{};
    if (form == QLatin1String("Form1")) r.facility.form1 = RectangularPipeInputs{};
  }
  if (auto* screen = qobject_cast<FacilityScreen*>(host_.showScreen(form, 6165, 0)))
    screen->refreshFromRecord();
  host_.focusControl(QStringLiteral("Form25.lst_s"));
}

}  // namespace mk
