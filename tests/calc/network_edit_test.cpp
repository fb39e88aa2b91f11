// Record edits of the network flow table: Excel blocks in and out, cell
// texts as typed with the IME on, fill down, a row inserted after another,
// and the undo history.

#include <gtest/gtest.h>

#include <cstring>

#include "calc/network_edit.h"

namespace mk {
namespace {

int Col(const char* field) {
  const auto& columns = NetworkColumns();
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].field && std::strcmp(columns[i].field, field) == 0) return static_cast<int>(i);
  ADD_FAILURE() << field;
  return -1;
}

NetworkRecord Line() {
  NetworkRecord r;
  r.settings.a = "3600";
  r.settings.b = "43";
  r.settings.t1 = "7";
  const char* nodes[] = {"1", "2", "3", "4"};
  for (int i = 0; i < 3; ++i) {
    NetworkSegment s = NewNetworkSegment();
    s.name = "A-" + std::to_string(i + 1);
    s.upstream = nodes[i];
    s.downstream = nodes[i + 1];
    s.length = "40";
    s.area = "0.5";
    s.c = "0.6";
    s.sizeIndex = 5;
    s.slope = "5";
    r.segments.push_back(s);
  }
  return r;
}

TEST(NetworkEdit, BlockWithOneRefusedValueChangesNothingAndAGoodOneLandsAndAddsRows) {
  NetworkRecord record = Line();
  const NetworkRecord before = record;
  // 管種・寸法, 勾配, n, 水深 on rows 2..4 (the fourth is new): the last depth is not in the list.
  const std::string bad =
      "ヒューム管 φ300\t3\t0.013\t満流\r\n"
      "矩形管 １．２×０．９\t２\t0.015\t水深７割\r\n"
      "\"管 \"\"A\"\" φ0.45\"\t1.5\t0.012\t水深６割\r\n";
  const NetworkPasteResult refused = PasteBlock(record, 1, Col("kind"), bad);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(record, before);
  EXPECT_EQ(refused.refusal->row, 3);
  EXPECT_EQ(refused.refusal->column, Col("depth"));
  EXPECT_EQ(refused.refusal->message, "4行目の水深「水深６割」はその他円形管の水深の一覧にありません。");

  std::string good = bad;
  good.replace(good.find("水深６割"), std::strlen("水深６割"), "水深8割");
  const NetworkPasteResult pasted = PasteBlock(record, 1, Col("kind"), good);
  ASSERT_TRUE(pasted.ok()) << pasted.refusal->message;
  EXPECT_EQ(pasted.addedRows, 1);
  ASSERT_EQ(record.segments.size(), 4u);
  const NetworkSegment& hume = record.segments[1];
  EXPECT_EQ(hume.kind, NetworkFacilityKind::Hume);
  EXPECT_EQ(NetworkInputCellText(hume, Col("kind")), "ﾋｭｰﾑ管 φ300");
  EXPECT_EQ(hume.roughness, "0.013");
  const NetworkSegment& box = record.segments[2];
  EXPECT_EQ(box.kind, NetworkFacilityKind::Rectangular);
  EXPECT_EQ(box.facilityName, "");  // the default name as shown
  EXPECT_EQ(box.B + " " + box.H + " " + box.slope, "1.2 0.9 2");
  EXPECT_EQ(NetworkInputCellText(box, Col("depth")), "水深７割");
  const NetworkSegment& added = record.segments[3];
  EXPECT_EQ(added.facilityName, "管 \"A\"");
  EXPECT_EQ(added.D, "0.45");
  EXPECT_EQ(NetworkInputCellText(added, Col("depth")), "水深８割");

  // A catalogue name with a size the list lacks is not taken as another pipe.
  const auto vp = SetCellText(record, 0, Col("kind"), "VP - φ999");
  ASSERT_TRUE(vp.has_value());
  EXPECT_EQ(vp->message, "路線番号「A-1」の管種・寸法「VP - φ999」はＶＰ管の管径の一覧にありません。");
}

