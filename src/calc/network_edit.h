#pragma once
// Edits of a network flow table as a spreadsheet user makes them: one cell
// from its text, a block pasted from Excel, a block copied for it, clearing,
// filling down, a row inserted after the current one, and the table's undo
// history.  Written once on NetworkRecord, so that the desktop table and the
// browser's table accept, refuse and undo alike.
//
// Cells are addressed by (segment index, column index into NetworkColumns()).
// Only input columns (NetworkColumn::field set) take text; the facility
// column (管種・寸法) takes the texts it shows ("VP - φ200",
// "名前 φ0.500", "名前 1.000×0.800") and the depth column the entries of
// the segment's depth list ("水深８割").  Number cells take full-width digits,
// point, sign and blank as their half-width forms and keep the half-width
// text; any other text is kept as typed, and the table's computation names
// it if it is not a number.

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calc/network.h"

namespace mk {

// ---------------------------------------------------------------- cells

// Full-width digits (０-９), point (．), minus (－ and −), plus (＋) and blank
// (　) as their half-width forms; everything else unchanged.
std::string NormalizeNumberInput(std::string text);

// True for the input columns whose text is a number (length, area, runoff,
// sewage, slope, roughness); the facility column's D, B and H are numbers
// too and are normalised as they are read from its text.
bool IsNumberColumn(int column);
bool IsInputColumn(int column);

// Why an edit is not taken: the cell and a message in the screens' style
// naming the row (路線番号 or row number) and the column, quoting the text:
// "路線番号「A-2」の水深「水深６割」はＶＰ管の水深の一覧にありません。".
struct NetworkEditRefusal {
  int row = -1;
  int column = -1;
  std::string message;
};

// The text an input cell shows (and a copy puts on the clipboard): the
// typed texts, the facility as "VP - φ200" / "名前 φD" / "名前 B×H" with
// D, B, H as typed, the depth entry.  "" for a computed column.
std::string NetworkInputCellText(const NetworkSegment& segment, int column);

// Sets one cell from its text.  Nothing changes when refused.  A new
// facility kind brings its material's n and, when the depth list changes,
// that list's default depth, as the facility editor does.  Empty text in the
// facility or depth cell sets the cell's default (a new segment's VP pipe,
// the list's default depth).
std::optional<NetworkEditRefusal> SetCellText(NetworkRecord& record, int row, int column, const std::string& text);

// ---------------------------------------------------------------- nodes

// A node's level by its field key (ground, fixed_invert, node_drop);
// nullptr for any other key.
std::string* NetworkNodeLevel(NetworkNode& node, const std::string& field);

// Sets one level of a node: the entry `index` of record.nodes, or for -1 the
// entry of the node `name`, made when it has none and placed among the
// others in NetworkNodeNames' order (so the file lists them as the node grid
// does).  An entry left without any level is removed when `dropEmpty`.
// False when `field` is not a node level.
bool SetNetworkNodeLevel(NetworkRecord& record, int index, const std::string& name, const std::string& field,
                         const std::string& text, bool dropEmpty = true);

// ---------------------------------------------------------------- blocks

// An inclusive rectangle of cells.
struct NetworkCellRange {
  int top = 0, left = 0, bottom = 0, right = 0;
};

// Tab-separated text as Excel puts it on the clipboard: rows ended by CR LF
// or LF (a trailing line end ends the last row, it starts no new one),
// cells split by tabs, a cell holding a tab, a line break or a quote quoted
// with "" for the quote.  An opening quote without its closing one is text.
std::vector<std::vector<std::string>> ParseTsv(const std::string& text);

struct NetworkPasteResult {
  std::optional<NetworkEditRefusal> refusal;  // set: nothing was changed
  NetworkCellRange range;                     // the cells the block covered (valid when rows > 0)
  int rows = 0, columns = 0;                  // the block's size
  int addedRows = 0;                          // new segments at the end
  bool ok() const { return !refusal.has_value(); }
};

// Pastes a tab-separated block with its first cell at (row, column): block
// columns fall on consecutive table columns, so a block copied from the
// table goes back where it came from; cells that fall on computed columns
// (or past the last column) are passed over.  Rows past the last segment
// add new segments (NewNetworkSegment).  All or nothing: on the first value
// a cell refuses, the record is left as it was.
NetworkPasteResult PasteBlock(NetworkRecord& record, int row, int column, const std::string& tsv);

// The text of a computed cell (any column the caller shows beyond
// NetworkColumns() included).
using NetworkCellTextGetter = std::function<std::string(int row, int column)>;

// The rectangle as Excel's clipboard text: cells split by tabs, CR LF after
// every row, a cell holding a tab, a line break or a quote quoted.  Input
// cells as NetworkInputCellText; computed cells from `computed`, or when it
// is empty from NetworkRowTexts of the computed table ("" while the table
// is refused).  Rows and columns outside the table are left out.
std::string CopyBlock(const NetworkRecord& record, const NetworkCellRange& range,
                      const NetworkCellTextGetter& computed = {});

// The input cells of the rectangle emptied; the facility and depth cells to
// their defaults.  True when anything changed.
bool ClearCells(NetworkRecord& record, const NetworkCellRange& range);

// Every input column of the rectangle takes its first row's value in the
// rows below (a depth only where the row's depth list has that entry).
// True when anything changed.
bool FillDown(NetworkRecord& record, const NetworkCellRange& range);

// A new segment after `row` (at the end when `row` is outside the table):
// it starts at that row's downstream node and copies its facility (kind,
// size, name, D, B, H), slope, n and depth; its name is the row's name with
// the trailing number counted up to one no segment has ("A-3" → "A-4",
// "A-09" → "A-10", "A" → "A-2"); for an unnamed row the next free row
// number.  Returns the new segment's index.
int InsertSegmentAfter(NetworkRecord& record, int row);

// ---------------------------------------------------------------- history

// The table's undo history: snapshots of the record, the newest last.
// Segments unchanged between snapshots are shared, so a long history of a
// large table costs little more than the segments that changed.
class NetworkHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 100;

  explicit NetworkHistory(std::size_t limit = kDefaultLimit);

  // A fresh history standing at `record` (a new or opened table).
  void reset(const NetworkRecord& record);
  // After a change: `record` becomes the current state, one undo step
  // later; the redo steps are dropped.  False (no step) when `record` equals
  // the current state.  The oldest step goes past the limit.
  bool push(const NetworkRecord& record);

  bool canUndo() const { return index_ > 0; }
  bool canRedo() const { return index_ + 1 < states_.size(); }
  std::size_t undoCount() const { return index_; }
  std::size_t redoCount() const { return states_.size() - index_ - 1; }
  std::size_t limit() const { return limit_; }

  // One step back or forward; the record to show (the current one when
  // there is no step).
  const NetworkRecord& undo();
  const NetworkRecord& redo();
  const NetworkRecord& current() const { return current_; }

 private:
  struct State {
    NetworkSettings settings;
    std::vector<std::shared_ptr<const NetworkSegment>> segments;
    std::vector<NetworkNode> nodes;  // the node levels, few: kept whole
  };
  State share(const NetworkRecord& record) const;
  void materialize();

  std::size_t limit_;
  std::deque<State> states_;
  std::size_t index_ = 0;
  NetworkRecord current_;
};

}  // namespace mk
