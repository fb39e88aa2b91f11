// Form19: its start, the width checked for emptiness (not zero) and the
// Enter order.  The order of all checks is tested on the computation.
#include <gtest/gtest.h>

#include "flow_time_test_support.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

struct DitchFixture : FlowTimeFixture {
  DitchFixture() {
    open();
    chooseManning();
    chooseKind(6);
  }
  void fill(const QString& h, const QString& b1, const QString& b2, const QString& b3) {
    type("Form19", "txt1", h);
    type("Form19", "txt2", b1);
    type("Form19", "txt3", b2);
    type("Form19", "txt4", b3);
    type("Form19", "txt5", "10");
    type("Form19", "txt6", "0.015");
  }
};

TEST(DitchScreen, StartsEmptyWithTheOpenChannelDepthList) {
  DitchFixture f;
  EXPECT_EQ(f.host.findScreen("Form19")->windowTitle(), "Ｕ型溝　台形溝");
  for (const char* name : {"txt_m", "txt1", "txt2", "txt3", "txt4", "txt5", "txt6"})
    EXPECT_EQ(f.box("Form19", name)->text(), "") << name;
  auto* depth = f.control<QComboBox>("Form19", "cbo1");
  EXPECT_EQ(depth->count(), 8);
  EXPECT_EQ(depth->currentText(), "水深８割");
  EXPECT_NE(f.host.findScreen("Form19")->findChild<QWidget*>("Picture1"), nullptr);
}

TEST(DitchScreen, AnEmptyBottomWidthIsMissingButAZeroOneIsAVShapedDitch) {
  DitchFixture f;
  f.fill("1", "", "2", "1");
  f.click("Form19", "cmd1");
  EXPECT_EQ(f.lastMessage(), "施設の下部巾を入力してください。");
  EXPECT_EQ(f.focused(), f.box("Form19", "txt2"));
  EXPECT_EQ(f.host.record().intensity.txt5, "");

  f.host.prompter_.clear();
  f.fill("1", "0", "2", "1");
  f.click("Form19", "cmd1");
  EXPECT_EQ(f.host.prompter_.requests.size(), 0) << f.lastMessage().toStdString();
  EXPECT_FALSE(f.host.record().intensity.txt5.empty());
  EXPECT_FALSE(f.visible("Form19"));
}

TEST(DitchScreen, EnterRunsThroughTheBoxesToCalculate) {
  DitchFixture f;
  const QStringList order = {"txt_m", "txt1", "txt2", "txt3", "txt4", "txt5", "txt6"};
  f.fill("1", "2", "3", "4");
  f.box("Form19", "txt_m")->setFocus();
  for (int i = 0; i + 1 < order.size(); ++i) {
    QTest::keyClick(f.box("Form19", order[i]), Qt::Key_Return);
    ASSERT_EQ(f.focused(), f.box("Form19", order[i + 1])) << order[i].toStdString();
    if (!f.box("Form19", order[i + 1])->text().isEmpty()) {
      EXPECT_TRUE(f.box("Form19", order[i + 1])->hasSelectedText());
    }
  }
  QTest::keyClick(f.box("Form19", "txt6"), Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QComboBox>("Form19", "cbo1"));
  QTest::keyClick(f.control<QComboBox>("Form19", "cbo1"), Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QPushButton>("Form19", "cmd1"));
}

}  // namespace
}  // namespace mk
