// Form21: the vertex table, the drawing of the outline, what a failure
// leaves, and the status notices of its boxes.  The order of the checks is
// tested on the computation.
#include <gtest/gtest.h>

#include "calc/polygon_drawing.h"
#include "flow_time_test_support.h"
#include "ui/irregular_channel_screen.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

const char* const kHalfWidthNotice =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";
const char* const kFullWidthNotice =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事。";

struct ChannelFixture : FlowTimeFixture {
  ChannelFixture() {
    open();
    chooseManning();
    chooseKind(7);
    screen = qobject_cast<IrregularChannelScreen*>(host.findScreen("Form21"));
  }
  void describe() {
    type("Form21", "txt1", "2");
    type("Form21", "txt2", "2");
    type("Form21", "txt3", "1");
    type("Form21", "txt4", "5");
    type("Form21", "txt5", "0.015");
  }
  void vertices(const std::vector<std::pair<QString, QString>>& points) {
    for (int i = 0; i < 8; ++i) {
      const bool given = i < static_cast<int>(points.size());
      type("Form21", QStringLiteral("txt_x%1").arg(i + 1), given ? points[i].first : QString());
      type("Form21", QStringLiteral("txt_y%1").arg(i + 1), given ? points[i].second : QString());
    }
  }
  const std::vector<DrawingPoint>& drawn() { return screen->drawing()->outline(); }
  bool instructionShown() { return control<QLabel>("Form21", "Label15")->isVisible(); }

  IrregularChannelScreen* screen = nullptr;
};

TEST(IrregularChannelScreen, StartsWithVertexZeroAtTheOriginAndTheInstruction) {
  ChannelFixture f;
  ASSERT_NE(f.screen, nullptr);
  EXPECT_EQ(f.screen->windowTitle(), "その他排水溝");
  EXPECT_EQ(f.box("Form21", "txt_x1")->text(), " 0");
  EXPECT_EQ(f.box("Form21", "txt_y1")->text(), " 0");
  for (int i = 2; i <= 8; ++i) EXPECT_EQ(f.box("Form21", QStringLiteral("txt_x%1").arg(i))->text(), "");
  EXPECT_TRUE(f.instructionShown());
  EXPECT_EQ(f.control<QLabel>("Form21", "Label15")->text(),
            "有効水深部分（水に接している辺）を左上より、座標を反時計回りに入力してください｡");
  QStringList captions;
  for (QLabel* label : f.screen->findChildren<QLabel*>()) captions << label->text();
  for (const char* text : {"(0，0)", "Ｘ軸(＋)", "Ｙ軸(＋)", "材料・名称", "下部巾：", "上部巾：",
                           "高さ：", "排水溝の勾配", "x/1000 x＝", "粗度係数 n＝"})
    EXPECT_TRUE(captions.contains(text)) << text;
  EXPECT_EQ(f.control<QPushButton>("Form21", "cmd1")->text(), "計算");
  EXPECT_EQ(f.control<QPushButton>("Form21", "cmd3")->text(), "描画");
  EXPECT_EQ(f.control<QPushButton>("Form21", "cmd2")->text(), "キャンセル");
}

TEST(IrregularChannelScreen, DrawingTheRectangularDitch) {
  // 2 m wide, 1 m deep: the largest coordinate 2 spans 100 pixels.
  ChannelFixture f;
  f.describe();
  f.vertices({{"0", "0"}, {"0", "1"}, {"2", "1"}, {"2", "0"}});
  f.click("Form21", "cmd3");
  ASSERT_TRUE(f.host.prompter_.requests.isEmpty()) << f.lastMessage().toStdString();
  const auto& points = f.drawn();
  ASSERT_EQ(points.size(), 4u);
  const double expected[4][2] = {{13, 17}, {13, 67}, {113, 67}, {113, 17}};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(points[i].x, expected[i][0]) << i;
    EXPECT_DOUBLE_EQ(points[i].y, expected[i][1]) << i;
  }
  EXPECT_FALSE(f.instructionShown());
  // "描画" computes without handing back: the screen stays, Form12 untouched.
  EXPECT_TRUE(f.visible("Form21"));
  EXPECT_EQ(f.host.record().intensity.txt5, "");
  const FacilitySection& section = f.host.record().derived.flowTimeSection;
  EXPECT_EQ(section.vertexCount, 4);
  EXPECT_DOUBLE_EQ(section.geometry.A, 2.0);
  EXPECT_DOUBLE_EQ(section.geometry.P, 4.0);

  // Clicking a vertex box wipes the drawing; the instruction stays hidden.
  QTest::mouseClick(f.box("Form21", "txt_y3"), Qt::LeftButton);
  EXPECT_TRUE(f.drawn().empty());
  EXPECT_FALSE(f.instructionShown());
  EXPECT_EQ(f.host.statusNotice(), kHalfWidthNotice);
  EXPECT_EQ(f.box("Form21", "txt_y3")->selectedText(), "1");

  // "計算" draws again and hands V back.
  f.click("Form21", "cmd1");
  EXPECT_EQ(f.drawn().size(), 4u);
  EXPECT_FALSE(f.visible("Form21"));
  EXPECT_FALSE(f.visible("Form17"));
  EXPECT_TRUE(f.host.record().intensity.Option8);
  EXPECT_FALSE(f.host.record().intensity.txt5.empty());
}

