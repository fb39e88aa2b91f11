#pragma once
// A three-segment path worked by hand, shared by the drawing and the DXF
// tests.  Nodes 1 → 2 → 3 → 4 at stations 0, 40, 90, 150 m with ground
// levels 10.000, 9.800, 9.500, 9.300; Hume pipes φ250 at 5 ‰, φ300 at 4 ‰
// and φ350 at 3 ‰, joined at their crowns with 0.050 m drops at nodes 2
// and 3 (wall 30, 30 and 35 mm for the covers).
//
// On an A3 sheet at 1/500 × 1/100: the lowest invert 7.820 puts the datum
// at floor(7.820 − 0.5) = 7 m on the table's top line, y 136 mm (frame at
// 10 mm, title strip 20 mm, table 106 mm); the first node sits at x 50 mm.
// So x = 50 + 2·station and y = 136 + 10·(level − 7).

#include "drawing/profile_drawing.h"

namespace mk::test {

inline drawing::ProfilePath ThreeSegmentPath() {
  drawing::ProfilePath path;
  path.title = "宅地造成　雨水排水";
  path.nodes = {{"1", 0.0, 10.0}, {"2", 40.0, 9.8}, {"3", 90.0, 9.5}, {"4", 150.0, 9.3}};
  path.segments = {
      {"A-1", 40.0, 8.5, 8.3, 8.75, 8.55, 8.6, 8.4, 1.22, 1.22, "ﾋｭｰﾑ管 φ250", 5.0, 0.0},
      {"A-2", 50.0, 8.25, 8.05, 8.55, 8.35, 8.37, 8.17, 1.22, 1.12, "ﾋｭｰﾑ管 φ300", 4.0, 0.05},
      {"A-3", 60.0, 8.0, 7.82, 8.35, 8.17, 8.15, 7.97, 1.115, 1.095, "ﾋｭｰﾑ管 φ350", 3.0, 0.05},
  };
  return path;
}

}  // namespace mk::test
