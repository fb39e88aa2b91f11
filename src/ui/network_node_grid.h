#pragma once
// The node grid of the network flow table: one row per node (人孔) the
// segments name, in the order they are first named, with its ground level,
// its fixed invert and its own minimum drop.  Edits go into the record's
// nodes through the table's model, so each is one undo step of the table
// and the table is computed again; an undo puts the grid back with it.
//
// A node the segments no longer name keeps its values in the record: it
// stands greyed at the end of the grid, where it can still be edited or
// cleared, so nothing typed is lost when a segment is renamed.

#include <QAbstractTableModel>
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "calc/network_edit.h"

namespace mk {

class NetworkTableModel;

class NetworkNodeModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { NodeColumn = 0, GroundColumn, InvertColumn, DropColumn, ColumnCount };

  explicit NetworkNodeModel(NetworkTableModel& table, QObject* parent = nullptr);

  // The column's control name (the field key) and caption.
  static QString columnName(int column);
  static QString columnCaption(int column);
  // The column of a node field key (ground, fixed_invert, node_drop, node); -1 when none.
  static int columnOfField(const std::string& field);

  // The node a row stands for, and its entry in the record's nodes (-1 when it has none yet).
  std::string nodeName(int row) const;
  int recordIndex(int row) const;
  // The row of an entry of the record's nodes; -1 when it is not shown.
  int rowOfRecordIndex(int index) const;
  // Not named by any segment: shown greyed at the end.
  bool isOrphan(int row) const;

  // The cell's text typed (full-width digits kept half-width).
  bool setCellText(int row, int column, const QString& text);
  // A tab-separated block from the clipboard with its first cell at (row,
  // column); cells on the 節点 column are passed over.  All or nothing: a
  // value that is not a number, or a block longer than the grid, is refused
  // (the refusal's row and column say where) and nothing changes.
  std::optional<NetworkEditRefusal> paste(int row, int column, const std::string& tsv, NetworkCellRange* covered);
  // The level cells of the rectangle emptied (one step).
  void clear(const NetworkCellRange& range);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  struct Row {
    std::string name;
    int index = -1;  // into NetworkRecord::nodes
    bool orphan = false;
    bool operator==(const Row&) const = default;
  };
  // The rows again from the record (after every change of the table).
  void follow();
  std::vector<Row> rowsOf(const NetworkRecord& record) const;
  QString text(int row, int column) const;

  NetworkTableModel& table_;
  std::vector<Row> rows_;
};

// The grid: Enter (and Tab) move right, from a row's last cell to the next
// row's first level cell; typing on a cell starts editing it; Ctrl+V and
// Delete are handed to the screen as signals.
class NetworkNodeGrid : public QTableView {
  Q_OBJECT
 public:
  explicit NetworkNodeGrid(QWidget* parent = nullptr);
  void setModel(QAbstractItemModel* model) override;
  void moveToNextCell();
  // The cell of the record's node `index` and the field key current, with the focus.
  void focusNode(int index, const std::string& field);
  // The selection as a rectangle (the current cell when nothing is selected).
  NetworkCellRange selectedRange() const;

 signals:
  void pasteRequested();
  void clearRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  // The current node kept by name while the rows are rebuilt.
  std::string keptNode_;
  int keptColumn_ = -1;
};

}  // namespace mk