TEST(IrregularChannelScreen, AGapInTheXBoxesIsReportedAndNothingIsDrawn) {
  ChannelFixture f;
  f.describe();
  f.vertices({{"0", "0"}, {"0", "1"}, {"2", "1"}, {"2", "0"}, {"", ""}, {"3", "0"}});
  f.click("Form21", "cmd3");
  EXPECT_EQ(f.lastMessage(), "頂点のＸ座標が途中で空白になっています。");
  EXPECT_EQ(f.focused(), f.box("Form21", "txt_x5"));
  EXPECT_TRUE(f.drawn().empty());
  EXPECT_TRUE(f.instructionShown());
  EXPECT_EQ(f.host.record().derived.flowTimeSection.vertexCount, 0);
}

TEST(IrregularChannelScreen, ZeroAreaIsReportedAndLeavesTheLastDrawing) {
  ChannelFixture f;
  f.describe();
  f.vertices({{"0", "0"}, {"1", "1"}, {"2", "0"}});
  f.click("Form21", "cmd3");
  ASSERT_EQ(f.drawn().size(), 3u);
  EXPECT_DOUBLE_EQ(f.host.record().derived.flowTimeSection.geometry.P, 2.8284);

  f.vertices({{"0", "0"}, {"1", "0"}, {"2", "0"}});
  f.click("Form21", "cmd1");
  EXPECT_EQ(f.lastMessage(), "排水溝の断面積が０になるため、計算できません。頂点の座標を確認してください。");
  EXPECT_EQ(f.drawn().size(), 3u);
  EXPECT_DOUBLE_EQ(f.drawn()[1].y, 17 + 50.0);  // still the V-shaped ditch
  EXPECT_DOUBLE_EQ(f.host.record().derived.flowTimeSection.geometry.P, 2.8284);
  EXPECT_TRUE(f.visible("Form21"));
  EXPECT_EQ(f.host.record().intensity.txt5, "");
}

TEST(IrregularChannelScreen, NameBoxWithdrawsTheMainResultOtherBoxesOnlyRemind) {
  ChannelFixture f;
  f.host.record().run.exists = true;
  QTest::mouseClick(f.box("Form21", "txt2"), Qt::LeftButton);
  EXPECT_EQ(f.host.statusNotice(), kHalfWidthNotice);
  EXPECT_EQ(f.host.discardCount, 0);
  QTest::mouseClick(f.box("Form21", "txt_m"), Qt::LeftButton);
  EXPECT_EQ(f.host.statusNotice(), kFullWidthNotice);
  EXPECT_EQ(f.host.discardCount, 1);
  EXPECT_FALSE(f.host.record().run.exists);
}

TEST(IrregularChannelScreen, VertexBoxesShowABorderOnlyWhileFocused) {
  ChannelFixture f;
  EntryBox* x2 = f.box("Form21", "txt_x2");
  EntryBox* y2 = f.box("Form21", "txt_y2");
  EXPECT_TRUE(x2->styleSheet().contains("border: none"));
  x2->setFocus();
  EXPECT_TRUE(x2->styleSheet().contains("1px solid"));
  y2->setFocus();
  EXPECT_TRUE(x2->styleSheet().contains("border: none"));
  EXPECT_TRUE(y2->styleSheet().contains("1px solid"));
}

TEST(IrregularChannelScreen, EnterSkipsTheVertexTable) {
  ChannelFixture f;
  f.box("Form21", "txt_m")->setFocus();
  for (const char* next : {"txt1", "txt2", "txt3", "txt4", "txt5"}) {
    QTest::keyClick(f.focused(), Qt::Key_Return);
    EXPECT_EQ(f.focused(), f.box("Form21", next));
  }
  QTest::keyClick(f.focused(), Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QPushButton>("Form21", "cmd1"));
}

TEST(PolygonOutlinePoints, ScalesTheLargestCoordinateToOneHundredPixels) {
  std::array<std::string, 8> x{" 0", "1", "4", "", "", "", "", ""};
  std::array<std::string, 8> y{" 0", "2", "", "", "", "", "", "-9"};
  // The largest of all sixteen boxes is 4 (y of vertex 7 counts but is negative).
  const auto points = PolygonOutlinePoints(x, y);
  ASSERT_TRUE(points.ok());
  ASSERT_EQ(points->size(), 3u);
  EXPECT_DOUBLE_EQ((*points)[1].x, 13 + 25.0);
  EXPECT_DOUBLE_EQ((*points)[1].y, 17 + 50.0);
  EXPECT_DOUBLE_EQ((*points)[2].x, 113.0);
  EXPECT_DOUBLE_EQ((*points)[2].y, 17.0);  // an empty Y box reads as 0

  x[1] = "";
  EXPECT_FALSE(PolygonOutlinePoints(x, y).ok());
}

TEST(IrregularChannelScreen, AGapAtAnyXBoxFocusesThatBox) {
  ChannelFixture f;
  f.describe();
  const std::vector<std::pair<QString, QString>> square = {{"0", "0"}, {"0", "1"}, {"1", "1"}, {"1", "0"},
                                                           {"2", "0"}, {"2", "1"}, {"3", "1"}, {"3", "0"}};
  // Vertices 3 to 6 are the optional ones: leave each empty in turn, the next filled.
  for (int gap = 3; gap <= 6; ++gap) {
    std::vector<std::pair<QString, QString>> points(square.begin(), square.begin() + gap + 2);
    points[static_cast<std::size_t>(gap)] = {"", ""};
    f.vertices(points);
    f.click("Form21", "cmd3");
    EXPECT_EQ(f.lastMessage(), "頂点のＸ座標が途中で空白になっています。") << gap;
    EXPECT_EQ(f.focused(), f.box("Form21", QStringLiteral("txt_x%1").arg(gap + 1))) << gap;
  }
}

}  // namespace
}  // namespace mk
