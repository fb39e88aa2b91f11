#pragma once
// The longitudinal profile (縦断図) of one flow path, as a drawing list
// (drawing.h): the ground line, each pipe's invert and crown, the water
// surface at the design flow (dashed), the manholes with their names and
// drops, the elevation ruler and the scale bar, the table under the
// profile (測点, 単距離, 追加距離, 地盤高, 管底高, 土被り, 管種・管径, 勾配,
// 段差) and the title block.  A path longer than one sheet continues on
// further sheets, each with its own table columns and title block; the
// node where one sheet ends begins the next.
//
// The drawing is exactly to scale: a station s (m) is at
// x = x0 + (s − s0) · 1000 / H mm on its sheet and a level z (m) at
// y = yDatum + (z − datum) · 1000 / V mm, with H and V the scales'
// denominators, s0 the sheet's first station and the datum a whole metre
// below the sheet's lowest invert.

#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace mk::drawing {

// One manhole (node) on the path.
struct ProfileNode {
  std::string name;
  double station = 0.0;  // 追加距離: length from the head node along the path, m
  double ground = 0.0;   // 地盤高, m
};

// One pipe segment, from nodes[k] to nodes[k + 1].  Levels in m.
struct ProfileSegment {
  std::string name;   // 路線番号
  double L = 0.0;     // 単距離, m
  double invertUp = 0.0, invertDown = 0.0;  // 管底高
  double crownUp = 0.0, crownDown = 0.0;    // inner crown: invert + inner height
  double waterUp = 0.0, waterDown = 0.0;    // water surface at the design flow
  double coverUp = 0.0, coverDown = 0.0;    // 土被り
  std::string facility;  // 管種・管径 as the table shows it ("ﾋｭｰﾑ管 φ400")
  double slope = 0.0;    // ‰
  double drop = 0.0;     // 段差 at its upstream manhole (0 at a head)
};

// A flow path from a head node down to the outlet.
struct ProfilePath {
  std::string title;                     // the table's title
  std::vector<ProfileNode> nodes;        // head first, outlet last
  std::vector<ProfileSegment> segments;  // nodes.size() − 1 of them
};

// A path ready to draw, or why there is none (see profile_path.h).
struct ProfilePathResult {
  std::optional<std::string> refusal;
  ProfilePath path;
  bool ok() const { return !refusal.has_value(); }
};

enum class SheetSize { A3, A4 };  // landscape

struct ProfileOptions {
  Point sheet{420.0, 297.0};  // the paper, landscape, mm (SheetSizeMm, or a printer's paper)
  int horizontal = 500;  // 1/250, 1/500, 1/1000
  int vertical = 100;    // 1/50, 1/100, 1/200
  std::string date;      // as printed in the title block
};

// The scales offered, as denominators.
const std::vector<int>& HorizontalScales();
const std::vector<int>& VerticalScales();

// The sheet's size in mm, landscape.
Point SheetSizeMm(SheetSize size);

// Where the parts of a sheet are (mm), for the writers' and tests' use.
struct ProfileSheetFrame {
  double frameLeft = 10.0, frameBottom = 10.0, frameRight = 0.0, frameTop = 0.0;
  double tableBottom = 0.0, tableTop = 0.0;  // the datum line is the table's top
  double captionRight = 0.0;                 // the row captions' column ends here
  double firstNodeX = 0.0;                   // x of the sheet's first node
  double profileTop = 0.0;                   // highest level drawn (below the names' room)
};

struct ProfileSheetInfo {
  int firstNode = 0, lastNode = 0;  // into ProfilePath::nodes
  double datum = 0.0;               // level of the table's top line, m
  ProfileSheetFrame frame;
};

struct ProfileDrawing {
  std::optional<std::string> refusal;  // set: nothing drawn (the message to show)
  std::vector<Sheet> sheets;
  std::vector<ProfileSheetInfo> info;  // one per sheet
  bool ok() const { return !refusal.has_value(); }
};

// The row captions of the table, top to bottom.
const std::vector<std::string>& ProfileTableRows();

// Draws the path.  Refused (with a message naming the segment) when the
// path has no segment, a number is not finite, or one segment does not fit
// on a sheet at the chosen scales.
ProfileDrawing DrawProfile(const ProfilePath& path, const ProfileOptions& options);

}  // namespace mk::drawing
