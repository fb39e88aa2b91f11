#pragma once
// Where the irregular channel's outline is drawn: the open polyline through
// the counted vertices, scaled so that the largest coordinate spans 100
// pixels, with the origin at pixel (13, 17).  Y grows downwards, as on the
// screen.  The water surface (last vertex back to vertex 0) is not drawn.

#include <array>
#include <string>
#include <vector>

#include "calc/calc_error.h"

namespace mk {

struct DrawingPoint {
  double x = 0.0;
  double y = 0.0;
};

inline constexpr double kOutlineOriginX = 13.0;
inline constexpr double kOutlineOriginY = 17.0;
inline constexpr double kOutlineSpan = 100.0;

// The pixel positions (13 + s x_i, 17 + s y_i) of vertices 0 .. N-1.
// Fails, with nothing to draw, when the X boxes leave a gap or give fewer
// than three vertices, or when no coordinate is positive (no scale).
Outcome<std::vector<DrawingPoint>> PolygonOutlinePoints(const std::array<std::string, 8>& xTexts,
                                                        const std::array<std::string, 8>& yTexts);

}  // namespace mk
