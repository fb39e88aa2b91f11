#include "calc/sections.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mk {
namespace {

using Column = std::array<std::string, 8>;

TEST(CircularSection, CataloguePipesAtTheirDepths) {
  const SectionGeometry vp = CircularSection(0.0678, DepthRatio::Full);
  EXPECT_NEAR(vp.A, 0.7853 * 0.0678 * 0.0678, 1e-15);
  EXPECT_NEAR(vp.A, 0.0036099, 1e-7);
  EXPECT_NEAR(vp.P, 0.2129937, 1e-12);

  const SectionGeometry hume80 = CircularSection(1.0, DepthRatio::Depth80);
  EXPECT_DOUBLE_EQ(hume80.A, 0.6735);
  EXPECT_DOUBLE_EQ(hume80.P, 2.2142);
  const SectionGeometry hume95 = CircularSection(1.0, DepthRatio::Flow95);
  EXPECT_DOUBLE_EQ(hume95.A, 0.7461);
  EXPECT_DOUBLE_EQ(hume95.P, 2.498);
}

TEST(RectangularSection, ClosedPipeWetsItsTopOnlyWhenFull) {
  const SectionGeometry full = RectangularSection(1.0, 2.0, 10, true);
  EXPECT_DOUBLE_EQ(full.A, 2.0);
  EXPECT_DOUBLE_EQ(full.P, 6.0);
  const SectionGeometry d80 = RectangularSection(1.0, 2.0, 8, true);
  EXPECT_DOUBLE_EQ(d80.A, 1.6);
  EXPECT_DOUBLE_EQ(d80.P, 3.6);
  // A U-trough is open even when full.
  const SectionGeometry trough = RectangularSection(0.3, 0.3, 10, false);
  EXPECT_NEAR(trough.A, 0.09, 1e-15);
  EXPECT_NEAR(trough.P, 0.9, 1e-15);
}

TEST(TrapezoidSection, AreaIgnoresTheWallSplitPerimeterDoesNot) {
  const SectionGeometry sym = TrapezoidSection(1.0, 1.0, 3.0, 1.0, 8);
  EXPECT_NEAR(sym.A, 1.44, 1e-12);
  EXPECT_NEAR(sym.P, 3.2627, 5e-5);
  const SectionGeometry oneVertical = TrapezoidSection(1.0, 1.0, 3.0, 0.0, 8);
  EXPECT_NEAR(oneVertical.A, 1.44, 1e-12);
  EXPECT_NEAR(oneVertical.P, 3.5889, 5e-5);
  // Walls leaning inwards (negative run) are computed with the same formulas.
  const SectionGeometry inward = TrapezoidSection(1.0, 2.0, 1.0, 0.0, 10);
  EXPECT_NEAR(inward.A, 1.5, 1e-12);
  EXPECT_NEAR(inward.P, 2.0 + 1.0 + std::sqrt(2.0), 1e-12);
}

struct PolygonCase {
  Column x, y;
  int N;
  double A, P;
};

TEST(PolygonSection, AreaAndWettedPerimeter) {
  const PolygonCase cases[] = {
      // Rectangle listed counter-clockwise: the top is the water surface.
      {{" 0", "0", "2", "2"}, {" 0", "1", "1", "0"}, 4, 2.0, 4.0},
      // The other direction gives the same area and again excludes the top.
      {{"2", "2", "0", "0"}, {"0", "1", "1", "0"}, 4, 2.0, 4.0},
      // Starting along the bottom makes the left side the water surface.
      {{"0", "2", "2", "0"}, {"0", "0", "1", "1"}, 4, 2.0, 5.0},
      // V-shaped ditch: 2·√2 rounded to four decimals.
      {{"0", "1", "2"}, {"0", "1", "0"}, 3, 1.0, 2.8284},
      // An empty Y box of a counted vertex reads as 0.
      {{"0", "0", "2", "2"}, {"", "1", "1", ""}, 4, 2.0, 4.0},
  };
  for (const PolygonCase& c : cases) {
    const auto r = PolygonSection(c.x, c.y);
    ASSERT_TRUE(r.ok()) << r.error().message;
    EXPECT_EQ(r->N, c.N);
    EXPECT_EQ(r->geometry.A, c.A);
    EXPECT_EQ(r->geometry.P, c.P);
  }
}

TEST(PolygonSection, AreaAndPerimeterAreRoundedHalfAwayFromZero) {
  // Right triangle with legs 0.05: area 0.00125 -> 0.0013, wetted sides 0.05 + 0.05.
  const auto r = PolygonSection(Column{"0", "0", "0.05"}, Column{"0", "0.05", "0.05"});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->geometry.A, 0.0013);
  EXPECT_EQ(r->geometry.P, 0.1);
  // The example's eight-vertex stone channel.
  const auto stone = PolygonSection(Column{" 0", "0.4", "1.1", "1.7", "2.9", "3.8", "3.9", "4.8"},
                                    Column{" 0", "0.7", "0.8", "1.1", "1.1", "0.7", "0.3", "0"});
  ASSERT_TRUE(stone.ok());
  EXPECT_EQ(stone->N, 8);
  EXPECT_EQ(stone->geometry.A, 3.55);
  EXPECT_EQ(stone->geometry.P, 5.73);
}

