#include "drawing/profile_drawing.h"

#include <algorithm>
#include <cmath>

#include "model/number_text.h"

namespace mk::drawing {

namespace {

// The sheet's parts, mm.
constexpr double kMargin = 10.0;       // paper edge to frame
constexpr double kTitleStrip = 20.0;   // scale bar and title block, under the table
constexpr double kCaptionWidth = 30.0; // the row captions' column
constexpr double kLeadIn = 10.0;       // caption column to the first node
constexpr double kLeadOut = 8.0;       // last node to the frame
constexpr double kHeadroom = 10.0;     // above the highest level: the node names
constexpr double kBelowLowest = 0.5;   // m kept between the lowest invert and the datum

constexpr double kValueHeight = 2.5;   // table values
constexpr double kCaptionHeight = 3.0; // row captions, title block
constexpr double kNameHeight = 3.0;    // node names above the ground
constexpr double kNoteHeight = 2.0;    // drops, ruler labels, scale bar

// The table's rows, top to bottom.  Node rows carry one value per node,
// written upwards (rotated) at the node; segment rows one per segment,
// written across its middle.
enum class Row { Node, Length, Station, Ground, Invert, Cover, Facility, Slope, Drop };
struct RowSpec {
  Row row;
  const char* caption;
  double height;
};
constexpr RowSpec kRows[] = {
    {Row::Node, "測点", 14.0},      {Row::Length, "単距離", 8.0},     {Row::Station, "追加距離", 14.0},
    {Row::Ground, "地盤高", 14.0},  {Row::Invert, "管底高", 14.0},    {Row::Cover, "土被り", 14.0},
    {Row::Facility, "管種・管径", 8.0}, {Row::Slope, "勾配", 8.0}, {Row::Drop, "段差", 12.0},
};
double TableHeight() {
  double h = 0.0;
  for (const RowSpec& r : kRows) h += r.height;
  return h;
}

std::string Level(double v) { return FormatNumber(v, "0.000"); }
std::string Length(double v) { return FormatNumber(v, "0.00"); }
std::string Scale(int denominator) { return "1/" + std::to_string(denominator); }

// H / V as the title block prints it: "5" or "1.25".
std::string Exaggeration(int horizontal, int vertical) {
  if (horizontal % vertical == 0) return std::to_string(horizontal / vertical);
  return FormatNumber(static_cast<double>(horizontal) / vertical, "0.00");
}

// A text height that lets `text` fit `width`, from `height` down to 60 %.
double FitHeight(const std::string& text, double width, double height) {
  const double w = TextWidth(text, height);
  if (w <= width || w <= 0.0) return height;
  return std::max(height * 0.6, height * width / w);
}

bool Finite(double v) { return std::isfinite(v); }

struct Geometry {
  Point sheet;
  ProfileSheetFrame frame;
  double heightAvailable() const { return frame.profileTop - frame.tableTop; }
  double widthAvailable() const { return frame.frameRight - kLeadOut - frame.firstNodeX; }
};

Geometry GeometryOf(Point sheet) {
  Geometry g;
  g.sheet = sheet;
  ProfileSheetFrame& f = g.frame;
  f.frameLeft = kMargin;
  f.frameBottom = kMargin;
  f.frameRight = g.sheet.x - kMargin;
  f.frameTop = g.sheet.y - kMargin;
  f.tableBottom = f.frameBottom + kTitleStrip;
  f.tableTop = f.tableBottom + TableHeight();
  f.captionRight = f.frameLeft + kCaptionWidth;
  f.firstNodeX = f.captionRight + kLeadIn;
  f.profileTop = f.frameTop - kHeadroom;
  return g;
}

// The levels a run of segments [first, last) spans, nodes included.
struct Span {
  double low = 0.0, high = 0.0;
};
Span LevelSpan(const ProfilePath& path, int first, int last) {
  Span s{path.nodes[first].ground, path.nodes[first].ground};
  auto take = [&](double v) {
    s.low = std::min(s.low, v);
    s.high = std::max(s.high, v);
  };
  for (int k = first; k < last; ++k) {
    const ProfileSegment& seg = path.segments[k];
    for (double v : {seg.invertUp, seg.invertDown, seg.crownUp, seg.crownDown, seg.waterUp, seg.waterDown}) take(v);
    take(path.nodes[k + 1].ground);
  }
  return s;
}

double DatumOf(const Span& span) { return std::floor(span.low - kBelowLowest); }

class SheetBuilder {
 public:
  SheetBuilder(const ProfilePath& path, const ProfileOptions& options, const Geometry& g, int first, int last,
               int sheetIndex, int sheetCount)
      : path_(path), options_(options), g_(g), first_(first), last_(last), index_(sheetIndex), count_(sheetCount) {
    datum_ = DatumOf(LevelSpan(path, first, last));
    sheet_.width = g.sheet.x;
    sheet_.height = g.sheet.y;
    // Model space: station 0 at x 0, level 0 at y 0, so that CAD reads
    // stations in metres and levels times the exaggeration.
    sheet_.modelScale = options.horizontal / 1000.0;
    sheet_.modelOrigin = {X(0.0), Y(0.0)};
  }

