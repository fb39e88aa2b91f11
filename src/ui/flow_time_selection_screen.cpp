#include "ui/flow_time_selection_screen.h"

#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "calc/flow_time.h"
#include "model/number_text.h"
#include "ui/ditch_screen.h"
#include "ui/flow_time_circular_screen.h"
#include "ui/flow_time_pipe_screen.h"
#include "ui/irregular_channel_screen.h"
#include "ui/prompter.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

// The kinds in list order.  The group words are followed by two blanks and
// the other entries start with eight, so that in a fixed-pitch font the
// facility names line up under each other.
const char* const kKindEntries[] = {
    "排水管  ＶＰ管",
    "        ＶＵ管",
    "        強化プラスチック複合管",
    "        ヒューム管",
    "        その他円形管",
    "排水溝  Ｕ型トラフ",
    "        Ｕ型溝 台形溝",
    "        その他排水溝",
};
constexpr int kKindCount = 8;

const char* const kHandBackNotice =
    "雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡";

// A closed facility screen's inputs start over: it opens empty next time.
void ResetFacilityInputs(FlowTimeFacilityInputs& inputs, int code) {
  switch (code) {
    case 1: inputs.form18 = CatalogueFacilityInputs{}; break;
    case 2: inputs.form19 = DitchInputs{}; break;
    case 3: inputs.form20 = OtherCircularInputs{}; break;
    case 4: inputs.form21 = IrregularChannelInputs{}; break;
    default: break;
  }
}

void DiscardFlowTimeScreens(ScreenHost& host) {
  for (int code = 1; code <= 4; ++code) host.discardScreen(FlowTimeFacilityForm(code));
  host.discardScreen(QStringLiteral("Form17"));
}

void ActivateScreenOf(ScreenHost& host, const QString& formDotControl) {
  QWidget* screen = host.findScreen(formDotControl.section(QLatin1Char('.'), 0, 0));
  if (!screen) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget())) {
    if (QMdiArea* area = host.workArea()) area->setActiveSubWindow(sub);
  }
}

}  // namespace

QString FlowTimeFacilityForm(int code) {
  switch (code) {
    case 1: return QStringLiteral("Form18");
    case 2: return QStringLiteral("Form19");
    case 3: return QStringLiteral("Form20");
    case 4: return QStringLiteral("Form21");
    default: return QString();
  }
}

int StoredFlowTimeScreenCode(ScreenHost& host) {
  const double code = ParseLeadingNumber(host.record().flowTime.FlowTimeScreenCode);
  return (code >= 1.0 && code <= 4.0) ? static_cast<int>(code) : 0;
}

void OpenFlowTimeVelocity(ScreenHost& host) {
  // Form17 presents its facility screen when it is shown (see showEvent).
  QWidget* selection = host.showScreen(QStringLiteral("Form17"), 0, 0);
  const QString facility = FlowTimeFacilityForm(StoredFlowTimeScreenCode(host));
  if (selection && !facility.isEmpty()) {
    QWidget* screen = host.findScreen(facility);
    if (!screen || !screen->isVisible())
      host.showScreen(facility, kFlowTimeFacilityLeftTwips, 0);
  }
}

void DiscardFlowTimeVelocity(ScreenHost& host) {
  DiscardFlowTimeScreens(host);
  host.record().flowTime = FlowTimeFacilityInputs{};
  host.record().flowTime.FlowTimeScreenCode = FormatGeneralNumber(0);
}

void CancelFlowTimeVelocity(ScreenHost& host) {
  auto* selection = qobject_cast<FlowTimeSelectionScreen*>(host.findScreen(QStringLiteral("Form17")));
  host.hideScreen(QStringLiteral("Form17"));
  for (int code = 1; code <= 4; ++code) host.hideScreen(FlowTimeFacilityForm(code));
  if (selection)
    selection->restoreOpeningState();
  else
    host.record().flowTime = FlowTimeFacilityInputs{};
  host.record().flowTime.FlowTimeScreenCode = FormatGeneralNumber(0);
  QObject* context = host.workArea();
  if (!context) {
    DiscardFlowTimeScreens(host);
    return;
  }
  QMetaObject::invokeMethod(
      context,
      [&host] {
        // Unless the velocity calculation was opened again meanwhile.
        QWidget* reopened = host.findScreen(QStringLiteral("Form17"));
        if (!reopened || !reopened->isVisible()) DiscardFlowTimeScreens(host);
      },
      Qt::QueuedConnection);
}

