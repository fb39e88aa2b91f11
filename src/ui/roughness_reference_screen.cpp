#include "ui/roughness_reference_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

struct TextPair {
  const char* name;
  const char* value;
};

// Runoff coefficients C by land use.
const TextPair kRunoffRows[] = {
    {"屋  根", "0.85～0.95"},
    {"道  路", "0.80～0.90"},
    {"その他の不透水面", "0.75～0.85"},
    {"水　面", "1.00"},
    {"間　地", "0.10～0.30"},
    {"芝、樹木の多い公園", "0.05～0.25"},
    {"勾配の緩い山地", "0.20～0.40"},
    {"勾配の急な山地", "0.40～0.60"},
    {"密集市街地", "0.9"},
    {"一般市街地", "0.8"},
    {"畑 ・ 原野", "0.6"},
    {"水田 ・ 山地", "0.7"},
    {"宅地等の造成地域", "0.9"},
    {"ｺﾞﾙﾌ場等の造成地域", "0.8"},
    {"林　地", "0.3～0.7"},
    {"草　地", "0.4～0.8"},
    {"耕　地", "0.5～0.8"},
    {"裸　地", "0.9～1.0"},
};

// Roughness coefficients n.  A row may belong to a group (first column) and,
// for "粗　石", to a second-level group; the first two facility texts end
// with one blank, as the table has always shown them.
struct RoughnessRow {
  const char* group;     // "" outside a group
  const char* subgroup;  // "" unless the row is one of "粗　石"
  const char* facility;
  const char* value;
};
const RoughnessRow kRoughnessRows[] = {
    {"", "", "コンクリート管渠 ", "0.013"},
    {"", "", "塩化ビニール管 ", "0.010"},
    {"", "", "強化プラスチック複合管", "0.010"},
    {"素　掘　り", "", "土", "0.020～0.025"},
    {"素　掘　り", "", "砂　れ　き", "0.025～0.040"},
    {"素　掘　り", "", "岩　　　盤", "0.025～0.035"},
    {"現 場 施 工", "", "セメントモルタル", "0.010～0.013"},
    {"現 場 施 工", "", "コンクリート", "0.013～0.018"},
    {"現 場 施 工", "粗　石", "練　積", "0.015～0.030"},
    {"現 場 施 工", "粗　石", "空　積", "0.025～0.035"},
    {"工 場 製 品", "", "遠心鉄筋コンクリート管", "0.011～0.014"},
    {"工 場 製 品", "", "コンクリート管", "0.012～0.016"},
    {"工 場 製 品", "", "コルゲートパイプ", "0.025～0.035"},
    {"", "", "一般河道", "0.030～0.035"},
    {"", "", "急流河川及川幅が広く水深の浅い河川", "0.040～0.050"},
    {"", "", "暫定素堀河道", "0.035"},
    {"", "", "三面張水路", "0.025"},
    {"", "", "河川トンネル", "0.023"},
};

// Rules each cell (a spanned cell as one) on its right and bottom edges;
// the table's frame gives the outer top and left lines.  The view's own
// grid leaves stray points where a span covers a column line.
class RuledCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(QPen(Qt::black, 1));
    const QRect r = option.rect;
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }
};

QTableWidget* RuledTable(QWidget* parent, int rows, int columns) {
  auto* table = new QTableWidget(rows, columns, parent);
  table->horizontalHeader()->hide();
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table->setShowGrid(false);
  table->setItemDelegate(new RuledCellDelegate(table));
  table->setWordWrap(false);
  table->setStyleSheet(QStringLiteral("QTableWidget { border: 1px solid black; background: white; }"));
  return table;
}

void Put(QTableWidget* table, int row, int column, const char* text,
         Qt::Alignment alignment = Qt::AlignVCenter | Qt::AlignLeft) {
  auto* item = new QTableWidgetItem(QString::fromUtf8(text));
  item->setTextAlignment(alignment);
  item->setFlags(Qt::ItemIsEnabled);
  table->setItem(row, column, item);
}

// Columns to their contents, rows to one text line, the table to its cells.
void FitToCells(QTableWidget* table) {
  table->resizeColumnsToContents();
  for (int column = 0; column < table->columnCount(); ++column)
    table->setColumnWidth(column, table->columnWidth(column) + 12);
  const int rowHeight = table->fontMetrics().height() + 8;
  for (int row = 0; row < table->rowCount(); ++row) table->setRowHeight(row, rowHeight);
  int width = 2 * table->frameWidth();
  for (int column = 0; column < table->columnCount(); ++column) width += table->columnWidth(column);
  int height = 2 * table->frameWidth();
  for (int row = 0; row < table->rowCount(); ++row) height += table->rowHeight(row);
  // The last column's and row's rules fall under the frame.
  table->setFixedSize(width - 1, height - 1);
}

QLabel* Heading(QWidget* parent, const QString& text, const QString& name) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  NameControl(label, name);
  return label;
}

}  // namespace

