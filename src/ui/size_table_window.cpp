#include "ui/size_table_window.h"

#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "model/number_text.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

QString Number(const std::optional<double>& value) {
  return value ? QString::fromStdString(FormatNumber(*value, "0.0000")) : QStringLiteral("-");
}

}  // namespace

SizeTableWindow::SizeTableWindow(const SizeTableResult& table, int currentRow, std::function<void(int)> onChoose,
                                 QWidget* parent)
    : QDialog(parent), choose_(std::move(onChoose)) {
  NameScreen(this, QStringLiteral("SizeTable"), QStringLiteral("管径選定"));

  auto* heading = new QLabel(
      table.Q1 ? QStringLiteral("計画下水量 Q1=%1m3/sec　＊：流下能力のある最小の管径")
                     .arg(QString::fromStdString(FormatNumber(*table.Q1, "0.0000")))
               : QString(),
      this);
  NameControl(heading, QStringLiteral("lblQ1"), heading->text());
  auto* range = new QLabel(QStringLiteral("流速の範囲 %1～%2m/sec　範囲外の管径は流速範囲の欄に「範囲外」")
                               .arg(QString::fromStdString(FormatNumber(kUsualVelocityMin, "0.0")),
                                    QString::fromStdString(FormatNumber(kUsualVelocityMax, "0.0"))),
                           this);
  NameControl(range, QStringLiteral("lblRange"), range->text());

  const QStringList headers{QStringLiteral("管径"),      QStringLiteral("D (m)"),       QStringLiteral("A (m2)"),
                            QStringLiteral("P (m)"),     QStringLiteral("R (m)"),       QStringLiteral("V (m/sec)"),
                            QStringLiteral("Q2 (m3/sec)"), QStringLiteral("判定"), QStringLiteral("最小"),
                            QStringLiteral("流速範囲")};
  grid_ = new QTableWidget(static_cast<int>(table.rows.size()), headers.size(), this);
  NameControl(grid_, QStringLiteral("grdSizes"), QStringLiteral("管径選定表"));
  grid_->setHorizontalHeaderLabels(headers);
  grid_->verticalHeader()->hide();
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setTabKeyNavigation(false);

  int start = currentRow;
  for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
    const SizingRow& row = table.rows[static_cast<std::size_t>(r)];
    std::optional<double> A, P;
    if (row.section) {
      A = row.section->A;
      P = row.section->P;
    }
    const QString verdict = !row.verdict ? QStringLiteral("-")
                            : *row.verdict == Verdict::OK ? QStringLiteral("O.K")
                                                           : QStringLiteral("NO");
    const QStringList cells{QString::fromStdString(row.label), Number(row.D), Number(A), Number(P), Number(row.R),
                            Number(row.V), Number(row.Q2), verdict,
                            row.smallestPassing ? QStringLiteral("＊") : QString(),
                            !row.velocityInRange ? QStringLiteral("-")
                            : *row.velocityInRange ? QStringLiteral("範囲内")
                                                   : QStringLiteral("範囲外")};
    const bool outside = row.velocityInRange == false;
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment(c == 0   ? Qt::AlignLeft | Qt::AlignVCenter
                             : c >= 7 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
      if (row.smallestPassing) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      // A velocity outside the usual range stands out in V and in its mark.
      if (outside && (c == 5 || c == 9)) item->setForeground(QColor(192, 0, 0));
      grid_->setItem(r, c, item);
    }
    if (row.smallestPassing) start = r;
  }
  grid_->resizeColumnsToContents();
  OnEnter(grid_, [this] { choose(); });  // the current row
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { choose(); });

  auto* select = new QPushButton(QStringLiteral("選択"), this);
  NameControl(select, QStringLiteral("cmdSelect"), QStringLiteral("選択"));
  select->setAutoDefault(false);
  connect(select, &QPushButton::clicked, this, &SizeTableWindow::choose);
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  NameControl(close, QStringLiteral("cmdClose"), QStringLiteral("閉じる"));
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(select);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(range);
  layout->addWidget(grid_);
  layout->addLayout(buttons);

  // Every column in view; up to fourteen rows before the table scrolls.
  int width = 2 * grid_->frameWidth();
  for (int c = 0; c < grid_->columnCount(); ++c) width += grid_->columnWidth(c);
  const int rows = std::min(grid_->rowCount(), 14);
  grid_->setMinimumSize(width + grid_->verticalScrollBar()->sizeHint().width(),
                        grid_->horizontalHeader()->height() + rows * grid_->verticalHeader()->defaultSectionSize() +
                            2 * grid_->frameWidth());
  if (start >= 0 && start < grid_->rowCount()) {
    grid_->setCurrentCell(start, 0);
    grid_->scrollToItem(grid_->item(start, 0), QAbstractItemView::PositionAtCenter);
  }
  grid_->setFocus();
}

void SizeTableWindow::choose() {
  const int row = grid_->currentRow();
  if (row < 0) return;
  if (choose_) choose_(row);
  accept();
}

SizeTableWindow* OpenSizeTable(ScreenHost& host, QWidget* parent, std::function<void(int)> choose) {
  const ProjectRecord& record = host.record();
  const SizeTableResult table = SizeTable(record);
  if (!table.problems.empty() || table.rows.empty()) {
    const CalcError problem =
        table.problems.empty() ? CalcError{"施設の種類を選択してください。", "Form25.lst_s"} : table.problems.front();
    host.prompter().error(parent, QString::fromStdString(problem.message));
    if (!problem.focus.empty()) host.focusControl(QString::fromStdString(problem.focus));
    return nullptr;
  }
  auto* window = new SizeTableWindow(table, record.facility.form2.lst_pu, std::move(choose), parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->open();
  return window;
}

}  // namespace mk