bool ComputeFlowTimeVelocity(ScreenHost& host, QWidget* screen, double& velocity,
                             const std::function<void()>& sectionDone) {
  const Outcome<double> outcome = RunFlowTimeVelocity(host.record(), sectionDone);
  if (!outcome) {
    host.prompter().error(screen, QString::fromStdString(outcome.error().message));
    const QString focus = QString::fromStdString(outcome.error().focus);
    if (!focus.isEmpty()) {
      ActivateScreenOf(host, focus);
      host.focusControl(focus);
    }
    return false;
  }
  velocity = outcome.value();
  return true;
}

void HandBackFlowTimeVelocity(ScreenHost& host, const QString& facilityForm, double velocity) {
  host.hideScreen(QStringLiteral("Form17"));
  host.hideScreen(facilityForm);
  if (auto* intensityScreen = qobject_cast<RainfallIntensityScreen*>(host.findScreen(QStringLiteral("Form12")))) {
    intensityScreen->acceptFlowTimeVelocity(velocity);
    if (intensityScreen->isVisible()) ActivateScreenOf(host, QStringLiteral("Form12"));
    return;
  }
  // Without a rainfall-intensity screen, its record fields take the
  // velocity; the screen shows them when it opens.
  IntensityScreenInputs& intensity = host.record().intensity;
  intensity.Option7 = false;
  intensity.Option8 = true;
  intensity.txt5 = FormatNumber(velocity, "0.00##");
  host.setStatusNotice(QString::fromUtf8(kHandBackNotice));
}

FlowTimeSelectionScreen::FlowTimeSelectionScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  NameScreen(this, QStringLiteral("Form17"), QStringLiteral("流量計算"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 12);
  layout->setSpacing(6);

  auto* heading = new QLabel(QStringLiteral("流下時間の流速計算"), this);
  QFont headingFont = heading->font();
  headingFont.setBold(true);
  headingFont.setPointSizeF(headingFont.pointSizeF() * 1.15);
  heading->setFont(headingFont);
  heading->setAlignment(Qt::AlignCenter);
  NameControl(heading, QStringLiteral("Label1"));
  layout->addWidget(heading);

  auto* kindCaption = new QLabel(QStringLiteral("施設の種類"), this);
  NameControl(kindCaption, QStringLiteral("Label2"));
  layout->addWidget(kindCaption);

  lst_s_ = new QListWidget(this);
  NameControl(lst_s_, QStringLiteral("lst_s"), QStringLiteral("施設の種類"));
  // A fixed-pitch face keeps the indented entries in line.
  QFont listFont(QStringLiteral("IPAGothic"));
  listFont.setStyleHint(QFont::TypeWriter);
  listFont.setPointSizeF(font().pointSizeF());
  lst_s_->setFont(listFont);
  for (const char* entry : kKindEntries) lst_s_->addItem(QString::fromUtf8(entry));
  lst_s_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lst_s_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int rowHeight = lst_s_->sizeHintForRow(0);
  lst_s_->setFixedHeight(rowHeight * kKindCount + 2 * lst_s_->frameWidth() + 4);
  lst_s_->setMinimumWidth(lst_s_->sizeHintForColumn(0) + 2 * lst_s_->frameWidth() + 8);
  layout->addWidget(lst_s_);

  auto* formulaFrame = new QGroupBox(QStringLiteral("流速の計算方法"), this);
  NameControl(formulaFrame, QStringLiteral("Frame1"), QStringLiteral("流速の計算方法"));
  auto* formulaLayout = new QVBoxLayout(formulaFrame);
  opt1_ = new QRadioButton(QStringLiteral("マニング公式"), formulaFrame);
  NameControl(opt1_, QStringLiteral("opt1"), QStringLiteral("マニング公式"));
  opt2_ = new QRadioButton(QStringLiteral("クッター公式"), formulaFrame);
  NameControl(opt2_, QStringLiteral("opt2"), QStringLiteral("クッター公式"));
  formulaLayout->addWidget(opt1_);
  formulaLayout->addWidget(opt2_);
  layout->addWidget(formulaFrame);
  layout->addStretch(1);

  enter_ = new EnterOrder(this);
  enter_->setTarget(opt1_, [this] { return lst_s_; });
  enter_->setTarget(opt2_, [this] { return lst_s_; });

  connect(opt1_, &QRadioButton::toggled, this, [this](bool on) {
    if (loading_) return;
    host_.record().flowTime.opt1 = on;
  });
  connect(opt2_, &QRadioButton::toggled, this, [this](bool on) {
    if (loading_) return;
    host_.record().flowTime.opt2 = on;
  });
  connect(lst_s_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (loading_ || row < 0) return;
    selectKind(row);
    // Keep the keyboard in the list while the facility screen follows it.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
      if (QMdiArea* area = host_.workArea()) area->setActiveSubWindow(sub);
    }
    lst_s_->setFocus(Qt::OtherFocusReason);
  });

  load();
  setFixedWidth(296);
}

