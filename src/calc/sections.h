#pragma once
// Flow area and wetted perimeter of every section kind.

#include <array>
#include <string>

#include "calc/calc_error.h"
#include "calc/catalogue.h"
#include "model/hydraulic_types.h"

namespace mk {

// A = kA * D^2, P = kP * D.
SectionGeometry CircularSection(double D, DepthRatio ratio);

// r = 0.1 * code.  A = (r H) B; P = 2 r H + B, or 2 (H + B) for a closed
// pipe running full (code 10).
SectionGeometry RectangularSection(double H, double B, double code, bool closed);

// Open ditch with bottom b1, top b2, one wall's run b3 (the other's b2-b1-b3).
SectionGeometry TrapezoidSection(double h, double b1, double b2, double b3, double code);

// Number of vertices given by the X boxes: k (3..8) when boxes 0..k-1 are
// filled and k..7 empty; 0 when the filled boxes leave a gap or fewer than
// three are filled.
int PolygonVertexCount(const std::array<std::string, 8>& xTexts);

struct PolygonResult {
  int N = 0;
  SectionGeometry geometry;  // A and P, each rounded to four decimals
};

// Shoelace area of the polygon closed by the water surface, perimeter of
// the N-1 wetted sides.  Fails for a gap in the X boxes and for a polygon
// whose area or perimeter is 0.
Outcome<PolygonResult> PolygonSection(const std::array<std::string, 8>& xTexts,
                                      const std::array<std::string, 8>& yTexts);

// Drawing scale s = 100 / (largest of the sixteen coordinate boxes, empty = 0):
// the largest coordinate spans 100 pixels.  Fails when that largest value is
// 0 or negative (nothing positive to scale to); such a table is neither
// drawn nor computed.
Outcome<double> PolygonDrawingScale(const std::array<std::string, 8>& xTexts,
                                    const std::array<std::string, 8>& yTexts);

}  // namespace mk
