// Form20: a circular pipe of any diameter on the flow-time path.
#include <gtest/gtest.h>

#include "flow_time_test_support.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

struct CircularFixture : FlowTimeFixture {
  CircularFixture() {
    open();
    chooseKind(4);
  }
};

TEST(FlowTimeCircularScreen, StartsEmptyWithTheCircularDepthList) {
  CircularFixture f;
  EXPECT_EQ(f.host.findScreen("Form20")->windowTitle(), "円　形　管");
  for (const char* name : {"txt_m", "txt1", "txt2", "txt3"}) EXPECT_EQ(f.box("Form20", name)->text(), "");
  auto* depth = f.control<QComboBox>("Form20", "cbo1");
  EXPECT_EQ(depth->count(), 15);
  EXPECT_EQ(depth->currentIndex(), 5);
}

TEST(FlowTimeCircularScreen, ASeparatorIsNoDepthInThisScreensWording) {
  CircularFixture f;
  f.chooseManning();
  f.type("Form20", "txt1", "0.3");
  f.type("Form20", "txt2", "5");
  f.type("Form20", "txt3", "0.013");
  f.control<QComboBox>("Form20", "cbo1")->setCurrentIndex(8);
  f.click("Form20", "cmd1");
  EXPECT_EQ(f.lastMessage(), "施設の有効水深の割合を入力してください。");
  EXPECT_EQ(f.focused(), f.control<QComboBox>("Form20", "cbo1"));
}

TEST(FlowTimeCircularScreen, DiameterFollowedByLettersUsesItsLeadingNumber) {
  // The same pipe as Hume φ300 at 水深８割: V = 1.1025.
  CircularFixture f;
  f.chooseManning();
  f.type("Form20", "txt_m", "鋼管");
  f.type("Form20", "txt1", "0.3m");
  f.type("Form20", "txt2", "5");
  f.type("Form20", "txt3", "0.013");
  f.click("Form20", "cmd1");
  EXPECT_EQ(f.host.record().intensity.txt5, "1.1025");
  EXPECT_EQ(f.host.record().derived.flowTimeSection.name, "鋼管");
  EXPECT_DOUBLE_EQ(f.host.record().derived.flowTimeSection.D, 0.3);
}

TEST(FlowTimeCircularScreen, EnterRunsFromTheNameToCalculate) {
  CircularFixture f;
  f.box("Form20", "txt_m")->setFocus();
  for (const char* next : {"txt1", "txt2", "txt3"}) {
    QTest::keyClick(f.focused(), Qt::Key_Return);
    EXPECT_EQ(f.focused(), f.box("Form20", next));
  }
  QTest::keyClick(f.focused(), Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QComboBox>("Form20", "cbo1"));
  QTest::keyClick(f.focused(), Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QPushButton>("Form20", "cmd1"));
}

}  // namespace
}  // namespace mk
