#include "drawing/drawing.h"

#include "report/page_split.h"

namespace mk::drawing {

double BaselineOffset(VAlign v, double height) {
  switch (v) {
    case VAlign::Baseline: return 0.0;
    case VAlign::Bottom: return kDescent * height;
    case VAlign::Middle: return (kDescent - 0.5) * height;
    case VAlign::Top: return -kAscent * height;
  }
  return 0.0;
}

double TextWidth(std::string_view text, double height) {
  int columns = 0;
  for (char32_t c : DecodeUtf8(text)) columns += CharacterColumns(c);
  return columns * height / 2.0;
}

const std::vector<LayerStyle>& Layers() {
  static const std::vector<LayerStyle> kLayers = {
      {layer::kGround, 3, 0.35},  {layer::kPipe, 7, 0.5},   {layer::kWater, 5, 0.25},
      {layer::kManhole, 7, 0.35}, {layer::kTable, 7, 0.18}, {layer::kText, 7, 0.18},
  };
  return kLayers;
}

const LayerStyle& LayerOf(std::string_view name) {
  for (const LayerStyle& style : Layers())
    if (name == style.name) return style;
  return Layers().front();
}

}  // namespace mk::drawing
