#pragma once
// A drawing as a list: the lines, polylines, circles and texts of each sheet,
// in sheet coordinates (millimetres from the sheet's lower-left corner, y
// upwards, as on a drawing board and in CAD).  A drawing is computed once
// and every writer (DXF, SVG, the painter of paper/) draws the same list,
// so the screen, the paper, the PDF, the CAD file and the browser agree.
//
// Every element names its layer (its content: 地盤線, 管渠, 水面,
// マンホール, 表, 文字); the writers take colours and pen widths from the
// layer table below.

#include <string>
#include <string_view>
#include <vector>

namespace mk::drawing {

struct Point {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const Point&) const = default;
};

enum class LineType { Continuous, Dashed };

// The dashes of LineType::Dashed on the sheet: dash, then gap (mm).
inline constexpr double kDashMm = 3.0;
inline constexpr double kGapMm = 1.5;

struct Line {
  Point a, b;
  std::string layer;
  LineType type = LineType::Continuous;
};

struct Polyline {
  std::vector<Point> points;
  std::string layer;
  LineType type = LineType::Continuous;
  bool closed = false;
};

struct Circle {
  Point centre;
  double radius = 0.0;
  std::string layer;
};

// Where a text's anchor point sits on the text: horizontally at its left
// end, centre or right end; vertically on its baseline, its bottom, its
// middle or its top.
enum class HAlign { Left, Center, Right };
enum class VAlign { Baseline, Bottom, Middle, Top };

struct Text {
  Point at;              // the anchor point
  double height = 2.5;   // character (em) height, mm
  std::string text;      // UTF-8, one line
  HAlign h = HAlign::Left;
  VAlign v = VAlign::Baseline;
  double rotation = 0.0;  // degrees, counter-clockwise about the anchor
  std::string layer;
};

// The text box of the fixed-pitch Mincho the drawings use, as fractions of
// the em height: the baseline sits 0.12 em above the bottom of the em box.
inline constexpr double kDescent = 0.12;
inline constexpr double kAscent = 0.88;

// The baseline's offset from the anchor along the text's up direction
// (negative: the baseline is below the anchor).
double BaselineOffset(VAlign v, double height);

// The advance of a text in the fixed-pitch font: half an em for a
// half-width character, one em for a full-width one.
double TextWidth(std::string_view text, double height);

// One sheet of paper.
struct Sheet {
  double width = 420.0;   // mm
  double height = 297.0;  // mm
  std::vector<Line> lines;
  std::vector<Polyline> polylines;
  std::vector<Circle> circles;
  std::vector<Text> texts;

  // CAD model space: a sheet point p is at (p − modelOrigin) × modelScale
  // metres, so the sheet's drawing scale comes out 1:1 (at 1/500, one
  // sheet millimetre is 0.5 m).
  Point modelOrigin;
  double modelScale = 1.0;
};

// The layers, in the order the writers declare them.
struct LayerStyle {
  const char* name;
  int dxfColour;       // the CAD colour number (1 red .. 7 white/black)
  double penWidthMm;   // on paper and in SVG
};
const std::vector<LayerStyle>& Layers();
// The style of a layer by name; the first layer's style when unknown.
const LayerStyle& LayerOf(std::string_view name);

namespace layer {
inline constexpr const char* kGround = "地盤線";
inline constexpr const char* kPipe = "管渠";
inline constexpr const char* kWater = "水面";
inline constexpr const char* kManhole = "マンホール";
inline constexpr const char* kTable = "表";
inline constexpr const char* kText = "文字";
}  // namespace layer

}  // namespace mk::drawing
