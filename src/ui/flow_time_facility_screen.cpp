#include "ui/flow_time_facility_screen.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/flow_time_selection_screen.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

FlowTimeFacilityScreen::FlowTimeFacilityScreen(ScreenHost& host, const QString& form, const QString& title,
                                               QWidget* parent)
    : QWidget(parent), host_(host) {
  NameScreen(this, form, title);
}

std::optional<double> FlowTimeFacilityScreen::computeVelocity(const std::function<void()>& sectionDone) {
  double velocity = 0.0;
  if (!ComputeFlowTimeVelocity(host_, this, velocity, sectionDone)) return std::nullopt;
  return velocity;
}

void FlowTimeFacilityScreen::handBack(double velocity) { HandBackFlowTimeVelocity(host_, objectName(), velocity); }

QLabel* FlowTimeFacilityScreen::makeHeading(const QString& text) {
  auto* heading = new QLabel(text, this);
  QFont font = heading->font();
  font.setBold(true);
  heading->setFont(font);
  NameControl(heading, QStringLiteral("Label1"));
  return heading;
}

QPushButton* FlowTimeFacilityScreen::makeCalculateButton() {
  auto* button = new QPushButton(QStringLiteral("計算"), this);
  NameControl(button, QStringLiteral("cmd1"), button->text());
  connect(button, &QPushButton::clicked, this, [this] {
    if (const std::optional<double> velocity = computeVelocity()) handBack(*velocity);
  });
  return button;
}

QPushButton* FlowTimeFacilityScreen::makeCancelButton() {
  auto* button = new QPushButton(QStringLiteral("キャンセル"), this);
  NameControl(button, QStringLiteral("cmd2"), button->text());
  connect(button, &QPushButton::clicked, this, [this] { CancelFlowTimeVelocity(host_); });
  return button;
}

QHBoxLayout* FlowTimeFacilityScreen::makeButtonRow(QPushButton*& calculate, QPushButton*& cancel) {
  calculate = makeCalculateButton();
  cancel = makeCancelButton();
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(calculate);
  row->addWidget(cancel);
  return row;
}

QComboBox* FlowTimeFacilityScreen::makeDepthChoice(const QString& caption, int* field) {
  auto* box = new QComboBox(this);
  NameControl(box, QStringLiteral("cbo1"), caption);
  box->setMaxVisibleItems(15);
  connect(box, &QComboBox::currentIndexChanged, this, [this, field](int index) {
    if (!loading_) *field = index;
  });
  return box;
}

void FlowTimeFacilityScreen::closeEvent(QCloseEvent* event) {
  // The window stays until the velocity calculation discards it.
  event->ignore();
  CancelFlowTimeVelocity(host_);
}

void BindTextToRecord(EntryBox* box, std::string* field) {
  QObject::connect(box, &QLineEdit::textEdited, box,
                   [field](const QString& text) { *field = text.toStdString(); });
}

void FillDepthChoices(QComboBox* box, DepthListKind kind, int index) {
  const QSignalBlocker blocker(box);
  box->clear();
  for (const DepthChoice& choice : DepthChoiceList(kind))
    box->addItem(QString::fromStdString(choice.text));
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

}  // namespace mk