RoughnessReferenceScreen::RoughnessReferenceScreen(ScreenHost& host, QWidget* parent)
    : QDialog(parent) {
  (void)host;  // the tables are fixed; nothing is read from or written to the project
  NameScreen(this, QStringLiteral("Form4"), QStringLiteral("ミルカナ"));
  setModal(true);

  const Qt::Alignment centre = Qt::AlignCenter;

  // Left: runoff coefficients.  Row 0 holds the column captions.
  const int runoffRows = static_cast<int>(std::size(kRunoffRows));
  runoff_ = RuledTable(this, runoffRows + 1, 2);
  NameControl(runoff_, QStringLiteral("grd_c"), QStringLiteral("◇ 流 出 係 数（Ｃ）"));
  Put(runoff_, 0, 0, "土地利用形態", centre);
  Put(runoff_, 0, 1, "流出係数", centre);
  for (int i = 0; i < runoffRows; ++i) {
    Put(runoff_, i + 1, 0, kRunoffRows[i].name);
    Put(runoff_, i + 1, 1, kRunoffRows[i].value, centre);
  }
  FitToCells(runoff_);

  // Right: roughness coefficients.  Columns: group, second-level group or
  // facility, facility within the second-level group, value.
  const int roughnessRows = static_cast<int>(std::size(kRoughnessRows));
  roughness_ = RuledTable(this, roughnessRows + 1, 4);
  NameControl(roughness_, QStringLiteral("grd_n"), QStringLiteral("◇ 粗 度 係 数（ｎ）"));
  Put(roughness_, 0, 0, "排 水 施 設 の 種 類", centre);
  roughness_->setSpan(0, 0, 1, 3);
  Put(roughness_, 0, 3, "粗 度 係 数", centre);
  for (int i = 0; i < roughnessRows;) {
    const RoughnessRow& first = kRoughnessRows[i];
    int groupEnd = i + 1;
    while (groupEnd < roughnessRows && *first.group &&
           QByteArray(kRoughnessRows[groupEnd].group) == QByteArray(first.group))
      ++groupEnd;
    if (*first.group) {
      Put(roughness_, i + 1, 0, first.group, centre);
      if (groupEnd - i > 1) roughness_->setSpan(i + 1, 0, groupEnd - i, 1);
    }
    for (int r = i; r < groupEnd; ++r) {
      const RoughnessRow& row = kRoughnessRows[r];
      const int tableRow = r + 1;
      const int firstColumn = *row.group ? 1 : 0;
      if (*row.subgroup) {
        if (r == i || QByteArray(kRoughnessRows[r - 1].subgroup) != QByteArray(row.subgroup)) {
          int subEnd = r + 1;
          while (subEnd < groupEnd && QByteArray(kRoughnessRows[subEnd].subgroup) == QByteArray(row.subgroup))
            ++subEnd;
          Put(roughness_, tableRow, 1, row.subgroup, centre);
          if (subEnd - r > 1) roughness_->setSpan(tableRow, 1, subEnd - r, 1);
        }
        Put(roughness_, tableRow, 2, row.facility);
      } else {
        Put(roughness_, tableRow, firstColumn, row.facility);
        if (3 - firstColumn > 1) roughness_->setSpan(tableRow, firstColumn, 1, 3 - firstColumn);
      }
      Put(roughness_, tableRow, 3, row.value, centre);
    }
    i = groupEnd;
  }
  // Spanned texts must not widen the narrow columns they start in.
  roughness_->resizeColumnsToContents();
  {
    const QFontMetrics metrics = roughness_->fontMetrics();
    int groupWidth = 0, subgroupWidth = 0, innerWidth = 0, valueWidth = 0, spanWidth = 0;
    for (const RoughnessRow& row : kRoughnessRows) {
      const int facility = metrics.horizontalAdvance(QString::fromUtf8(row.facility));
      groupWidth = std::max(groupWidth, metrics.horizontalAdvance(QString::fromUtf8(row.group)));
      subgroupWidth = std::max(subgroupWidth, metrics.horizontalAdvance(QString::fromUtf8(row.subgroup)));
      if (*row.subgroup) innerWidth = std::max(innerWidth, facility);
      else if (*row.group) spanWidth = std::max(spanWidth, facility);
      valueWidth = std::max(valueWidth, metrics.horizontalAdvance(QString::fromUtf8(row.value)));
    }
    int longest = 0;
    for (const RoughnessRow& row : kRoughnessRows)
      if (!*row.group) longest = std::max(longest, metrics.horizontalAdvance(QString::fromUtf8(row.facility)));
    const int pad = 14;
    roughness_->setColumnWidth(0, groupWidth + pad);
    roughness_->setColumnWidth(1, subgroupWidth + pad);
    // The facility columns together take the longest facility text.
    int inner = std::max({innerWidth + pad, spanWidth + pad - (subgroupWidth + pad)});
    inner = std::max(inner, longest + pad - (groupWidth + pad) - (subgroupWidth + pad));
    roughness_->setColumnWidth(2, inner);
    roughness_->setColumnWidth(3, std::max(valueWidth, metrics.horizontalAdvance(QStringLiteral("粗 度 係 数"))) + pad);
    const int rowHeight = metrics.height() + 8;
    for (int row = 0; row < roughness_->rowCount(); ++row) roughness_->setRowHeight(row, rowHeight);
    int width = 2 * roughness_->frameWidth();
    for (int column = 0; column < 4; ++column) width += roughness_->columnWidth(column);
    int height = 2 * roughness_->frameWidth() + rowHeight * roughness_->rowCount();
    roughness_->setFixedSize(width - 1, height - 1);
  }

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  left->addWidget(Heading(this, QStringLiteral("◇ 流 出 係 数（Ｃ）"), QStringLiteral("Label1")));
  left->addWidget(runoff_);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->setSpacing(4);
  right->addWidget(Heading(this, QStringLiteral("◇ 粗 度 係 数（ｎ）"), QStringLiteral("Label2")));
  right->addWidget(roughness_);
  right->addStretch(1);

  auto* tables = new QHBoxLayout;
  tables->setSpacing(24);
  tables->addLayout(left);
  tables->addLayout(right);

  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  NameControl(close, QStringLiteral("cmd1"), QStringLiteral("閉じる"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->addLayout(tables);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace mk
