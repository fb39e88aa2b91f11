// Form18: re-initialised for every catalogue kind; a failed check focuses
// its box with the caret at the start.
#include <gtest/gtest.h>

#include "flow_time_test_support.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

QStringList Entries(QComboBox* box) {
  QStringList entries;
  for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
  return entries;
}

TEST(FlowTimePipeScreen, EverySelectionReinitialisesTheScreenForItsKind) {
  FlowTimeFixture f;
  f.open();
  auto* sizes = f.control<QListWidget>("Form18", "lst_pu");
  auto* depth = f.control<QComboBox>("Form18", "cbo1");

  // VP with its defaults.
  EXPECT_EQ(f.control<QLabel>("Form18", "Label6")->text(), "有効水深 水量");
  ASSERT_EQ(sizes->count(), 8);
  EXPECT_EQ(sizes->item(0)->text(), "ＶＰ－φ６５");
  EXPECT_EQ(sizes->currentRow(), 0);
  EXPECT_EQ(f.box("Form18", "txt1")->text(), "");
  EXPECT_EQ(f.box("Form18", "txt2")->text(), "0.010");
  EXPECT_EQ(depth->count(), 15);
  EXPECT_EQ(depth->currentIndex(), 5);
  EXPECT_EQ(depth->currentText(), "水深８割");

  // Typed values do not survive a new selection.
  sizes->setCurrentRow(4);
  f.type("Form18", "txt1", "12");
  f.type("Form18", "txt2", "0.011");
  depth->setCurrentIndex(0);
  f.chooseKind(3);
  EXPECT_EQ(f.control<QLabel>("Form18", "Label1")->text(), "ヒューム管");
  EXPECT_EQ(sizes->count(), 25);
  EXPECT_EQ(sizes->currentItem()->text(), "ヒューム管－φ１５０");
  EXPECT_EQ(f.box("Form18", "txt1")->text(), "");
  EXPECT_EQ(f.box("Form18", "txt2")->text(), "0.013");
  EXPECT_EQ(depth->currentText(), "水深８割");
  const CatalogueFacilityInputs& stored = f.host.record().flowTime.form18;
  EXPECT_EQ(stored.lst_pu, 0);
  EXPECT_EQ(stored.txt1, "");
  EXPECT_EQ(stored.txt2, "0.013");
  EXPECT_EQ(stored.cbo1, 5);

  // The U-trough: its seven sizes and the open-channel depth list.
  f.chooseKind(5);
  EXPECT_EQ(f.control<QLabel>("Form18", "Label1")->text(), "Ｕ型トラフ");
  EXPECT_EQ(f.control<QLabel>("Form18", "Label6")->text(), "有効水深");
  ASSERT_EQ(sizes->count(), 7);
  EXPECT_EQ(sizes->item(0)->text(), "Ｕ－１５０");
  EXPECT_EQ(sizes->item(6)->text(), "Ｕ－６００");
  EXPECT_EQ(f.box("Form18", "txt2")->text(), "0.013");
  EXPECT_EQ(Entries(depth), QStringList({"満流", "", "水深９.5割", "水深９割", "水深８.5割",
                                         "水深８割", "水深７.5割", "水深７割"}));
  EXPECT_EQ(depth->currentIndex(), 5);

  f.chooseKind(2);
  EXPECT_EQ(f.control<QLabel>("Form18", "Label1")->text(), "強化プラスチック複合管");
  EXPECT_EQ(f.box("Form18", "txt2")->text(), "0.010");
  EXPECT_EQ(depth->count(), 15);
}

TEST(FlowTimePipeScreen, ChecksStopAtTheFirstFailureAndFocusTheBox) {
  FlowTimeFixture f;
  f.open();
  f.chooseManning();
  f.type("Form18", "txt1", "");
  f.click("Form18", "cmd1");
  EXPECT_EQ(f.lastMessage(), "施設の勾配を入力してください。");
  EXPECT_EQ(f.focused(), f.box("Form18", "txt1"));

  f.type("Form18", "txt1", "5‰");  // the leading number counts
  f.type("Form18", "txt2", "abc");
  f.click("Form18", "cmd1");
  EXPECT_EQ(f.lastMessage(), "粗度係数を入力してください。");
  EXPECT_EQ(f.focused(), f.box("Form18", "txt2"));
  EXPECT_EQ(f.box("Form18", "txt2")->cursorPosition(), 0);
  EXPECT_FALSE(f.box("Form18", "txt2")->hasSelectedText());

  f.type("Form18", "txt2", "0.010");
  f.control<QComboBox>("Form18", "cbo1")->setCurrentIndex(8);  // a separator
  f.click("Form18", "cmd1");
  EXPECT_EQ(f.lastMessage(), "施設有効水深の割合を入力してください。");
  EXPECT_EQ(f.focused(), f.control<QComboBox>("Form18", "cbo1"));
  EXPECT_EQ(f.host.prompter_.requests.size(), 3);
  EXPECT_EQ(f.host.record().intensity.txt5, "");

  f.control<QComboBox>("Form18", "cbo1")->setCurrentIndex(0);
  f.click("Form18", "cmd1");
  EXPECT_EQ(f.host.prompter_.requests.size(), 3);
  EXPECT_FALSE(f.host.record().intensity.txt5.empty());
}

TEST(FlowTimePipeScreen, EnterInTheDepthChoiceGoesToCalculate) {
  FlowTimeFixture f;
  f.open();
  auto* depth = f.control<QComboBox>("Form18", "cbo1");
  depth->setFocus();
  QTest::keyClick(depth, Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QPushButton>("Form18", "cmd1"));
}

}  // namespace
}  // namespace mk
