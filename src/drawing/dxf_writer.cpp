#include "drawing/dxf_writer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/network.h"

namespace mk::drawing {

namespace {

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The shortest fixed-point text that reads back as the same double; no
// exponent, which some older CAD readers do not take.  The core's own
// shortest decimal text, so that every standard library (the browser's
// too) writes the same bytes.
std::string Number(double v) {
  if (v == 0.0 || !std::isfinite(v)) return "0.0";
  std::string s = ExactDecimalText(v);
  if (s.find('.') == std::string::npos) s += ".0";
  return s;
}

class Writer {
 public:
  explicit Writer(const Cp932Encoder& encode) : encode_(encode) {}

  void group(int code, std::string_view value) {
    out_ += std::to_string(code).insert(0, code < 10 ? "  " : code < 100 ? " " : "");
    out_ += "\r\n";
    out_ += value;
    out_ += "\r\n";
  }
  void number(int code, double v) { group(code, Number(v)); }
  void integer(int code, int v) { group(code, std::to_string(v)); }
  void point(int code, Point p) {
    number(code, p.x);
    number(code + 10, p.y);
    number(code + 20, 0.0);
  }
  // A text value: one line, CP932.  `shown` is the text as the user knows it.
  void text(int code, std::string_view utf8) {
    std::string value(utf8);
    // A line break or control character would end the group's value.
    for (char& c : value)
      if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    // "%%" starts a control code (%%c, %%d, %%p); "%%%" is one percent sign.
    if (value.find("%%") != std::string::npos) {
      std::string escaped;
      for (char c : value) escaped += c == '%' ? std::string("%%%") : std::string(1, c);
      value = escaped;
    }
    if (IsAscii(value)) {
      group(code, value);
      return;
    }
    std::string bad;
    const std::optional<std::string> bytes = encode_ ? encode_(value, &bad) : std::nullopt;
    if (!bytes) {
      if (!refusal_)
        refusal_ = "「" + bad + "」はDXFに書き出せない文字です（「" + std::string(utf8) +
                   "」）。この文字を別の文字に直してから書き出してください。";
      group(code, "?");
      return;
    }
    group(code, *bytes);
  }

  std::string& bytes() { return out_; }
  const std::optional<std::string>& refusal() const { return refusal_; }

 private:
  const Cp932Encoder& encode_;
  std::string out_;
  std::optional<std::string> refusal_;
};

int HorizontalCode(HAlign h) { return h == HAlign::Left ? 0 : h == HAlign::Center ? 1 : 2; }
int VerticalCode(VAlign v) {
  switch (v) {
    case VAlign::Baseline: return 0;
    case VAlign::Bottom: return 1;
    case VAlign::Middle: return 2;
    case VAlign::Top: return 3;
  }
  return 0;
}

}  // namespace

Point DxfModelPoint(const Sheet& sheet, double shift, Point p) {
  return {(p.x - sheet.modelOrigin.x) * sheet.modelScale + shift, (p.y - sheet.modelOrigin.y) * sheet.modelScale};
}

std::vector<double> DxfSheetShifts(const std::vector<Sheet>& sheets) {
  std::vector<double> shifts;
  double previousRight = 0.0;
  for (const Sheet& sheet : sheets) {
    double shift = 0.0;
    if (!shifts.empty()) {
      const double left = DxfModelPoint(sheet, 0.0, {0.0, 0.0}).x;
      const double clear = previousRight + 10.0 * sheet.modelScale;
      shift = std::max(shifts.back(), std::ceil((clear - left) / kDxfShiftStep) * kDxfShiftStep);
    }
    shifts.push_back(shift);
    previousRight = DxfModelPoint(sheet, shift, {sheet.width, 0.0}).x;
  }
  return shifts;
}

DxfFile WriteDxf(const std::vector<Sheet>& sheets, const Cp932Encoder& encode) {
  Writer w(encode);
  const double scale = sheets.empty() ? 1.0 : sheets.front().modelScale;

  // The extents: every sheet's paper, in model space.
  const std::vector<double> shifts = DxfSheetShifts(sheets);
  Point low{0.0, 0.0}, high{0.0, 0.0};
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const Point a = DxfModelPoint(sheets[i], shifts[i], {0.0, 0.0});
    const Point b = DxfModelPoint(sheets[i], shifts[i], {sheets[i].width, sheets[i].height});
    if (i == 0) low = a, high = b;
    low = {std::min(low.x, a.x), std::min(low.y, a.y)};
    high = {std::max(high.x, b.x), std::max(high.y, b.y)};
  }