  Sheet build(ProfileSheetInfo& info) {
    frame();
    profile();
    ruler();
    table();
    titleBlock();
    info.firstNode = first_;
    info.lastNode = last_;
    info.datum = datum_;
    info.frame = g_.frame;
    return std::move(sheet_);
  }

 private:
  double X(double station) const {
    return g_.frame.firstNodeX + (station - path_.nodes[first_].station) * 1000.0 / options_.horizontal;
  }
  double Y(double level) const { return g_.frame.tableTop + (level - datum_) * 1000.0 / options_.vertical; }
  double NodeX(int n) const { return X(path_.nodes[n].station); }

  void line(Point a, Point b, const char* layerName, LineType type = LineType::Continuous) {
    sheet_.lines.push_back({a, b, layerName, type});
  }
  void text(Point at, double height, std::string s, HAlign h, VAlign v, const char* layerName,
            double rotation = 0.0) {
    if (s.empty()) return;
    sheet_.texts.push_back({at, height, std::move(s), h, v, rotation, layerName});
  }

  void frame() {
    const ProfileSheetFrame& f = g_.frame;
    sheet_.polylines.push_back(
        {{{f.frameLeft, f.frameBottom}, {f.frameRight, f.frameBottom}, {f.frameRight, f.frameTop}, {f.frameLeft, f.frameTop}},
         layer::kTable,
         LineType::Continuous,
         true});
  }

  // The lowest invert at a node among the path's pipes meeting there.
  double NodeBottom(int n) const {
    double bottom = path_.nodes[n].ground;
    if (n > 0) bottom = std::min(bottom, path_.segments[n - 1].invertDown);
    if (n < static_cast<int>(path_.segments.size())) bottom = std::min(bottom, path_.segments[n].invertUp);
    return bottom;
  }

  void profile() {
    Polyline ground{{}, layer::kGround, LineType::Continuous, false};
    for (int n = first_; n <= last_; ++n) ground.points.push_back({NodeX(n), Y(path_.nodes[n].ground)});
    sheet_.polylines.push_back(std::move(ground));

    for (int k = first_; k < last_; ++k) {
      const ProfileSegment& s = path_.segments[k];
      const double xa = NodeX(k), xb = NodeX(k + 1);
      line({xa, Y(s.invertUp)}, {xb, Y(s.invertDown)}, layer::kPipe);
      line({xa, Y(s.crownUp)}, {xb, Y(s.crownDown)}, layer::kPipe);
      if (s.waterUp > s.invertUp || s.waterDown > s.invertDown)
        line({xa, Y(s.waterUp)}, {xb, Y(s.waterDown)}, layer::kWater, LineType::Dashed);
    }

    for (int n = first_; n <= last_; ++n) {
      const double x = NodeX(n);
      const double top = Y(path_.nodes[n].ground);
      const double bottom = Y(NodeBottom(n));
      line({x, top}, {x, bottom}, layer::kManhole);
      // A thin guide from the manhole's bottom down to the table.
      line({x, bottom}, {x, g_.frame.tableTop}, layer::kTable);
      text({x, top + 2.0}, kNameHeight, path_.nodes[n].name, HAlign::Center, VAlign::Bottom, layer::kText);
      if (n > 0 && n < static_cast<int>(path_.segments.size())) {
        const double drop = path_.segments[n].drop;
        if (std::abs(drop) >= 0.0005)
          text({x + 1.0, Y(path_.segments[n].invertUp) - 1.0}, kNoteHeight, "段差 " + Level(drop), HAlign::Left,
               VAlign::Top, layer::kText);
      }
    }
  }

