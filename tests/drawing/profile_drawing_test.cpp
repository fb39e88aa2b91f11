#include "drawing/profile_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "drawing/dxf_writer.h"
#include "drawing/svg_writer.h"
#include "drawing/three_segment_path.h"

namespace mk::drawing {
namespace {

constexpr double kEps = 1e-9;

bool Near(Point a, Point b) { return std::abs(a.x - b.x) < kEps && std::abs(a.y - b.y) < kEps; }

const Text* FindText(const Sheet& sheet, const std::string& text, Point at) {
  for (const Text& t : sheet.texts)
    if (t.text == text && Near(t.at, at)) return &t;
  return nullptr;
}
int CountText(const Sheet& sheet, const std::string& text) {
  return static_cast<int>(std::count_if(sheet.texts.begin(), sheet.texts.end(),
                                        [&](const Text& t) { return t.text == text; }));
}
bool HasLine(const Sheet& sheet, Point a, Point b, const std::string& layerName, LineType type) {
  return std::any_of(sheet.lines.begin(), sheet.lines.end(), [&](const Line& l) {
    return l.layer == layerName && l.type == type && Near(l.a, a) && Near(l.b, b);
  });
}

TEST(ProfileDrawing, ThreeSegmentsWorkedByHand) {
  const ProfileDrawing d = DrawProfile(test::ThreeSegmentPath(), {SheetSizeMm(SheetSize::A3), 500, 100, "2026年12月8日"});
  ASSERT_TRUE(d.ok()) << *d.refusal;
  ASSERT_EQ(d.sheets.size(), 1u);
  const Sheet& s = d.sheets[0];
  EXPECT_EQ(s.width, 420.0);
  EXPECT_EQ(s.height, 297.0);
  EXPECT_EQ(d.info[0].datum, 7.0);
  EXPECT_DOUBLE_EQ(d.info[0].frame.tableTop, 136.0);

  // The ground line through (50 + 2·station, 136 + 10·(GL − 7)).
  const Polyline* ground = nullptr;
  for (const Polyline& p : s.polylines)
    if (p.layer == layer::kGround) ground = &p;
  ASSERT_NE(ground, nullptr);
  const std::vector<Point> expected = {{50, 166}, {130, 164}, {230, 161}, {350, 159}};
  ASSERT_EQ(ground->points.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(Near(ground->points[i], expected[i])) << i;

  // Segment A-2 from x 130 to 230: invert 8.250 → 8.050, crown 8.550 → 8.350,
  // the water surface 8.370 → 8.170 dashed.
  EXPECT_TRUE(HasLine(s, {130, 148.5}, {230, 146.5}, layer::kPipe, LineType::Continuous));
  EXPECT_TRUE(HasLine(s, {130, 151.5}, {230, 149.5}, layer::kPipe, LineType::Continuous));
  EXPECT_TRUE(HasLine(s, {130, 149.7}, {230, 147.7}, layer::kWater, LineType::Dashed));
  // Manhole 2 from the ground (164) to the lower invert, A-2's 8.250 (148.5).
  EXPECT_TRUE(HasLine(s, {130, 164}, {130, 148.5}, layer::kManhole, LineType::Continuous));
  // Its name 2 mm above the ground; its drop under A-2's invert.
  const Text* name = FindText(s, "2", {130, 166});
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->layer, layer::kText);
  EXPECT_EQ(name->h, HAlign::Center);
  EXPECT_EQ(name->v, VAlign::Bottom);
  EXPECT_NE(FindText(s, "段差 0.050", {131, 147.5}), nullptr);
  EXPECT_EQ(CountText(s, "段差 0.050"), 2);  // nodes 2 and 3; none at the head

  // The table: rows from its top at 136 mm (14, 8, 14, 14, 14, 14, 8, 8, 12).
  const Text* station = FindText(s, "90.00", {230, 107});  // 追加距離, rotated at the node
  ASSERT_NE(station, nullptr);
  EXPECT_EQ(station->rotation, 90.0);
  EXPECT_EQ(station->layer, layer::kTable);
  EXPECT_NE(FindText(s, "50.00", {180, 118}), nullptr);      // 単距離 of A-2
  EXPECT_NE(FindText(s, "9.300", {350, 93}), nullptr);       // 地盤高 at node 4
  EXPECT_NE(FindText(s, "8.300", {128.4, 79}), nullptr);     // 管底高 in and out at node 2
  EXPECT_NE(FindText(s, "8.250", {131.6, 79}), nullptr);
  EXPECT_NE(FindText(s, "1.220", {130, 65}), nullptr);       // 土被り equal both sides: once
  EXPECT_NE(FindText(s, "1.115", {231.6, 65}), nullptr);     // and different at node 3
  EXPECT_NE(FindText(s, "ﾋｭｰﾑ管 φ350", {290, 54}), nullptr);  // 管種・管径
  EXPECT_NE(FindText(s, "4.0‰", {180, 46}), nullptr);        // 勾配
  EXPECT_NE(FindText(s, "0.050", {230, 36}), nullptr);       // 段差 at node 3
  EXPECT_NE(FindText(s, "DL=7.000", {37.5, 136}), nullptr);  // the datum on the ruler

  // The title block and the scales.
  EXPECT_EQ(CountText(s, "縦断図　1 → 4"), 1);
  EXPECT_EQ(CountText(s, "横 1/500　縦 1/100"), 1);
  EXPECT_EQ(CountText(s, "縦 5 倍"), 1);
  EXPECT_EQ(CountText(s, "2026年12月8日"), 1);
  EXPECT_EQ(CountText(s, "1 / 1"), 1);
  EXPECT_EQ(CountText(s, "宅地造成　雨水排水"), 1);
  EXPECT_EQ(CountText(s, "50 m"), 1);  // the scale bar: 50 m is 100 mm at 1/500

  // Model space: stations in metres, levels times five.
  EXPECT_EQ(s.modelScale, 0.5);
  EXPECT_TRUE(Near(s.modelOrigin, {50, 66}));
}

TEST(ProfileDrawing, LongPathContinuesOnFurtherSheets) {
  // Eight 60 m segments on A3 at 1/500: 176 m of stations fit a sheet, so
  // two segments a sheet; the falling line is lowered a metre a segment so
  // that the datum moves from sheet to sheet.
  ProfilePath path;
  path.title = "長い路線";
  for (int n = 0; n <= 8; ++n) path.nodes.push_back({"No." + std::to_string(n), 60.0 * n, 20.0 - n});
  for (int k = 0; k < 8; ++k) {
    const double up = 18.0 - k, down = up - 0.3;
    path.segments.push_back({"S" + std::to_string(k), 60.0, up, down, up + 0.3, down + 0.3, up + 0.1, down + 0.1, 1.6,
                             1.6, "VP - φ250", 5.0, 0.7});
  }
  const ProfileDrawing d = DrawProfile(path, {SheetSizeMm(SheetSize::A3), 500, 100, ""});
  ASSERT_TRUE(d.ok()) << *d.refusal;
  ASSERT_EQ(d.sheets.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const Sheet& s = d.sheets[i];
    EXPECT_EQ(d.info[i].firstNode, 2 * i);
    EXPECT_EQ(d.info[i].lastNode, 2 * i + 2);
    EXPECT_EQ(CountText(s, std::to_string(i + 1) + " / 4"), 1);
    // Each sheet's own nodes, the joint node on both sheets, in the 測点
    // row (rotated) and above the ground.
    for (int n = 0; n <= 8; ++n) {
      const bool here = n >= 2 * i && n <= 2 * i + 2;
      EXPECT_EQ(CountText(s, "No." + std::to_string(n)), here ? 2 : 0) << "sheet " << i << " node " << n;
    }
    // The sheet starts again at x 50 mm, its datum a whole metre under its own lowest invert.
    EXPECT_TRUE(FindText(s, "No." + std::to_string(2 * i), {50, 129}) != nullptr);
    EXPECT_EQ(d.info[i].datum, std::floor(18.0 - (2 * i + 1) - 0.3 - 0.5));
    // Model x stays the station: the sheet's first node at its station.
    EXPECT_DOUBLE_EQ((50.0 - s.modelOrigin.x) * s.modelScale, 120.0 * i);
    EXPECT_DOUBLE_EQ((d.info[i].frame.tableTop - s.modelOrigin.y) * s.modelScale, d.info[i].datum * 5.0);
  }
  // In the DXF the sheets lie side by side, each moved right by whole
  // hundreds of metres: sheet k's paper (210 m wide at 1/500) from 120k − 25.
  EXPECT_EQ(DxfSheetShifts(d.sheets), (std::vector<double>{0, 100, 200, 300}));
  // A4 holds 114 m: one segment a sheet.
  EXPECT_EQ(DrawProfile(path, {SheetSizeMm(SheetSize::A4), 500, 100, ""}).sheets.size(), 8u);
  // Every sheet in the SVG, one under another.
  const std::string svg = WriteSvg(d.sheets);
  EXPECT_NE(svg.find("height=\"1218mm\""), std::string::npos);  // 4 × 297 + 3 × 10
  EXPECT_NE(svg.find(">No.8</text>"), std::string::npos);
}

TEST(ProfileDrawing, RefusesWhatDoesNotFit) {
  ProfilePath path = test::ThreeSegmentPath();
  // 150 m of stations at 1/250 is 600 mm; A-3 alone is 240 mm of A4's 229.
  const ProfileDrawing wide = DrawProfile(path, {SheetSizeMm(SheetSize::A4), 250, 100, ""});
  ASSERT_FALSE(wide.ok());
  EXPECT_NE(wide.refusal->find("路線番号「A-3」"), std::string::npos) << *wide.refusal;
  EXPECT_NE(wide.refusal->find("横 1/250"), std::string::npos);
  path.segments[1].invertDown = std::nan("");
  const ProfileDrawing broken = DrawProfile(path, {});
  ASSERT_FALSE(broken.ok());
  EXPECT_NE(broken.refusal->find("路線番号「A-2」"), std::string::npos);
  EXPECT_FALSE(DrawProfile(ProfilePath{}, {}).ok());
}

}  // namespace
}  // namespace mk::drawing