TEST(NetworkEdit, CopiedTableGoesBackWhereItCameFrom) {
  NetworkRecord record = Line();
  record.segments[1].kind = NetworkFacilityKind::OtherCircular;
  record.segments[1].D = "0.5";
  record.segments[1].sizeIndex = 0;  // not part of an other circular pipe's text
  record.segments[2].name = "A\"3";
  const std::string copied =
      CopyBlock(record, {0, 0, 2, static_cast<int>(NetworkColumns().size()) - 1});
  // Computed texts as the table shows them, CR LF after every row, the quote quoted.
  const NetworkComputation computed = ComputeNetwork(record);
  ASSERT_TRUE(computed.ok());
  const auto texts = NetworkRowTexts(record, computed.table.rows[0]);
  // Input cells copy what was typed (the wall and invert cells show the
  // standard wall and the computed invert when nothing is).
  std::string first;
  for (std::size_t c = 0; c < texts.size(); ++c)
    first += (c ? "\t" : "") + (NetworkColumns()[c].field ? NetworkInputCellText(record.segments[0], static_cast<int>(c))
                                                         : texts[c]);
  EXPECT_EQ(copied.substr(0, first.size() + 2), first + "\r\n");
  EXPECT_NE(copied.find("\"A\"\"3\"\t"), std::string::npos);

  NetworkRecord fresh;
  fresh.settings = record.settings;
  ASSERT_TRUE(PasteBlock(fresh, 0, 0, copied).ok());
  EXPECT_EQ(fresh, record);
  EXPECT_EQ(ParseTsv("a\t\"b\r\nc\"\r\n\"x\t\r\n"),
            (std::vector<std::vector<std::string>>{{"a", "b\r\nc"}, {"\"x", ""}}));
}

TEST(NetworkEdit, FullWidthNumbersAreStoredHalfWidthInNumberCellsOnly) {
  NetworkRecord record = Line();
  ASSERT_FALSE(SetCellText(record, 0, Col("length"), "２５．５").has_value());
  EXPECT_EQ(record.segments[0].length, "25.5");
  ASSERT_FALSE(SetCellText(record, 0, Col("slope"), "　－１").has_value());
  EXPECT_EQ(record.segments[0].slope, " -1");
  ASSERT_FALSE(SetCellText(record, 0, Col("name"), "Ａ－１").has_value());
  EXPECT_EQ(record.segments[0].name, "Ａ－１");
  // A text that is no number is kept, and the table's refusal quotes it.
  record = Line();
  ASSERT_FALSE(SetCellText(record, 1, Col("length"), "5O").has_value());
  EXPECT_EQ(ComputeNetwork(record).refusal->message,
            "路線番号「A-2」の延長 L(m)は数値で入力してください。（入力された値「5O」）");
  EXPECT_TRUE(SetCellText(record, 0, Col("length") + 2, "1").has_value());  // a computed column
}