  // Whole metres up the caption column; the datum line labelled "DL=".
  void ruler() {
    const ProfileSheetFrame& f = g_.frame;
    const double x = f.captionRight;
    // Up to a metre above the highest level drawn, within the profile's room.
    const int room = static_cast<int>(std::floor(datum_ + (f.profileTop - f.tableTop) * options_.vertical / 1000.0));
    const int top = std::min(room, static_cast<int>(std::ceil(LevelSpan(path_, first_, last_).high)) + 1);
    line({x, f.tableTop}, {x, Y(top)}, layer::kTable);
    for (int m = static_cast<int>(datum_); m <= top; ++m) {
      const double y = Y(m);
      line({x - 1.5, y}, {x, y}, layer::kTable);
      const std::string label = m == static_cast<int>(datum_) ? "DL=" + Level(datum_) : FormatNumber(m, "0.0");
      text({x - 2.5, y}, kNoteHeight, label, HAlign::Right, m == static_cast<int>(datum_) ? VAlign::Bottom : VAlign::Middle,
           layer::kTable);
    }
  }

  void nodeValue(int n, double centreY, const std::string& value, double dx = 0.0) {
    text({NodeX(n) + dx, centreY}, kValueHeight, value, HAlign::Center, VAlign::Middle, layer::kTable, 90.0);
  }
  // A name reads across when it fits between its neighbours, upwards otherwise.
  void nodeName(int n, double centreY, double rowHeight) {
    const std::string& name = path_.nodes[n].name;
    double room = rowHeight;
    if (n > first_) room = std::min(room, NodeX(n) - NodeX(n - 1));
    if (n < last_) room = std::min(room, NodeX(n + 1) - NodeX(n));
    if (TextWidth(name, kValueHeight) <= room - 2.0)
      text({NodeX(n), centreY}, kValueHeight, name, HAlign::Center, VAlign::Middle, layer::kTable);
    else
      nodeValue(n, centreY, name);
  }
  // Two values at a manhole where they differ (the pipe in on the left, the
  // pipe out on the right), one where they agree or only one pipe meets it.
  void nodePair(int n, double centreY, std::optional<double> in, std::optional<double> out) {
    const std::string a = in ? Level(*in) : std::string();
    const std::string b = out ? Level(*out) : std::string();
    if (!a.empty() && !b.empty() && a != b) {
      nodeValue(n, centreY, a, -1.6);
      nodeValue(n, centreY, b, 1.6);
    } else {
      nodeValue(n, centreY, a.empty() ? b : a);
    }
  }
  void segmentValue(int k, double centreY, const std::string& value) {
    const double xa = NodeX(k), xb = NodeX(k + 1);
    text({(xa + xb) / 2.0, centreY}, FitHeight(value, xb - xa - 1.0, kValueHeight), value, HAlign::Center,
         VAlign::Middle, layer::kTable);
  }

  void table() {
    const ProfileSheetFrame& f = g_.frame;
    const int segments = static_cast<int>(path_.segments.size());
    double top = f.tableTop;
    line({f.frameLeft, top}, {f.frameRight, top}, layer::kTable);
    for (const RowSpec& r : kRows) {
      const double bottom = top - r.height;
      const double mid = (top + bottom) / 2.0;
      line({f.frameLeft, bottom}, {f.frameRight, bottom}, layer::kTable);
      text({f.frameLeft + kCaptionWidth / 2.0, mid}, FitHeight(r.caption, kCaptionWidth - 2.0, kCaptionHeight),
           r.caption, HAlign::Center, VAlign::Middle, layer::kTable);
      const bool perSegment = r.row == Row::Length || r.row == Row::Facility || r.row == Row::Slope;
      if (perSegment) {
        for (int n = first_; n <= last_; ++n) line({NodeX(n), top}, {NodeX(n), bottom}, layer::kTable);
        for (int k = first_; k < last_; ++k) {
          const ProfileSegment& s = path_.segments[k];
          if (r.row == Row::Length) segmentValue(k, mid, Length(s.L));
          if (r.row == Row::Facility) segmentValue(k, mid, s.facility);
          if (r.row == Row::Slope) segmentValue(k, mid, FormatNumber(s.slope, "0.0##") + "‰");
        }
      } else {
        for (int n = first_; n <= last_; ++n) {
          const ProfileNode& node = path_.nodes[n];
          const ProfileSegment* in = n > 0 ? &path_.segments[n - 1] : nullptr;
          const ProfileSegment* out = n < segments ? &path_.segments[n] : nullptr;
          auto opt = [](const ProfileSegment* s, double ProfileSegment::*m) {
            return s ? std::optional<double>(s->*m) : std::nullopt;
          };
          switch (r.row) {
            case Row::Node: nodeName(n, mid, r.height); break;
            case Row::Station: nodeValue(n, mid, Length(node.station)); break;
            case Row::Ground: nodeValue(n, mid, Level(node.ground)); break;
            case Row::Invert:
              nodePair(n, mid, opt(in, &ProfileSegment::invertDown), opt(out, &ProfileSegment::invertUp));
              break;
            case Row::Cover:
              nodePair(n, mid, opt(in, &ProfileSegment::coverDown), opt(out, &ProfileSegment::coverUp));
              break;
            case Row::Drop:
              if (in && out) nodeValue(n, mid, Level(out->drop));
              break;
            default: break;
          }
        }
      }
      top = bottom;
    }
    line({f.captionRight, f.tableBottom}, {f.captionRight, f.tableTop}, layer::kTable);
  }

