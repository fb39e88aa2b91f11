#include "ui/sewage_flow_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/main_input_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

const char* const kNoticeSewage =
    "地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事｡";

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SewageFlowScreen::SewageFlowScreen(ScreenHost& host, QWidget* parent)
    : SubScreenDialog(host, QStringLiteral("Form28"), parent) {
  build();
  load();
}

void SewageFlowScreen::build() {
  auto* layout = new QVBoxLayout(this);

  auto* classFrame = new QGroupBox(this);
  auto* classRow = new QHBoxLayout(classFrame);
  opt1_ = new QRadioButton(QStringLiteral("住宅地"));
  opt2_ = new QRadioButton(QStringLiteral("住宅地以外（1）"));
  opt3_ = new QRadioButton(QStringLiteral("住宅地以外（2）"));
  NameControl(opt1_, "opt1", opt1_->text());
  NameControl(opt2_, "opt2", opt2_->text());
  NameControl(opt3_, "opt3", opt3_->text());
  classRow->addWidget(opt1_);
  classRow->addWidget(opt2_);
  classRow->addWidget(opt3_);
  layout->addWidget(classFrame);

  txt_p_ = new EntryBox;
  txt_q1_ = new EntryBox;
  txt_a_ = new EntryBox;
  txt_q2_ = new EntryBox;
  NameControl(txt_p_, "txt_p", QStringLiteral("計画人口 Ｐ＝"));
  NameControl(txt_q1_, "txt_q1", QStringLiteral("計画時間最大汚水量（１人１日当り） ｑ＝"));
  NameControl(txt_a_, "txt_a", QStringLiteral("排水面積 Ａ＝"));
  NameControl(txt_q2_, "txt_q2", QStringLiteral("計画時間最大汚水量　（１ｈｒ当り） ｑ＝"));

  populationBlock_ = new QGroupBox(this);
  auto* population = new QGridLayout(populationBlock_);
  AddEntryRow(population, 0, QStringLiteral("計画人口"), QStringLiteral("Ｐ＝"), txt_p_, QStringLiteral("人"));
  AddEntryRow(population, 1, QStringLiteral("計画時間最大汚水量（１人１日当り）"), QStringLiteral("ｑ＝"),
              txt_q1_, QStringLiteral("㍑／人／日"));
  layout->addWidget(populationBlock_);

  areaBlock_ = new QGroupBox(this);
  auto* area = new QGridLayout(areaBlock_);
  AddEntryRow(area, 0, QStringLiteral("排水面積"), QStringLiteral("Ａ＝"), txt_a_, QStringLiteral("m2"));
  AddEntryRow(area, 1, QStringLiteral("計画時間最大汚水量　（１ｈｒ当り）"), QStringLiteral("ｑ＝"), txt_q2_,
              QStringLiteral("m3/sec・ha"));
  layout->addWidget(areaBlock_);

  // Both blocks use the same column widths, so the boxes line up.
  for (QGridLayout* grid : {population, area}) {
    grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(
                                       QStringLiteral("計画時間最大汚水量　（１ｈｒ当り）")) + 8);
    grid->setColumnMinimumWidth(2, 120);
    grid->setColumnMinimumWidth(3, fontMetrics().horizontalAdvance(QStringLiteral("m3/sec・ha")) + 8);
  }

  addOkCancel(layout);

  auto& sewage = host_.record().sewage;
  connect(opt1_, &QRadioButton::clicked, this, [this] { chooseClass(SewageClass::Residential); });
  connect(opt2_, &QRadioButton::clicked, this, [this] { chooseClass(SewageClass::NonResidential1); });
  connect(opt3_, &QRadioButton::clicked, this, [this] { chooseClass(SewageClass::NonResidential2); });
  BindText(txt_p_, sewage.txt_p);
  BindText(txt_q1_, sewage.txt_q1);
  BindText(txt_a_, sewage.txt_a);
  BindText(txt_q2_, sewage.txt_q2);

  auto* enter = new EnterOrder(this);
  enter->setTarget(opt1_, [this] { return txt_p_; });
  enter->setTarget(opt2_, [this] { return txt_p_; });
  enter->setTarget(opt3_, [this] { return txt_a_; });
  enter->setTarget(txt_p_, [this] { return txt_q1_; });
  enter->setTarget(txt_q1_, [this] { return afterPerCapitaFlow(); });
  enter->setTarget(txt_a_, [this] { return txt_q2_; });
  enter->setTarget(txt_q2_, [this] { return cmd1_; });
}

QWidget* SewageFlowScreen::afterPerCapitaFlow() {
  const auto chosen = ChosenSewageClass(host_.record().sewage);
  if (chosen == SewageClass::Residential) return cmd1_;
  if (chosen == SewageClass::NonResidential1) return txt_a_;
  return nullptr;
}

void SewageFlowScreen::load() {
  const SewageFlowInput& sewage = host_.record().sewage;
  SetOption(opt1_, sewage.opt1);
  SetOption(opt2_, sewage.opt2);
  SetOption(opt3_, sewage.opt3);
  txt_p_->setText(Q(sewage.txt_p));
  txt_q1_->setText(Q(sewage.txt_q1));
  txt_a_->setText(Q(sewage.txt_a));
  txt_q2_->setText(Q(sewage.txt_q2));
  const auto chosen = ChosenSewageClass(sewage);
  populationBlock_->setEnabled(!chosen || UsesPopulation(*chosen));
  areaBlock_->setEnabled(!chosen || UsesArea(*chosen));
}

void SewageFlowScreen::chooseClass(SewageClass sewageClass) {
  // Clicking the class already chosen keeps the entries.
  if (ChosenSewageClass(host_.record().sewage) == sewageClass) return;
  ChooseSewageClass(host_.record().sewage, sewageClass);
  load();
}

void SewageFlowScreen::onOk() {
  if (ShowFailure(host_, this, AcceptSewageScreen(host_.record()))) return;
  QDialog::accept();
}

void SewageFlowScreen::reject() {
  host_.record().sewage = SewageFlowInput{};
  load();
  QDialog::reject();
}

void OpenSewageScreen(ScreenHost& host) {
  BeginSewageCalculation(host.record());
  if (auto* main = MainInputScreen::find(host)) {
    main->refreshFromRecord();
    main->setSewageBordered(false);
  }
  auto* screen = qobject_cast<SewageFlowScreen*>(host.screen("Form28"));
  if (!screen) return;
  screen->load();
  QObject::connect(
      screen, &QDialog::finished, screen,
      [&host] {
        host.discardRunResult();
        host.setStatusNotice(QString::fromUtf8(kNoticeSewage));
        if (auto* main = MainInputScreen::find(host)) main->refreshFromRecord();
      },
      Qt::SingleShotConnection);
  screen->open();
}

void DiscardSewageScreen(ScreenHost& host) {
  host.discardScreen("Form28");
  SwitchSewageToDirect(host.record());
  host.discardRunResult();
  host.setStatusNotice(QString::fromUtf8(kNoticeSewage));
}

}  // namespace mk
