#include "calc/sections.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace mk {

namespace {

// The value as the display pattern "0.0000" shows it: the irregular channel
// computes on, and reports, its area and perimeter in that rounded form.
double RoundToFourDecimals(double value) {
  return ParseLeadingNumber(FormatNumber(value, "0.0000"));
}

}  // namespace

SectionGeometry CircularSection(double D, DepthRatio ratio) {
  const PartialDepthCoefficients k = PartialDepthTable(ratio);
  return SectionGeometry{k.kA * std::pow(D, 2.0), k.kP * D};
}

SectionGeometry RectangularSection(double H, double B, double code, bool closed) {
  const double r = 0.1 * code;
  SectionGeometry g;
  g.A = (r * H) * B;
  if (code < 10.0 || !closed) {
    g.P = 2.0 * (r * H) + B;  // open top, or a water surface below the top wall
  } else {
    g.P = 2.0 * ((r * H) + B);  // closed pipe running full: the top wall is wetted
  }
  return g;
}

SectionGeometry TrapezoidSection(double h, double b1, double b2, double b3, double code) {
  const double r = 0.1 * code;
  const double otherRun = b2 - b1 - b3;
  const double surfaceWidth = b1 + r * b3 + r * otherRun;
  SectionGeometry g;
  g.A = (b1 + surfaceWidth) * (r * h) * 1.0 / 2.0;
  g.P = b1 + r * std::sqrt(b3 * b3 + h * h) + r * std::sqrt(otherRun * otherRun + h * h);
  return g;
}

int PolygonVertexCount(const std::array<std::string, 8>& xTexts) {
  int filled = 0;
  while (filled < 8 && !IsEmptyText(xTexts[static_cast<size_t>(filled)])) ++filled;
  for (int i = filled; i < 8; ++i)
    if (!IsEmptyText(xTexts[static_cast<size_t>(i)])) return 0;  // a gap before a filled box
  return filled >= 3 ? filled : 0;
}

Outcome<PolygonResult> PolygonSection(const std::array<std::string, 8>& xTexts,
                                      const std::array<std::string, 8>& yTexts) {
  const int N = PolygonVertexCount(xTexts);
  if (N == 0) {
    int filled = 0;
    for (const std::string& x : xTexts)
      if (!IsEmptyText(x)) ++filled;
    int leading = 0;
    while (leading < 8 && !IsEmptyText(xTexts[static_cast<size_t>(leading)])) ++leading;
    if (leading < filled) return CalcError{"頂点のＸ座標が途中で空白になっています。", ""};
    return CalcError{"頂点の座標を３点以上入力してください。", ""};
  }

  std::array<double, 8> x{};
  std::array<double, 8> y{};
  for (int i = 0; i < N; ++i) {
    x[static_cast<size_t>(i)] = ParseLeadingNumber(xTexts[static_cast<size_t>(i)]);
    y[static_cast<size_t>(i)] = ParseLeadingNumber(yTexts[static_cast<size_t>(i)]);
  }

  // Shoelace sum over the outline closed by the water surface (vertex N is vertex 0).
  double S = 0.0;
  for (int i = 0; i < N; ++i) {
    const size_t a = static_cast<size_t>(i);
    const size_t b = static_cast<size_t>((i + 1) % N);
    S += x[b] * y[a] - x[a] * y[b];
  }
  // The wetted sides only: the closing side from vertex N-1 to vertex 0 is the surface.
  double P = 0.0;
  for (int i = 0; i + 1 < N; ++i) {
    const size_t a = static_cast<size_t>(i);
    const double dx = x[a] - x[a + 1];
    const double dy = y[a] - y[a + 1];
    P += std::sqrt(dx * dx + dy * dy);
  }

  PolygonResult result;
  result.N = N;
  result.geometry.A = RoundToFourDecimals(std::fabs(S) / 2.0);
  result.geometry.P = RoundToFourDecimals(P);
  if (!std::isfinite(S) || !std::isfinite(P))
    return CalcError{"頂点の座標が大きすぎるため、計算できません。", ""};
  if (!(result.geometry.P > 0.0))
    return CalcError{"排水溝の潤辺長が０になるため、計算できません。頂点の座標を確認してください。",
                     ""};
  if (!(result.geometry.A > 0.0))
    return CalcError{"排水溝の断面積が０になるため、計算できません。頂点の座標を確認してください。",
                     ""};
  return result;
}

Outcome<double> PolygonDrawingScale(const std::array<std::string, 8>& xTexts,
                                    const std::array<std::string, 8>& yTexts) {
  // Empty boxes read as 0, so an all-negative table with empty boxes gives 0.
  double largest = ParseLeadingNumber(xTexts[0]);
  for (size_t i = 0; i < 8; ++i) {
    largest = std::max(largest, ParseLeadingNumber(xTexts[i]));
    largest = std::max(largest, ParseLeadingNumber(yTexts[i]));
  }
  const double scale = 100.0 / largest;
  if (!(largest > 0.0) || !std::isfinite(scale) || !(scale > 0.0))
    return CalcError{"頂点の座標に正の値がないため、描画できません。", ""};
  return scale;
}

}  // namespace mk