  void titleBlock() {
    const ProfileSheetFrame& f = g_.frame;
    // The scale bar: a round length of at most 100 mm, in five parts.
    double barLength = 10.0;
    for (double m : {20.0, 50.0, 100.0, 200.0})
      if (m * 1000.0 / options_.horizontal <= 100.0) barLength = m;
    const double x0 = f.frameLeft + 8.0, y0 = f.frameBottom + 7.0;
    const double mm = barLength * 1000.0 / options_.horizontal;
    line({x0, y0}, {x0 + mm, y0}, layer::kTable);
    for (int i = 0; i <= 5; ++i) {
      const double x = x0 + mm * i / 5.0;
      line({x, y0}, {x, y0 + 1.5}, layer::kTable);
      std::string label = FormatNumber(barLength * i / 5.0, "0");
      if (i == 5) label += " m";
      text({x, y0 - 1.0}, kNoteHeight, label, HAlign::Center, VAlign::Top, layer::kText);
    }
    const std::string scales = "横 " + Scale(options_.horizontal) + "　縦 " + Scale(options_.vertical);
    text({x0, y0 + 4.0}, kValueHeight, "縮尺 " + scales, HAlign::Left, VAlign::Bottom, layer::kText);

    // The title block: two rows of three label/value pairs.
    constexpr double kLabel = 16.0;
    constexpr double kValues[] = {110.0, 58.0, 44.0};
    const double width = 3 * kLabel + kValues[0] + kValues[1] + kValues[2];
    const double left = f.frameRight - width;
    const double bottom = f.frameBottom, mid = f.frameBottom + kTitleStrip / 2.0, top = f.tableBottom;
    line({left, bottom}, {left, top}, layer::kTable);
    line({left, mid}, {f.frameRight, mid}, layer::kTable);
    const std::string& head = path_.nodes.front().name;
    const std::string& outlet = path_.nodes.back().name;
    const std::string cells[2][3][2] = {
        {{"件名", path_.title},
         {"縮尺", scales},
         {"縦横比", "縦 " + Exaggeration(options_.horizontal, options_.vertical) + " 倍"}},
        {{"区間", "縦断図　" + head + " → " + outlet},
         {"日付", options_.date},
         {"図面", std::to_string(index_ + 1) + " / " + std::to_string(count_)}},
    };
    for (int row = 0; row < 2; ++row) {
      const double yTop = row == 0 ? top : mid, yBottom = row == 0 ? mid : bottom;
      const double y = (yTop + yBottom) / 2.0;
      double x = left;
      for (int c = 0; c < 3; ++c) {
        if (c > 0) line({x, yBottom}, {x, yTop}, layer::kTable);
        const std::string& label = cells[row][c][0];
        const std::string& value = cells[row][c][1];
        text({x + kLabel / 2.0, y}, FitHeight(label, kLabel - 2.0, kCaptionHeight), label, HAlign::Center,
             VAlign::Middle, layer::kText);
        x += kLabel;
        line({x, yBottom}, {x, yTop}, layer::kTable);
        text({x + 2.0, y}, FitHeight(value, kValues[c] - 4.0, kCaptionHeight), value, HAlign::Left, VAlign::Middle,
             layer::kText);
        x += kValues[c];
      }
    }
  }