void FlowTimeSelectionScreen::load() {
  const FlowTimeFacilityInputs& inputs = host_.record().flowTime;
  loading_ = true;
  const int kind = inputs.lst_s;
  lst_s_->setCurrentRow(kind >= 0 && kind < kKindCount ? kind : -1);
  // Neither formula may be chosen yet; exclusivity would keep one checked.
  opt1_->setAutoExclusive(false);
  opt2_->setAutoExclusive(false);
  opt1_->setChecked(inputs.opt1);
  opt2_->setChecked(inputs.opt2 && !inputs.opt1);
  opt1_->setAutoExclusive(true);
  opt2_->setAutoExclusive(true);
  loading_ = false;
}

void FlowTimeSelectionScreen::selectKind(int kind) {
  FlowTimeFacilityInputs& inputs = host_.record().flowTime;
  const int code = FlowTimeScreenCodeForKind(kind);
  const QString chosen = FlowTimeFacilityForm(code);
  inputs.lst_s = kind;

  for (int other = 1; other <= 4; ++other) {
    if (other == code) continue;
    host_.discardScreen(FlowTimeFacilityForm(other));
    ResetFacilityInputs(inputs, other);
  }
  inputs.FlowTimeScreenCode = FormatGeneralNumber(code);
  if (chosen.isEmpty()) return;

  if (code == 1) {
    ResetFlowTimePipeInputs(inputs, kind);
    if (auto* pipe = qobject_cast<FlowTimePipeScreen*>(host_.findScreen(chosen))) pipe->load();
  } else if (!host_.findScreen(chosen)) {
    ResetFacilityInputs(inputs, code);
  }
  host_.showScreen(chosen, kFlowTimeFacilityLeftTwips, 0);
}

void FlowTimeSelectionScreen::restoreOpeningState() {
  if (!openedWith_) return;
  ProjectRecord& record = host_.record();
  record.flowTime = openedWith_->inputs;
  record.derived.flowTimeSection = openedWith_->section;
  record.derived.flowTimeCapacity = openedWith_->capacity;
  record.derived.flowTimeSlope = openedWith_->slope;
  record.derived.flowTimeRoughness = openedWith_->roughness;
  load();
}

void FlowTimeSelectionScreen::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  const ProjectRecord& record = host_.record();
  openedWith_ = OpeningState{record.flowTime, record.derived.flowTimeSection, record.derived.flowTimeCapacity,
                             record.derived.flowTimeSlope, record.derived.flowTimeRoughness};
  presentFacilityScreen();
}

void FlowTimeSelectionScreen::closeEvent(QCloseEvent* event) {
  // The window stays until the velocity calculation discards it.
  event->ignore();
  CancelFlowTimeVelocity(host_);
}

void FlowTimeSelectionScreen::presentFacilityScreen() {
  const QString facility = FlowTimeFacilityForm(StoredFlowTimeScreenCode(host_));
  if (facility.isEmpty()) {
    // No facility screen belongs to the velocity yet: start from the first
    // kind with no formula chosen, as a new velocity calculation.
    FlowTimeFacilityInputs& inputs = host_.record().flowTime;
    inputs.lst_s = 0;
    inputs.opt1 = false;
    inputs.opt2 = false;
    load();
    selectKind(0);
    return;
  }
  QWidget* screen = host_.findScreen(facility);
  if (!screen || !screen->isVisible()) host_.showScreen(facility, kFlowTimeFacilityLeftTwips, 0);
}

}  // namespace mk
