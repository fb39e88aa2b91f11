#pragma once
// The network flow table (流量計算表) as a child window of the work area:
// the project-wide settings and the design criteria (設計基準, foldable)
// above, one row per segment below with the node grid (network_node_grid.h)
// beside it, the row commands and the table's state at the bottom.
//
// The NetworkRecord is the truth, as the ProjectRecord is for one facility:
// every edit goes into it at once and the whole table is computed again
// (ComputeNetwork and ProposeNetworkSizes).  A table that cannot be computed
// shows its inputs with the computed columns empty and says why on the
// window's message line; "計算", printing, opening a row and the sizing
// proposals show that refusal through the Prompter and put the focus on the
// cell or setting it names.

#include <QAbstractTableModel>
#include <QColor>
#include <QEvent>
#include <QHash>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "calc/network.h"
#include "calc/network_edit.h"
#include "model/project_record.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;

namespace mk {

// The segment table's and the node grid's cell grounds: computed cells
// stand on grey, as the computed boxes of the screens stand on the
// window's; the cell a refusal names on a light red.
inline const QColor kNetworkComputedGround(236, 236, 236);
inline const QColor kNetworkRefusedGround(255, 214, 214);

class NetworkNodeGrid;
class NetworkNodeModel;
class Prompter;

// The segment rows with the computed columns, and one more column at the
// right end: the sizing proposal.  Input columns are editable; computed
// columns are read-only.
class NetworkTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit NetworkTableModel(QObject* parent = nullptr);

  const NetworkRecord& record() const { return record_; }
  NetworkSettings& settings() { return record_.settings; }
  const NetworkComputation& computation() const { return computation_; }
  // The sizing proposals of the record as it stands (computed on demand:
  // after an edit the table's cells are shown first and the proposal
  // column follows in the next turn of the event loop).
  const NetworkSizing& sizing() const;

  // The whole table computed again from the record; every cell changes.
  void recompute();
  // A new table: its record, an empty undo history.
  void setRecord(NetworkRecord record);

  // Every change below is one undo step (nothing is recorded when the
  // record stays as it was).
  void setSegments(std::vector<NetworkSegment> segments);
  void insertSegment(int at, const NetworkSegment& segment);
  // A segment after `row` (at the end for -1) continuing it; its index.
  int insertSegmentAfter(int row);
  void removeSegment(int at);
  void moveSegment(int from, int to);
  void reorder(const std::vector<int>& order);
  void applyProposals(int segment);  // -1: all
  // The settings replaced; typing on in the same box (`box`, its control
  // name) joins the step before, as typing in a text editor does.
  void setSettings(const NetworkSettings& settings, const QString& box = QString());
  // Any change of the inputs that keeps the rows and their order: the
  // rows' count may grow (a paste past the last row).
  bool change(const std::function<void(NetworkRecord&)>& edit);

  // The table's undo history (NetworkHistory, shared with the browser's
  // table): the record after each change.
  bool canUndo() const;
  bool canRedo() const;
  void undo();
  void redo();
  // The typing in a settings box has ended: it becomes its undo step.
  void endTyping();

  // The facility of a row (管種・寸法): a new kind brings its material's n
  // and, when the depth list changes, that list's default depth.
  void setFacility(int row, NetworkFacilityKind kind, int sizeIndex, const std::string& name,
                   const std::string& D, const std::string& B, const std::string& H);
  void setDepth(int row, int depthIndex);

