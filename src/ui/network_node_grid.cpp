#include "ui/network_node_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <algorithm>
#include <unordered_set>

#include "calc/network_levels.h"
#include "ui/network_table_screen.h"
#include "ui/widget_support.h"

namespace mk {

namespace nf = network_field;

namespace {

const QColor kOrphanText(128, 128, 128);

const char* const kFields[] = {nf::kNode, nf::kGround, nf::kFixedInvert, nf::kNodeDrop};
const char* const kCaptions[] = {"節点", "地盤高 (m)", "管底高 固定 (m)", "最小段差 (m)"};

QString Text(const std::string& s) { return QString::fromStdString(s); }

std::string* NodeText(NetworkNode& node, int column) {
  return column > NetworkNodeModel::NodeColumn && column < NetworkNodeModel::ColumnCount
             ? NetworkNodeLevel(node, kFields[column])
             : nullptr;
}

bool HasValues(const NetworkNode& node) {
  return !node.ground.empty() || !node.invert.empty() || !node.minimumDrop.empty();
}

// A pasted value the levels can read: empty, or a plain decimal number.
bool IsPlainNumber(const std::string& text) {
  static const QRegularExpression kNumber(QStringLiteral("^[ \\t]*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)[ \\t]*$"));
  return text.empty() || kNumber.match(Text(text)).hasMatch();
}

// The level cells edit in a plain line; Enter commits and moves on.
class NodeCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* line = new QLineEdit(parent);
    NameControl(line, NetworkNodeModel::columnName(index.column()), NetworkNodeModel::columnCaption(index.column()));
    return line;
  }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (auto* editor = qobject_cast<QWidget*>(object); editor && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }
};

}  // namespace

// ---------------------------------------------------------------- model

NetworkNodeModel::NetworkNodeModel(NetworkTableModel& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  rows_ = rowsOf(table_.record());
  connect(&table_, &NetworkTableModel::recomputed, this, &NetworkNodeModel::follow);
  connect(&table_, &QAbstractItemModel::modelReset, this, &NetworkNodeModel::follow);
}

QString NetworkNodeModel::columnName(int column) {
  return column >= 0 && column < ColumnCount ? QString::fromLatin1(kFields[column]) : QString();
}

QString NetworkNodeModel::columnCaption(int column) {
  return column >= 0 && column < ColumnCount ? QString::fromUtf8(kCaptions[column]) : QString();
}

int NetworkNodeModel::columnOfField(const std::string& field) {
  for (int c = 0; c < ColumnCount; ++c)
    if (field == kFields[c]) return c;
  return -1;
}

std::vector<NetworkNodeModel::Row> NetworkNodeModel::rowsOf(const NetworkRecord& record) const {
  std::vector<Row> rows;
  std::unordered_set<int> used;
  const std::vector<std::string> names = NetworkNodeNames(record);
  const std::unordered_set<std::string> named(names.begin(), names.end());
  for (const std::string& name : names) {
    Row row{name, -1, false};
    for (int k = 0; k < static_cast<int>(record.nodes.size()); ++k) {
      if (record.nodes[static_cast<std::size_t>(k)].name == name) {
        row.index = k;
        used.insert(k);
        break;
      }
    }
    rows.push_back(row);
  }
  // Entries with values no segment names, and a second entry of a name, at the end.
  for (int k = 0; k < static_cast<int>(record.nodes.size()); ++k) {
    const NetworkNode& node = record.nodes[static_cast<std::size_t>(k)];
    if (!used.count(k) && (HasValues(node) || named.count(node.name))) rows.push_back(Row{node.name, k, true});
  }
  return rows;
}

void NetworkNodeModel::follow() {
  std::vector<Row> rows = rowsOf(table_.record());
  if (rows == rows_) {
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    return;
  }
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

std::string NetworkNodeModel::nodeName(int row) const {
  return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].name : std::string();
}

int NetworkNodeModel::recordIndex(int row) const {
  return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)].index : -1;
}

int NetworkNodeModel::rowOfRecordIndex(int index) const {
  for (int r = 0; r < rowCount(); ++r)
    if (index >= 0 && rows_[static_cast<std::size_t>(r)].index == index) return r;
  return -1;
}

bool NetworkNodeModel::isOrphan(int row) const {
  return row >= 0 && row < rowCount() && rows_[static_cast<std::size_t>(row)].orphan;
}