  const ProfilePath& path_;
  const ProfileOptions& options_;
  const Geometry& g_;
  int first_, last_, index_, count_;
  double datum_ = 0.0;
  Sheet sheet_;
};

}  // namespace

const std::vector<int>& HorizontalScales() {
  static const std::vector<int> kScales = {250, 500, 1000};
  return kScales;
}
const std::vector<int>& VerticalScales() {
  static const std::vector<int> kScales = {50, 100, 200};
  return kScales;
}

Point SheetSizeMm(SheetSize size) { return size == SheetSize::A4 ? Point{297.0, 210.0} : Point{420.0, 297.0}; }

const std::vector<std::string>& ProfileTableRows() {
  static const std::vector<std::string> kCaptions = [] {
    std::vector<std::string> c;
    for (const RowSpec& r : kRows) c.push_back(r.caption);
    return c;
  }();
  return kCaptions;
}

ProfileDrawing DrawProfile(const ProfilePath& path, const ProfileOptions& options) {
  ProfileDrawing out;
  const int segments = static_cast<int>(path.segments.size());
  if (segments == 0 || path.nodes.size() != path.segments.size() + 1) {
    out.refusal = "縦断図に描く区間がありません。";
    return out;
  }
  if (options.horizontal <= 0 || options.vertical <= 0) {
    out.refusal = "縦断図の縮尺が正しくありません。";
    return out;
  }
  for (int k = 0; k < segments; ++k) {
    const ProfileSegment& s = path.segments[k];
    bool finite = Finite(path.nodes[k].ground) && Finite(path.nodes[k].station) && Finite(path.nodes[k + 1].ground) &&
                  Finite(path.nodes[k + 1].station);
    for (double v : {s.L, s.invertUp, s.invertDown, s.crownUp, s.crownDown, s.waterUp, s.waterDown, s.coverUp,
                     s.coverDown, s.slope, s.drop})
      finite = finite && Finite(v);
    if (!finite) {
      out.refusal = "路線番号「" + s.name + "」の高さが計算できていないため、縦断図を描けません。";
      return out;
    }
  }

  // Sheets, greedily: each takes as many segments as fit its width and height.
  const Geometry g = GeometryOf(options.sheet);
  if (!(g.widthAvailable() > 0.0) || !(g.heightAvailable() > 0.0)) {
    out.refusal = "用紙が小さすぎて縦断図を描けません。";
    return out;
  }
  auto fitsWidth = [&](int first, int last) {
    return (path.nodes[last].station - path.nodes[first].station) * 1000.0 / options.horizontal <=
           g.widthAvailable() + 1e-9;
  };
  auto fitsHeight = [&](int first, int last) {
    const Span span = LevelSpan(path, first, last);
    return (span.high - DatumOf(span)) * 1000.0 / options.vertical <= g.heightAvailable() + 1e-9;
  };
  std::vector<std::pair<int, int>> runs;
  for (int first = 0; first < segments;) {
    const std::string& name = path.segments[first].name;
    if (!fitsWidth(first, first + 1)) {
      out.refusal = "路線番号「" + name + "」（延長 " + Length(path.segments[first].L) + " m）は横 " +
                    Scale(options.horizontal) + " では一枚の用紙に入りません。横の縮尺を小さくするか、大きな用紙を選んでください。";
      return out;
    }
    if (!fitsHeight(first, first + 1)) {
      out.refusal = "路線番号「" + name + "」の高低差は縦 " + Scale(options.vertical) +
                    " では一枚の用紙に入りません。縦の縮尺を小さくするか、大きな用紙を選んでください。";
      return out;
    }
    int last = first + 1;
    while (last < segments && fitsWidth(first, last + 1) && fitsHeight(first, last + 1)) ++last;
    runs.emplace_back(first, last);
    first = last;
  }

  const int count = static_cast<int>(runs.size());
  for (int i = 0; i < count; ++i) {
    ProfileSheetInfo info;
    SheetBuilder builder(path, options, g, runs[i].first, runs[i].second, i, count);
    out.sheets.push_back(builder.build(info));
    out.info.push_back(info);
  }
  return out;
}

}  // namespace mk::drawing