  w.group(0, "SECTION");
  w.group(2, "HEADER");
  w.group(9, "$ACADVER");
  w.group(1, "AC1009");
  w.group(9, "$DWGCODEPAGE");
  w.group(3, "ANSI_932");
  w.group(9, "$INSBASE");
  w.point(10, {0.0, 0.0});
  w.group(9, "$EXTMIN");
  w.point(10, low);
  w.group(9, "$EXTMAX");
  w.point(10, high);
  w.group(9, "$LIMMIN");
  w.number(10, low.x);
  w.number(20, low.y);
  w.group(9, "$LIMMAX");
  w.number(10, high.x);
  w.number(20, high.y);
  w.group(9, "$LTSCALE");
  w.number(40, 1.0);
  w.group(9, "$TEXTSTYLE");
  w.group(7, kDxfTextStyle);
  w.group(9, "$CLAYER");
  w.group(8, "0");
  w.group(0, "ENDSEC");

  w.group(0, "SECTION");
  w.group(2, "TABLES");
  // Line types: the dashes in model units, as they measure on the sheet.
  w.group(0, "TABLE");
  w.group(2, "LTYPE");
  w.integer(70, 2);
  w.group(0, "LTYPE");
  w.group(2, "CONTINUOUS");
  w.integer(70, 0);
  w.group(3, "Solid line");
  w.integer(72, 65);
  w.integer(73, 0);
  w.number(40, 0.0);
  w.group(0, "LTYPE");
  w.group(2, "DASHED");
  w.integer(70, 0);
  w.group(3, "__ __ __ __");
  w.integer(72, 65);
  w.integer(73, 2);
  w.number(40, (kDashMm + kGapMm) * scale);
  w.number(49, kDashMm * scale);
  w.number(49, -kGapMm * scale);
  w.group(0, "ENDTAB");

  w.group(0, "TABLE");
  w.group(2, "LAYER");
  w.integer(70, static_cast<int>(Layers().size()) + 1);
  w.group(0, "LAYER");
  w.group(2, "0");
  w.integer(70, 0);
  w.integer(62, 7);
  w.group(6, "CONTINUOUS");
  for (const LayerStyle& style : Layers()) {
    w.group(0, "LAYER");
    w.text(2, style.name);
    w.integer(70, 0);
    w.integer(62, style.dxfColour);
    w.group(6, "CONTINUOUS");
  }
  w.group(0, "ENDTAB");

  w.group(0, "TABLE");
  w.group(2, "STYLE");
  w.integer(70, 2);
  for (const char* name : {"STANDARD", kDxfTextStyle}) {
    const bool mincho = std::string_view(name) == kDxfTextStyle;
    w.group(0, "STYLE");
    w.group(2, name);
    w.integer(70, 0);
    w.number(40, 0.0);
    w.number(41, 1.0);
    w.number(50, 0.0);
    w.integer(71, 0);
    w.number(42, 2.5 * scale);
    w.group(3, mincho ? kDxfTextFont : "txt");
    w.group(4, "");
  }
  w.group(0, "ENDTAB");
  w.group(0, "ENDSEC");

  w.group(0, "SECTION");
  w.group(2, "BLOCKS");
  w.group(0, "ENDSEC");

  w.group(0, "SECTION");
  w.group(2, "ENTITIES");
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const Sheet& sheet = sheets[i];
    auto at = [&](Point p) { return DxfModelPoint(sheet, shifts[i], p); };
    auto lineType = [&](LineType type) {
      if (type == LineType::Dashed) w.group(6, "DASHED");
    };
    for (const Line& line : sheet.lines) {
      w.group(0, "LINE");
      w.text(8, line.layer);
      lineType(line.type);
      w.point(10, at(line.a));
      w.point(11, at(line.b));
    }
    for (const Polyline& polyline : sheet.polylines) {
      w.group(0, "POLYLINE");
      w.text(8, polyline.layer);
      lineType(polyline.type);
      w.integer(66, 1);
      w.point(10, {0.0, 0.0});
      w.integer(70, polyline.closed ? 1 : 0);
      for (const Point& p : polyline.points) {
        w.group(0, "VERTEX");
        w.text(8, polyline.layer);
        w.point(10, at(p));
      }
      w.group(0, "SEQEND");
      w.text(8, polyline.layer);
    }
    for (const Circle& circle : sheet.circles) {
      w.group(0, "CIRCLE");
      w.text(8, circle.layer);
      w.point(10, at(circle.centre));
      w.number(40, circle.radius * sheet.modelScale);
    }
    for (const Text& text : sheet.texts) {
      const Point p = at(text.at);
      w.group(0, "TEXT");
      w.text(8, text.layer);
      w.point(10, p);
      w.number(40, text.height * sheet.modelScale);
      w.text(1, text.text);
      if (text.rotation != 0.0) w.number(50, text.rotation);
      w.group(7, kDxfTextStyle);
      const int h = HorizontalCode(text.h), v = VerticalCode(text.v);
      if (h != 0) w.integer(72, h);
      if (h != 0 || v != 0) w.point(11, p);
      if (v != 0) w.integer(73, v);
    }
  }
  w.group(0, "ENDSEC");
  w.group(0, "EOF");

  DxfFile file;
  file.refusal = w.refusal();
  if (file.ok()) file.bytes = std::move(w.bytes());
  return file;
}

}  // namespace mk::drawing
