#include "calc/polygon_drawing.h"

#include "calc/sections.h"
#include "model/number_text.h"

namespace mk {

Outcome<std::vector<DrawingPoint>> PolygonOutlinePoints(const std::array<std::string, 8>& xTexts,
                                                        const std::array<std::string, 8>& yTexts) {
  const int N = PolygonVertexCount(xTexts);
  if (N == 0) {
    // PolygonSection words the reason (a gap, or fewer than three vertices).
    Outcome<PolygonResult> section = PolygonSection(xTexts, yTexts);
    if (!section) return section.error();
    return CalcError{"頂点の座標を３点以上入力してください。", ""};
  }
  Outcome<double> scale = PolygonDrawingScale(xTexts, yTexts);
  if (!scale) return scale.error();

  std::vector<DrawingPoint> points;
  points.reserve(static_cast<size_t>(N));
  for (size_t i = 0; i < static_cast<size_t>(N); ++i) {
    points.push_back({kOutlineOriginX + *scale * ParseLeadingNumber(xTexts[i]),
                      kOutlineOriginY + *scale * ParseLeadingNumber(yTexts[i])});
  }
  return points;
}

}  // namespace mk