TEST(PolygonSection, VertexCountFromTheXBoxes) {
  EXPECT_EQ(PolygonVertexCount(Column{"0", "1", "2"}), 3);
  EXPECT_EQ(PolygonVertexCount(Column{"0", "1", "2", "3", "4", "5", "6", "7"}), 8);
  EXPECT_EQ(PolygonVertexCount(Column{"0", "1"}), 0);
  EXPECT_EQ(PolygonVertexCount(Column{"0", "1", "2", "3", "", "5"}), 0);
  EXPECT_EQ(PolygonVertexCount(Column{"0", "", "2", "3"}), 0);
}

TEST(PolygonSection, RefusesAGapFewVerticesAndDegenerateOutlines) {
  const auto gap =
      PolygonSection(Column{"0", "0", "2", "2", "", "3"}, Column{"0", "1", "1", "0", "", "1"});
  ASSERT_FALSE(gap.ok());
  EXPECT_EQ(gap.error().message, "頂点のＸ座標が途中で空白になっています。");

  EXPECT_FALSE(PolygonSection(Column{"0", "1"}, Column{"0", "1"}).ok());

  // Collinear vertices: no area.
  const auto line = PolygonSection(Column{"0", "1", "2"}, Column{"0", "1", "2"});
  ASSERT_FALSE(line.ok());
  EXPECT_NE(line.error().message.find("断面積"), std::string::npos);
  // Coincident vertices: no perimeter either.
  const auto point = PolygonSection(Column{"1", "1", "1"}, Column{"1", "1", "1"});
  ASSERT_FALSE(point.ok());
  // An area below half the last shown place rounds to 0 and is refused too.
  EXPECT_FALSE(PolygonSection(Column{"0", "0", "0.001"}, Column{"0", "0.001", "0.001"}).ok());
}

TEST(PolygonDrawingScale, LargestOfAllSixteenBoxes) {
  const auto s = PolygonDrawingScale(Column{" 0", "0", "2", "2"}, Column{" 0", "1", "1", "0"});
  ASSERT_TRUE(s.ok());
  EXPECT_DOUBLE_EQ(*s, 50.0);
  // Boxes beyond the counted vertices take part as well.
  const auto far =
      PolygonDrawingScale(Column{"0", "1", "2"}, Column{"0", "1", "0", "", "", "", "", "4"});
  ASSERT_TRUE(far.ok());
  EXPECT_DOUBLE_EQ(*far, 25.0);
  // Nothing positive to scale to.
  EXPECT_FALSE(PolygonDrawingScale(Column{"0", "0", "0"}, Column{"0", "0", "0"}).ok());
  EXPECT_FALSE(PolygonDrawingScale(Column{"-1", "-1", "-2", "-2", "-1", "-1", "-1", "-1"},
                                   Column{"-1", "-2", "-2", "-1", "-1", "-1", "-1", "-1"})
                   .ok());
}

}  // namespace
}  // namespace mk
