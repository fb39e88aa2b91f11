#include "drawing/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace mk::drawing {

namespace {

// Numbers to a hundredth of a micrometre: enough for any printer, short.
std::string Num(double v) {
  const double rounded = std::round(v * 1e5) / 1e5;
  if (rounded == 0.0 || !std::isfinite(rounded)) return "0";
  // printf's fixed form: what to_chars gives at a precision, and in every
  // standard library.
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.5f", rounded);
  std::string s(buffer);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        // XML 1.0 admits no control character but tab, CR and LF.
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

std::string Stroke(const std::string& layerName, LineType type) {
  std::string s = " stroke=\"#000\" stroke-width=\"" + Num(LayerOf(layerName).penWidthMm) + "\"";
  if (type == LineType::Dashed) s += " stroke-dasharray=\"" + Num(kDashMm) + " " + Num(kGapMm) + "\"";
  return s;
}

}  // namespace

std::string WriteSvg(const std::vector<Sheet>& sheets) {
  double width = 0.0, height = 0.0;
  for (const Sheet& sheet : sheets) {
    width = std::max(width, sheet.width);
    height += sheet.height;
  }
  if (sheets.size() > 1) height += kSvgSheetGap * static_cast<double>(sheets.size() - 1);

  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(width) + "mm\" height=\"" + Num(height) +
         "mm\" viewBox=\"0 0 " + Num(width) + " " + Num(height) + "\">\n";
  double top = 0.0;
  for (const Sheet& sheet : sheets) {
    // Sheet y runs upwards from the sheet's bottom; SVG's downwards from the top.
    auto X = [&](double x) { return Num(x); };
    auto Y = [&](double y) { return Num(top + sheet.height - y); };
    out += "<g>\n<rect x=\"0\" y=\"" + Num(top) + "\" width=\"" + Num(sheet.width) + "\" height=\"" +
           Num(sheet.height) + "\" fill=\"#fff\"/>\n";
    for (const Line& l : sheet.lines) {
      out += "<line x1=\"" + X(l.a.x) + "\" y1=\"" + Y(l.a.y) + "\" x2=\"" + X(l.b.x) + "\" y2=\"" + Y(l.b.y) + "\"" +
             Stroke(l.layer, l.type) + "/>\n";
    }
    for (const Polyline& p : sheet.polylines) {
      out += p.closed ? "<polygon points=\"" : "<polyline points=\"";
      for (std::size_t i = 0; i < p.points.size(); ++i) {
        if (i) out += ' ';
        out += X(p.points[i].x) + "," + Y(p.points[i].y);
      }
      out += "\" fill=\"none\"" + Stroke(p.layer, p.type) + "/>\n";
    }
    for (const Circle& c : sheet.circles) {
      out += "<circle cx=\"" + X(c.centre.x) + "\" cy=\"" + Y(c.centre.y) + "\" r=\"" + Num(c.radius) +
             "\" fill=\"none\"" + Stroke(c.layer, LineType::Continuous) + "/>\n";
    }
    for (const Text& t : sheet.texts) {
      // The baseline point: the anchor moved along the text's up direction.
      const double angle = t.rotation * 3.14159265358979323846 / 180.0;
      const double offset = BaselineOffset(t.v, t.height);
      const Point base{t.at.x - std::sin(angle) * offset, t.at.y + std::cos(angle) * offset};
      const char* anchor = t.h == HAlign::Left ? "start" : t.h == HAlign::Center ? "middle" : "end";
      out += "<text x=\"" + X(base.x) + "\" y=\"" + Y(base.y) + "\" font-size=\"" + Num(t.height) +
             "\" text-anchor=\"" + anchor + "\"";
      if (t.rotation != 0.0)
        out += " transform=\"rotate(" + Num(-t.rotation) + " " + X(base.x) + " " + Y(base.y) + ")\"";
      out += ">" + Escape(t.text) + "</text>\n";
    }
    out += "</g>\n";
    top += sheet.height + kSvgSheetGap;
  }
  out += "</svg>\n";
  // One font for every text, set once on the root.
  const std::string font = " font-family=\"IPAMincho, 'IPA明朝', 'ＭＳ 明朝', 'MS Mincho', serif\" fill=\"#000\"";
  const std::size_t rootEnd = out.find("\">\n", out.find("<svg"));
  out.insert(rootEnd + 1, font);
  return out;
}

}  // namespace mk::drawing
