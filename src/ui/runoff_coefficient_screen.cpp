#include "ui/runoff_coefficient_screen.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/runoff.h"
#include "ui/main_input_screen.h"
#include "ui/screen_host.h"
#include "ui/sub_screen_support.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

const char* const kNoticeRunoff = "流出係数(Ｃ)は、各地域の開発指導要綱等による事｡";
const char* const kNoticeMain =
    "計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";

QString Q(const std::string& text) { return QString::fromStdString(text); }

const char* const kCircled[6] = {"①", "②", "③", "④", "⑤", "⑥"};

}  // namespace

RunoffCoefficientScreen::RunoffCoefficientScreen(ScreenHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  NameScreen(this, "Form16", QStringLiteral("◇ 流 出 係 数"));
  build();
  load();
}

void RunoffCoefficientScreen::build() {
  auto* layout = new QVBoxLayout(this);

  layout->addWidget(TitleLine(QStringLiteral("◇ 流 出 係 数"), 1.3));

  layout->addWidget(
      new QLabel(QStringLiteral("（土地利用形態を選択チェックし（６つまで）、流出係数、流域面積を入力してください。）")));

  // The catalogue: three columns (chk_k*, chk_t*, chk_u*), each with its heads.
  auto* catalogueFrame = new QGroupBox(this);
  auto* catalogue = new QHBoxLayout(catalogueFrame);
  const auto& choices = LandUseCatalogue();
  const int columnStarts[4] = {0, 8, 15, 19};
  for (int column = 0; column < 3; ++column) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->addWidget(ColumnHead(QStringLiteral("土地利用形態")), 0, 0);
    grid->addWidget(ColumnHead(QStringLiteral("流出係数")), 0, 1);
    for (int i = columnStarts[column]; i < columnStarts[column + 1]; ++i) {
      auto* box = new QCheckBox(QString::fromUtf8(choices[i].caption));
      NameControl(box, choices[i].control, box->text());
      checks_[i] = box;
      const int row = 1 + i - columnStarts[column];
      grid->addWidget(box, row, 0);
      grid->addWidget(new QLabel(QString::fromUtf8(choices[i].reference)), row, 1, Qt::AlignCenter);
      connect(box, &QCheckBox::clicked, this, [this, i](bool ticked) { onTick(i, ticked); });
    }
    grid->setRowStretch(9, 1);
    catalogue->addLayout(grid);
    if (column < 2) catalogue->addSpacing(16);
  }
  layout->addWidget(catalogueFrame);

  layout->addWidget(new QLabel(QStringLiteral("（土地利用形態が上記に無い場合は、直接入力してください。）")));

  // The six entry rows in two blocks: ① to ③ left, ④ to ⑥ right.
  auto& runoff = host_.record().runoff;
  auto* rowsFrame = new QGroupBox(this);
  auto* rows = new QHBoxLayout(rowsFrame);
  for (int block = 0; block < 2; ++block) {
    auto* grid = new QGridLayout;
    grid->addWidget(ColumnHead(QStringLiteral("土地利用形態")), 0, 1);
    grid->addWidget(ColumnHead(QStringLiteral("流出係数")), 0, 2);
    grid->addWidget(ColumnHead(QStringLiteral("流域面積(m2)")), 0, 3);
    for (int r = 0; r < 3; ++r) {
      const int row = block * 3 + r;
      const QString number = QString::fromUtf8(kCircled[row]);
      names_[row] = new EntryBox;
      coefficients_[row] = new EntryBox;
      areas_[row] = new EntryBox;
      NameControl(names_[row], QStringLiteral("txt_t%1").arg(row + 1), number + QStringLiteral(" 土地利用形態"));
      NameControl(coefficients_[row], QStringLiteral("txt_c%1").arg(row + 1), number + QStringLiteral(" 流出係数"));
      NameControl(areas_[row], QStringLiteral("txt_a%1").arg(row + 1), number + QStringLiteral(" 流域面積(m2)"));
      names_[row]->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("ｺﾞﾙﾌ場等の造成地域")) + 16);
      coefficients_[row]->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("流出係数")) + 16);
      areas_[row]->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("流域面積(m2)")) + 16);
      grid->addWidget(new QLabel(number), r + 1, 0);
      grid->addWidget(names_[row], r + 1, 1);
      grid->addWidget(coefficients_[row], r + 1, 2);
      grid->addWidget(areas_[row], r + 1, 3);
      BindText(names_[row], runoff.txt_t[row]);
      BindText(coefficients_[row], runoff.txt_c[row]);
      BindText(areas_[row], runoff.txt_a[row]);
    }
    rows->addLayout(grid);
    if (block == 0) rows->addSpacing(16);
  }
  layout->addWidget(rowsFrame);

  layout->addWidget(new QLabel(QStringLiteral("（途中に空白番号部分がある場合は、流出係数が印刷されません。）")));
  layout->addWidget(new QLabel(
      QStringLiteral("（例：①④の場合は④を消して②に、①②④⑤の場合は⑤を消して③に入れてください。）")));

  layout->addLayout(OkCancelRow(cmd1_, cmd2_));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmd1_, &QPushButton::clicked, this, &RunoffCoefficientScreen::onOk);
  connect(cmd2_, &QPushButton::clicked, this, &RunoffCoefficientScreen::onCancel);
}