TEST(NetworkEdit, FillDownClearAndInsertAfter) {
  NetworkRecord record = Line();
  ASSERT_FALSE(SetCellText(record, 0, Col("kind"), "名前 1.0 × 0.8").has_value());
  ASSERT_FALSE(SetCellText(record, 0, Col("depth"), "水深９割").has_value());
  EXPECT_TRUE(FillDown(record, {0, Col("kind"), 2, Col("depth")}));
  for (const NetworkSegment& s : record.segments) {
    EXPECT_EQ(NetworkInputCellText(s, Col("kind")), "名前 1.0×0.8");
    EXPECT_EQ(NetworkInputCellText(s, Col("depth")), "水深９割");
    EXPECT_EQ(s.slope, "5");
  }
  EXPECT_TRUE(ClearCells(record, {2, Col("length"), 2, Col("kind")}));
  EXPECT_EQ(record.segments[2].length, "");
  EXPECT_EQ(record.segments[2].kind, NetworkFacilityKind::VP);
  EXPECT_EQ(record.segments[2].depthIndex, NetworkDefaultDepthIndex(NetworkFacilityKind::VP));
  EXPECT_FALSE(ClearCells(record, {2, Col("length"), 2, Col("area")}));

  // After A-1 (2 … 3 … A-3 exist): A-4, from A-1's downstream node, its facility.
  EXPECT_EQ(InsertSegmentAfter(record, 0), 1);
  const NetworkSegment& s = record.segments[1];
  EXPECT_EQ(s.name, "A-4");
  EXPECT_EQ(s.upstream, "2");
  EXPECT_EQ(s.downstream, "");
  EXPECT_EQ(s.kind, NetworkFacilityKind::Rectangular);
  EXPECT_EQ(s.slope, "5");
  EXPECT_EQ(s.depthIndex, record.segments[0].depthIndex);
  EXPECT_EQ(s.length, "");
  record.segments[0].name = "B-09";
  EXPECT_EQ(record.segments[InsertSegmentAfter(record, 0)].name, "B-10");
}

TEST(NetworkEdit, HistoryUndoesRedoesAndKeepsItsBound) {
  NetworkHistory history(3);
  NetworkRecord record = Line();
  history.reset(record);
  EXPECT_FALSE(history.canUndo());
  EXPECT_FALSE(history.push(record));  // nothing changed
  std::vector<NetworkRecord> states{record};
  for (int i = 0; i < 5; ++i) {
    InsertSegmentAfter(record, i);
    ASSERT_TRUE(history.push(record));
    states.push_back(record);
  }
  EXPECT_EQ(history.undoCount(), 3u);
  EXPECT_EQ(history.undo(), states[4]);
  EXPECT_EQ(history.undo(), states[3]);
  EXPECT_EQ(history.undo(), states[2]);
  EXPECT_FALSE(history.canUndo());
  EXPECT_EQ(history.undo(), states[2]);
  EXPECT_EQ(history.redo(), states[3]);
  // A new change after an undo drops the redo steps.
  NetworkRecord other = states[3];
  other.segments.erase(other.segments.begin());
  ASSERT_TRUE(history.push(other));
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(history.undo(), states[3]);
  EXPECT_EQ(history.redo(), other);
  // The node levels and the criteria are part of every step.
  NetworkRecord levelled = other;
  levelled.nodes.push_back(NetworkNode{"1", "13.20", "", ""});
  levelled.settings.criteria.minimumCover = "1.2";
  ASSERT_TRUE(history.push(levelled));
  EXPECT_EQ(history.undo(), other);
  EXPECT_EQ(history.redo(), levelled);
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

// A node's entry is made where the node grid lists it, whichever node gets
// its level first, and goes again once it has none.
TEST(NetworkEdit, NodeLevelsTakeTheirEntriesInGridOrderAndEmptyOnesGo) {
  NetworkRecord record = Line();
  ASSERT_TRUE(SetNetworkNodeLevel(record, -1, "3", network_field::kGround, "12.80"));
  ASSERT_TRUE(SetNetworkNodeLevel(record, -1, "1", network_field::kGround, "13.20"));
  ASSERT_TRUE(SetNetworkNodeLevel(record, -1, "4", network_field::kFixedInvert, "10.400"));
  ASSERT_EQ(record.nodes.size(), 3u);
  EXPECT_EQ(record.nodes[0].name, "1");
  EXPECT_EQ(record.nodes[1].name, "3");
  EXPECT_EQ(record.nodes[2].invert, "10.400");
  EXPECT_FALSE(SetNetworkNodeLevel(record, 0, "1", network_field::kLength, "1"));
  ASSERT_TRUE(SetNetworkNodeLevel(record, 1, "3", network_field::kGround, ""));
  ASSERT_EQ(record.nodes.size(), 2u);
  EXPECT_EQ(record.nodes[1].name, "4");
}

}  // namespace
}  // namespace mk
