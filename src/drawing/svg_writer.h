#pragma once
// A drawing list as one SVG document (UTF-8), for the browser and for
// viewing: the sheets one under another, 10 mm apart, each on white paper,
// in millimetres (the document's width and height carry "mm"), with the
// layers' pen widths, dashes for the dashed lines and the texts in the
// report's Mincho.

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace mk::drawing {

inline constexpr double kSvgSheetGap = 10.0;  // mm between stacked sheets

std::string WriteSvg(const std::vector<Sheet>& sheets);

}  // namespace mk::drawing