QString NetworkNodeModel::text(int row, int column) const {
  if (row < 0 || row >= rowCount()) return QString();
  const Row& r = rows_[static_cast<std::size_t>(row)];
  if (column == NodeColumn) return Text(r.name);
  const auto& nodes = table_.record().nodes;
  if (r.index < 0 || r.index >= static_cast<int>(nodes.size())) return QString();
  NetworkNode node = nodes[static_cast<std::size_t>(r.index)];
  const std::string* field = NodeText(node, column);
  return field ? Text(*field) : QString();
}

bool NetworkNodeModel::setCellText(int row, int column, const QString& text) {
  if (row < 0 || row >= rowCount() || column <= NodeColumn || column >= ColumnCount) return false;
  const Row r = rows_[static_cast<std::size_t>(row)];
  const std::string value = NormalizeNumberInput(text.toStdString());
  return table_.change([&](NetworkRecord& record) { SetNetworkNodeLevel(record, r.index, r.name, kFields[column], value); });
}

std::optional<NetworkEditRefusal> NetworkNodeModel::paste(int row, int column, const std::string& tsv,
                                                          NetworkCellRange* covered) {
  const auto block = ParseTsv(tsv);
  if (block.empty() || row < 0 || row >= rowCount() || column < 0 || column >= ColumnCount) return std::nullopt;
  const int rows = static_cast<int>(block.size());
  if (row + rows > rowCount()) {
    return NetworkEditRefusal{row, std::max(column, static_cast<int>(GroundColumn)),
                              "貼り付ける値が" + std::to_string(rows) + "行ありますが、人孔「" + nodeName(row) +
                                  "」から下には" + std::to_string(rowCount() - row) + "行しかありません。"};
  }
  // Every value read first: nothing changes when one of them is refused.
  struct Cell {
    Row row;
    int column;
    std::string text;
  };
  std::vector<Cell> cells;
  int right = column;
  for (int i = 0; i < rows; ++i) {
    const auto& line = block[static_cast<std::size_t>(i)];
    for (int j = 0; j < static_cast<int>(line.size()); ++j) {
      const int c = column + j;
      if (c <= NodeColumn || c >= ColumnCount) continue;
      right = std::max(right, c);
      const std::string value = NormalizeNumberInput(line[static_cast<std::size_t>(j)]);
      const Row& r = rows_[static_cast<std::size_t>(row + i)];
      if (!IsPlainNumber(value)) {
        const std::string label = r.name.empty() ? "人孔表の" + std::to_string(row + i + 1) + "行目" : "人孔「" + r.name + "」";
        return NetworkEditRefusal{row + i, c,
                                  label + "の" + NetworkFieldCaption(kFields[c]) + "「" +
                                      line[static_cast<std::size_t>(j)] + "」は数値で入力してください。"};
      }
      cells.push_back(Cell{r, c, value});
    }
  }
  if (covered) *covered = NetworkCellRange{row, std::max(column, static_cast<int>(GroundColumn)), row + rows - 1, right};
  if (cells.empty()) return std::nullopt;
  table_.change([&](NetworkRecord& record) {
    // Entries found by name as they are made or dropped along the block.
    for (const Cell& cell : cells) {
      int index = -1;
      if (cell.row.orphan) {
        index = cell.row.index;
      } else {
        for (int k = 0; k < static_cast<int>(record.nodes.size()); ++k)
          if (record.nodes[static_cast<std::size_t>(k)].name == cell.row.name) {
            index = k;
            break;
          }
      }
      SetNetworkNodeLevel(record, index, cell.row.name, kFields[cell.column], cell.text, false);
    }
    // Entries left empty dropped once the whole block is in.
    std::erase_if(record.nodes, [](const NetworkNode& node) { return !HasValues(node); });
  });
  return std::nullopt;
}

void NetworkNodeModel::clear(const NetworkCellRange& range) {
  std::vector<Row> rows;
  for (int r = std::max(0, range.top); r <= std::min(range.bottom, rowCount() - 1); ++r)
    rows.push_back(rows_[static_cast<std::size_t>(r)]);
  table_.change([&](NetworkRecord& record) {
    // From the last entry up, so that a dropped entry moves none still to come.
    std::vector<int> indexes;
    for (const Row& row : rows)
      if (row.index >= 0) indexes.push_back(row.index);
    std::sort(indexes.rbegin(), indexes.rend());
    for (int index : indexes) {
      if (index >= static_cast<int>(record.nodes.size())) continue;
      NetworkNode& node = record.nodes[static_cast<std::size_t>(index)];
      for (int c = std::max(range.left, static_cast<int>(GroundColumn)); c <= std::min(range.right, ColumnCount - 1); ++c)
        if (std::string* field = NodeText(node, c)) field->clear();
      if (!HasValues(node)) record.nodes.erase(record.nodes.begin() + index);
    }
  });
}

int NetworkNodeModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int NetworkNodeModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant NetworkNodeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
      return text(row, column);
    case Qt::ForegroundRole:
      return isOrphan(row) ? QVariant(kOrphanText) : QVariant();
    case Qt::BackgroundRole: {
      const auto& refusal = table_.computation().refusal;
      if (refusal && refusal->node >= 0 && refusal->node == recordIndex(row) &&
          columnOfField(refusal->field) == column)
        return QVariant(kNetworkRefusedGround);
      return column == NodeColumn || isOrphan(row) ? QVariant(kNetworkComputedGround) : QVariant();
    }
    case Qt::TextAlignmentRole:
      return int((column == NodeColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    case Qt::AccessibleDescriptionRole:
      return columnName(column);
    default:
      return {};
  }
}

QVariant NetworkNodeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  return ColumnHeaderData(columnCaption(section), columnName(section), role);
}

Qt::ItemFlags NetworkNodeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (index.column() != NodeColumn) flags |= Qt::ItemIsEditable;
  return flags;
}

bool NetworkNodeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  setCellText(index.row(), index.column(), value.toString());
  return true;
}

// ---------------------------------------------------------------- view

NetworkNodeGrid::NetworkNodeGrid(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new NodeCellDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setTabKeyNavigation(true);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  horizontalHeader()->setMinimumSectionSize(48);
}

void NetworkNodeGrid::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  if (!model) return;
  // The current node stays current while the rows are rebuilt (a node
  // added or renamed by an edit of the segments).
  connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
    auto* m = qobject_cast<NetworkNodeModel*>(this->model());
    const QModelIndex current = currentIndex();
    keptNode_ = m && current.isValid() ? m->nodeName(current.row()) : std::string();
    keptColumn_ = current.isValid() ? current.column() : -1;
  });
  connect(model, &QAbstractItemModel::modelReset, this, [this] {
    auto* m = qobject_cast<NetworkNodeModel*>(this->model());
    if (!m || keptColumn_ < 0) return;
    for (int r = 0; r < m->rowCount(); ++r)
      if (m->nodeName(r) == keptNode_) {
        selectionModel()->setCurrentIndex(m->index(r, keptColumn_), QItemSelectionModel::ClearAndSelect);
        return;
      }
  });
}

void NetworkNodeGrid::moveToNextCell() {
  if (!model() || model()->rowCount() == 0) return;
  const QModelIndex current = currentIndex();
  int row = current.isValid() ? current.row() : 0;
  int column = current.isValid() ? current.column() + 1 : NetworkNodeModel::GroundColumn;
  if (column >= NetworkNodeModel::ColumnCount) {
    if (row + 1 >= model()->rowCount()) return;  // the last cell stays current
    ++row;
    column = NetworkNodeModel::GroundColumn;
  }
  const QModelIndex next = model()->index(row, column);
  setCurrentIndex(next);
  scrollTo(next);
}

void NetworkNodeGrid::focusNode(int index, const std::string& field) {
  auto* m = qobject_cast<NetworkNodeModel*>(model());
  if (!m) return;
  const int row = m->rowOfRecordIndex(index);
  if (row < 0) return;
  const QModelIndex cell = m->index(row, std::max(0, NetworkNodeModel::columnOfField(field)));
  setCurrentIndex(cell);
  scrollTo(cell);
  setFocus(Qt::OtherFocusReason);
}

NetworkCellRange NetworkNodeGrid::selectedRange() const {
  const QModelIndex current = currentIndex();
  const QItemSelection selection = selectionModel() ? selectionModel()->selection() : QItemSelection();
  if (!selection.isEmpty() && (!current.isValid() || selection.contains(current))) {
    const QItemSelectionRange& r = selection.first();
    return {r.top(), r.left(), r.bottom(), r.right()};
  }
  if (current.isValid()) return {current.row(), current.column(), current.row(), current.column()};
  return {0, 0, -1, -1};
}

void NetworkNodeGrid::keyPressEvent(QKeyEvent* event) {
  if (state() != EditingState) {
    if (event->matches(QKeySequence::Paste)) {
      emit pasteRequested();
      return;
    }
    if (event->key() == Qt::Key_Delete && !(event->modifiers() & Qt::ControlModifier)) {
      emit clearRequested();
      return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      moveToNextCell();
      event->accept();
      return;
    }
  }
  QTableView::keyPressEvent(event);
}

void NetworkNodeGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  if (hint == QAbstractItemDelegate::EditNextItem) {
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    moveToNextCell();
    setFocus(Qt::OtherFocusReason);
    return;
  }
  QTableView::closeEditor(editor, hint);
}

}  // namespace mk