void RunoffCoefficientScreen::load() {
  const RunoffScreenInputs& runoff = host_.record().runoff;
  for (int i = 0; i < 19; ++i) checks_[i]->setChecked(runoff.checks[i] != 0);
  for (int row = 0; row < 6; ++row) {
    names_[row]->setText(Q(runoff.txt_t[row]));
    coefficients_[row]->setText(Q(runoff.txt_c[row]));
    areas_[row]->setText(Q(runoff.txt_a[row]));
  }
}

void RunoffCoefficientScreen::onTick(int index, bool ticked) {
  ApplyLandUseToggle(host_.record().runoff, index, ticked);
  load();
}

void RunoffCoefficientScreen::onOk() {
  ProjectRecord& record = host_.record();
  if (ShowFailure(host_, this, AcceptRunoffScreen(record))) return;
  host_.hideScreen("Form16");
  host_.discardRunResult();
  host_.showScreen("Form25", 0, 0);
  if (auto* main = MainInputScreen::find(host_)) {
    main->refreshFromRecord();
    main->setCBordered(false);
  }
  host_.focusControl("Form25.Command1");
  host_.setToolbarVisible(true);
  host_.setReferenceMenuEnabled(true);
  host_.setStatusNotice(QString::fromUtf8(kNoticeMain));
}

void RunoffCoefficientScreen::onCancel() {
  host_.hideScreen("Form16");
  host_.setToolbarVisible(true);
  host_.setStatusNotice(QString::fromUtf8(kNoticeMain));
}

void RunoffCoefficientScreen::keyPressEvent(QKeyEvent* event) {
  // No Enter order on this screen: Enter presses only a focused button.
  if (PressFocusedButtonOnEnter(this, event)) return;
  QWidget::keyPressEvent(event);
}

void RunoffCoefficientScreen::showEvent(QShowEvent* event) {
  load();
  QWidget::showEvent(event);
}

void OpenRunoffScreen(ScreenHost& host) {
  // The result goes first: withdrawing it may close a print image, which
  // brings the toolbar back; this screen hides it again.
  host.discardRunResult();
  host.setToolbarVisible(false);
  host.setStatusNotice(QString::fromUtf8(kNoticeRunoff));
  if (auto* screen = qobject_cast<RunoffCoefficientScreen*>(host.showScreen("Form16", 0, 0)))
    screen->load();
}

void DiscardRunoffScreen(ScreenHost& host) {
  host.discardScreen("Form16");
  host.record().runoff = RunoffScreenInputs{};
}

}  // namespace mk
