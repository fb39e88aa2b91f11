#pragma once
// The network flow table (流量計算表) as a child window of the work area:
// the project-wide settings above, one row per segment below, the row
// commands and the table's state at the bottom.
//
// The NetworkRecord is the truth, as the ProjectRecord is for one facility:
// every edit goes into it at once and the whole table is computed again
// (ComputeNetwork and ProposeNetworkSizes).  A table that cannot be computed
// shows its inputs with the computed columns empty and says why on the
// window's message line; "計算", printing, opening a row and the sizing
// proposals show that refusal through the Prompter and put the focus on the
// cell or setting it names.

#include <QAbstractTableModel>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <vector>

#include "calc/network.h"
#include "model/project_record.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace mk {

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
  const NetworkSizing& sizing() const { return sizing_; }

  // The whole table computed again from the record; every cell changes.
  void recompute();
  void setRecord(NetworkRecord record);
  void setSegments(std::vector<NetworkSegment> segments);
  void insertSegment(int at, const NetworkSegment& segment);
  void removeSegment(int at);
  void moveSegment(int from, int to);
  void reorder(const std::vector<int>& order);
  void applyProposals(int segment);  // -1: all

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

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  void recomputed();

 private:
  QString inputText(int row, int column) const;

  NetworkRecord record_;
  NetworkComputation computation_;
  NetworkSizing sizing_;
  std::vector<std::vector<std::string>> texts_;  // computed texts per segment
};

// The table: Enter (and Tab) move right along a row to the next input
// cell, from the row's last input to the next row's first, as a
// spreadsheet does; typing on a cell starts editing it.
class NetworkTableView : public QTableView {
  Q_OBJECT
 public:
  explicit NetworkTableView(QWidget* parent = nullptr);
  // The next input cell to the right of the current one (wrapping to the
  // next row); the current cell stays on the last row's last input.
  void moveToNextInput();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
};

class NetworkTableScreen : public QWidget {
  Q_OBJECT
 public:
  explicit NetworkTableScreen(Prompter& prompter, QWidget* parent = nullptr);

  const NetworkRecord& record() const { return model_->record(); }
  const NetworkComputation& computation() const { return model_->computation(); }
  NetworkTableModel* model() const { return model_; }
  NetworkTableView* table() const { return table_; }
  Prompter& prompter() const { return prompter_; }

  // The table's file: empty, or the full path of its file.
  QString fileName() const { return fileName_; }
  // Changed since it was last loaded or saved.
  bool isModified() const { return model_->record() != saved_; }

  // A new or opened table; `fileName` empty for a new one.
  void load(const NetworkRecord& record, const QString& fileName);
  // Saved under `fileName`: no longer modified.
  void markSaved(const QString& fileName);
  // The CSV import: the segment rows replaced, the settings kept.
  void replaceSegments(std::vector<NetworkSegment> segments);

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

  // Asks before unsaved changes are dropped ("確認"); true to go on.
  bool confirmDiscard(const QString& question);

  // Receives a row's single-facility project ("区間を開く").
  void setOpenRowHandler(std::function<void(ProjectRecord)> handler) { openRow_ = std::move(handler); }

 signals:
  // The file name or the modified state changed (window title, menu).
  void stateChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildSettings();
  QWidget* buildButtons();
  void showSettings();
  void settingsEdited();
  void afterRecompute();
  void focusRefusal(const NetworkRefusal& refusal);
  int currentRow() const;
  void setCurrentRow(int row);

  Prompter& prompter_;
  NetworkTableModel* model_ = nullptr;
  NetworkTableView* table_ = nullptr;
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
  QLabel* message_ = nullptr;
};

// The window caption of a table: "流量計算表", the file's name, "*" when modified.
QString NetworkTableTitle(const QString& fileName, bool modified);

}  // namespace mk