  int proposalColumn() const;
  bool isInputColumn(int column) const;
  // The column of a field key (the facility's parts name the 管種・寸法
  // column, a computed value its column); -1 when none.
  int columnOfField(const std::string& field) const;
  // The column's control name: the input's field key, or a name of its own.
  static QString columnName(int column);
  static QString columnCaption(int column);
  // The text a cell shows.
  QString cellText(int row, int column) const;
  bool rowIsNo(int row) const;
  // The 管厚 or 管底高 cell shows what the computation used, not a typed text.
  bool showsComputedInput(int row, int column) const;
  // The 照査 cell names a failed check.
  bool checkFails(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  void recomputed();
  // The record was put back by undo or redo (the settings boxes follow).
  void restored();
  void historyChanged();
  // A typed cell text the cell cannot take (nothing changed).
  void editRefused(const QString& message, int row, int column);

 private:
  QString inputText(int row, int column) const;
  static QString inputTextOf(const NetworkSegment& segment, int column);
  // The record as it is now recorded as one step.
  void commit();
  // The record replaced by `record` (undo, redo): rows kept when they can be.
  void restore(const NetworkRecord& record);
  // Computes the table again, once, and tells the views only which cells
  // now show another text or colour.  `before`: the segments as the views
  // last showed them (same rows); nullptr when the inputs did not change.
  // `rowsChanged`: rows were added, removed or moved, every cell changes.
  void refresh(const std::vector<NetworkSegment>* before, bool rowsChanged = false);
  // The proposal column brought up to date: the cells whose text changed.
  void refreshProposals();
  static QEvent::Type ProposalsEvent();
  void customEvent(QEvent* event) override;

  NetworkRecord record_;
  NetworkComputation computation_;
  mutable NetworkSizing sizing_;
  mutable bool sizingStale_ = false;  // sizing_ is of an earlier record
  bool proposalsQueued_ = false;      // refreshProposals is queued
  // Computed texts per segment; empty until the row is first shown.
  mutable std::vector<std::vector<std::string>> texts_;
  std::vector<QString> proposals_;               // the proposal column's texts
  std::vector<bool> no_;                         // NO rows as last shown
  std::pair<int, int> refusedCell_{-1, -1};      // the cell on the refusal's ground
  NetworkHistory history_;
  QString typing_;  // the settings box typed in whose step is still open
};

// The table: Enter (and Tab) move right along a row to the next input
// cell, from the row's last input to the next row's first, as a
// spreadsheet does; typing on a cell starts editing it.  The spreadsheet's
// keys (Ctrl+C, Ctrl+V, Delete, Ctrl+D, Enter past the last input) are
// handed to the screen as signals.
//
// With setFrozenColumns, the first columns stand still at the left while
// the others scroll sideways: a second view of the same model and
// selection lies over this one's left edge (the frozen view), and the
// keyboard goes to whichever of the two shows the current cell.
class NetworkTableView : public QTableView {
  Q_OBJECT
 public:
  explicit NetworkTableView(QWidget* parent = nullptr);
  // The next input cell to the right of the current one (wrapping to the
  // next row); the current cell stays on the last row's last input (and
  // pastLastInput is signalled).
  void moveToNextInput();
  // The cell being typed in, if any, closed without taking what was typed.
  void cancelEditing();

  // After setModel: the first `count` columns frozen at the left.
  void setFrozenColumns(int count);
  NetworkTableView* frozenView() const { return frozen_; }
  int frozenColumns() const { return frozenCount_; }
  // The keyboard focus on the view that shows the current cell.
  void focusCurrentCell();
  // Widens the columns whose visible cells in rows [first, last] do not
  // fit (a column never narrows while the table is typed in); a wider
  // window shares its room among the columns.
  void fitColumns(int firstRow, int lastRow, int firstColumn = 0, int lastColumn = 1 << 20);
  void fitAllColumns();

  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 signals:
  void copyRequested();
  void pasteRequested();
  void clearRequested();
  void fillDownRequested();
  void pastLastInput();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void resizeEvent(QResizeEvent* event) override;
  void updateGeometries() override;
  void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles = QList<int>()) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The parts that show whether the view has the focus: the frame and
  // headers, the selected cells and the current cell.
  void updateFocusParts();
  // This view shows `column` (the frozen view its first columns, the main
  // view the others).
  bool shows(int column) const;
  NetworkTableView* viewOf(int column);
  void placeFrozenView();
  void shareRoom();
  int contentWidth(int column, int firstRow, int lastRow) const;

  NetworkTableView* frozen_ = nullptr;  // on the main view: the frozen view over it
  NetworkTableView* main_ = nullptr;    // on the frozen view: the view it lies over
  int frozenCount_ = 0;
  std::vector<int> natural_;  // each column's width before the room is shared
  mutable QHash<QString, int> widths_;  // a cell text's measured width
  bool sizing_ = false;       // column widths being set by fitColumns
  bool forwarding_ = false;   // a key handed to the frozen view
  bool closingEditor_ = false;  // the focus comes back from this view's cell editor
};

class NetworkTableScreen : public QWidget {
  Q_OBJECT
 public:
  explicit NetworkTableScreen(Prompter& prompter, QWidget* parent = nullptr);

  const NetworkRecord& record() const { return model_->record(); }
  const NetworkComputation& computation() const { return model_->computation(); }
  NetworkTableModel* model() const { return model_; }
  NetworkTableView* table() const { return table_; }
  NetworkNodeGrid* nodeGrid() const { return nodeGrid_; }
  NetworkNodeModel* nodeModel() const { return nodeModel_; }
  Prompter& prompter() const { return prompter_; }

