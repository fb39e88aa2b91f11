#include "ui/results_screen.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

// Q2 when the facility cannot carry the planned flow: the light magenta of
// the 16-colour palette.
const QColor kShortfallColour(255, 0, 255);

QLabel* ValueLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  NameControl(label, name);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000.0000")));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

QLabel* Heading(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  NameControl(label, name, text);
  return label;
}

}  // namespace

ResultsScreen::ResultsScreen(ScreenHost& host, QWidget* parent) : QWidget(parent), host_(host) {
  NameScreen(this, QStringLiteral("Form26"), QStringLiteral("★　計 算 結 果"));
  lbl16_ = new QLabel(this);
  NameControl(lbl16_, QStringLiteral("lbl16"));
  lbl16_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbl17_ = new QLabel(this);
  NameControl(lbl17_, QStringLiteral("lbl17"));
  lbl3_ = ValueLabel(QStringLiteral("lbl3"), this);
  lbl6_ = ValueLabel(QStringLiteral("lbl6"), this);
  lbl9_ = ValueLabel(QStringLiteral("lbl9"), this);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(10, 8, 10, 8);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(8);
  // Q1 row: heading, surcharge factor and its sign, Q1.
  grid->addWidget(Heading(QStringLiteral("lbl2"), QStringLiteral("◎  計画雨水量"), this), 0, 0);
  grid->addWidget(lbl16_, 0, 1);
  grid->addWidget(lbl17_, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Ｑ1="), this), 0, 3);
  grid->addWidget(lbl3_, 0, 4);
  grid->addWidget(new QLabel(QStringLiteral("m3/sec"), this), 0, 5);
  // Q2 row, with the velocity to its right.
  grid->addWidget(Heading(QStringLiteral("lbl5"), QStringLiteral("◎  流　　  　 量"), this), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Ｑ2="), this), 1, 3);
  grid->addWidget(lbl6_, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("m3/sec"), this), 1, 5);
  grid->setColumnMinimumWidth(6, 16);
  grid->addWidget(Heading(QStringLiteral("lbl8"), QStringLiteral("○  流　  　   速"), this), 1, 7);
  grid->addWidget(new QLabel(QStringLiteral("Ｖ="), this), 1, 8);
  grid->addWidget(lbl9_, 1, 9);
  grid->addWidget(new QLabel(QStringLiteral("m/sec"), this), 1, 10);
  lbl16_->setMinimumWidth(lbl16_->fontMetrics().horizontalAdvance(QStringLiteral("00.00")));
  lbl17_->setMinimumWidth(lbl17_->fontMetrics().horizontalAdvance(QStringLiteral("××")));
  showResult(QString(), QString(), false);
  setFixedSize(sizeHint());
}

void ResultsScreen::showResult(const QString& lbl16, const QString& lbl17, bool verdictIsNo) {
  const ResultCaptions& results = host_.record().results;
  lbl16_->setText(lbl16);
  lbl17_->setText(lbl17);
  lbl3_->setText(QString::fromStdString(results.lbl3));
  lbl6_->setText(QString::fromStdString(results.lbl6));
  lbl9_->setText(QString::fromStdString(results.lbl9));
  QPalette palette = lbl3_->palette();
  if (verdictIsNo) palette.setColor(QPalette::WindowText, kShortfallColour);
  lbl6_->setPalette(palette);
}

void ResultsScreen::closeEvent(QCloseEvent* event) {
  // Closing the results withdraws the run result (Save, print and Write
  // are offered only while a result exists).
  event->accept();
  host_.discardRunResult();
}

}  // namespace mk