  // The table's file: empty, or the full path of its file.
  QString fileName() const { return fileName_; }
  // Changed since it was last loaded or saved.
  bool isModified() const { return model_->record() != saved_; }

  // A new or opened table; `fileName` empty for a new one.
  void load(const NetworkRecord& record, const QString& fileName);
  // Saved under `fileName`: no longer modified.
  void markSaved(const QString& fileName);
  // Counts as changed and never saved (a table restored from its recovery file).
  void markUnsaved();
  // The CSV import: the segment rows replaced, the settings kept.
  void replaceSegments(std::vector<NetworkSegment> segments);

  // The spreadsheet's keys on the selection: Ctrl+C (TSV with CR LF),
  // Ctrl+V from the current cell (rows added past the end; all or
  // nothing), Delete, Ctrl+D.
  void copyCells();
  void pasteCells();
  // Ctrl+V in the node grid: ground levels copied from Excel (all or nothing).
  void pasteNodes();
  void clearCells();
  void fillDown();

  // Row commands on the current row.
  void addRow();
  void deleteRow();
  void moveRow(int delta);
  void sortDownstream();
  void applyProposal(bool all);
  void openRow();
  // "計算": true when the table computes; otherwise its refusal is shown
  // and the focus goes to the cell or setting it names.
  bool checkTable();

  // The table's undo history: every change of the table (a cell, a
  // setting, a row command, a paste, the sizing proposals, CSV読込) is one
  // step.  load() starts a new history.
  bool canUndo() const { return model_->canUndo(); }
  bool canRedo() const { return model_->canRedo(); }
  void undo();
  void redo();

  // Asks before unsaved changes are dropped ("確認"); true to go on.
  bool confirmDiscard(const QString& question);

  // Receives a row's single-facility project ("区間を開く").
  void setOpenRowHandler(std::function<void(ProjectRecord)> handler) { openRow_ = std::move(handler); }

 signals:
  // The file name or the modified state changed (window title, menu).
  void stateChanged();
  // canUndo() or canRedo() may have changed.
  void undoStateChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildSettings();
  QWidget* buildCriteria(QWidget* panel);
  QWidget* buildNodes();
  // The view's folds: the intermediate columns, the node grid.
  void showIntermediateColumns(bool shown);
  void showNodeGrid(bool shown);
  QWidget* buildButtons();
  // The 設計基準 group shown or folded (its summary shown while folded).
  void showCriteria(bool shown);
  void showCriteriaSummary();
  void showSettings();
  void settingsEdited();
  void registerFormula();  // 登録: the settings' formula into the user's library
  void recallFormula();    // 呼出: a formula of the library into the settings
  void afterRecompute();
  void focusRefusal(const NetworkRefusal& refusal);
  void stepHistory(bool back);
  NetworkCellRange selectedRange() const;
  void focusCell(int row, int column);
  int currentRow() const;
  void setCurrentRow(int row);

  Prompter& prompter_;
  NetworkTableModel* model_ = nullptr;
  NetworkTableView* table_ = nullptr;
  NetworkNodeModel* nodeModel_ = nullptr;
  NetworkNodeGrid* nodeGrid_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QCheckBox* steps_ = nullptr;
  QCheckBox* nodesShown_ = nullptr;
  NetworkRecord saved_;
  QString fileName_;
  std::function<void(ProjectRecord)> openRow_;
  bool loading_ = false;

  QLineEdit* title_ = nullptr;
  QComboBox* formula_ = nullptr;
  QLineEdit* a_ = nullptr;
  QLineEdit* b_ = nullptr;
  QLineEdit* c_ = nullptr;
  QLineEdit* d_ = nullptr;
  QLineEdit* t1_ = nullptr;
  QComboBox* velocity_ = nullptr;
  QCheckBox* groundwaterOn_ = nullptr;
  QLineEdit* groundwater_ = nullptr;
  QCheckBox* surchargeOn_ = nullptr;
  QLineEdit* surcharge_ = nullptr;
  QLineEdit* outlet_ = nullptr;
  // 設計基準: the number boxes by field key, the joint method, the fold.
  std::vector<std::pair<std::string NetworkCriteria::*, QLineEdit*>> criteriaBoxes_;
  QComboBox* joint_ = nullptr;
  QToolButton* criteriaToggle_ = nullptr;
  QWidget* criteriaPanel_ = nullptr;
  QLabel* criteriaSummary_ = nullptr;
  QLabel* message_ = nullptr;
};

// The window caption of a table: "流量計算表", the file's name, "*" when modified.
QString NetworkTableTitle(const QString& fileName, bool modified);

}  // namespace mk
