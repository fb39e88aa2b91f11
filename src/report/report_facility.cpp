// The two facility blocks of the report: the upstream conduit whose velocity
// gives the flow time t2 (inside the stormwater section), and the facility
// under check with Q2 and the verdict (the last section).
//
// Both print the section and velocity numbers the calculation stored in the
// record; the composer adds only display quantities: sizes in millimetres,
// r = code × 0.1, 1/n, R^(2/3), I^(1/2), the trapezoid's surface width and
// side lengths, Q1 and the surcharge factor.  An undefined quantity (n = 0,
// a root of a negative number) prints as an empty number, never as "nan".

#include <cmath>

#include "report/report_lines.h"

namespace mk::report {

namespace {

struct DepthRow {
  double code;
  const char* label;
  const char* cA;  // circular factors as printed; nullptr for none
  const char* cP;
};

// Effective depth settings: heading wording and the partial-depth factors
// a circular section prints.
constexpr DepthRow kDepthRows[] = {
    {10.0, "満流", "0.7853", "3.1415"},
    {9.5, "水深９.５割", "0.7707", "2.6905"},
    {9.0, "水深９割", "0.7445", "2.4980"},
    {8.5, "水深８.５割", "0.7115", "2.3461"},
    {8.0, "水深８割", "0.6735", "2.2142"},
    {7.5, "水深７.５割", "0.6318", "2.0943"},
    {7.0, "水深７割", "0.5872", "1.9823"},
    {95.0, "水深９５％", "0.7461", "2.4980"},
    {90.0, "水量９０％", "0.7068", "2.3282"},
    {85.0, "水深８５％", "0.6675", "2.1958"},
    {80.0, "水量８０％", "0.6283", "2.0858"},
    {75.0, "水深７５％", "0.5890", "1.9866"},
    {70.0, "水量７０％", "0.5497", "1.8962"},
};

const DepthRow* FindDepthRow(double code) {
  for (const DepthRow& row : kDepthRows) {
    if (SameValue(row.code, code)) return &row;
  }
  return nullptr;
}

const std::string k19 = Blanks(19);
const std::string k20 = Blanks(20);
const std::string k21 = Blanks(21);

// The numbers one facility block prints.
struct BlockValues {
  const FacilitySection* section = nullptr;
  const CapacityResult* capacity = nullptr;
  double slopePerMille = 0.0;  // Ipm
  double n = 0.0;
  double V = 0.0;
  bool manning = false;
  bool kutter = false;

  double Is() const { return slopePerMille / 1000.0; }
  double r() const { return section->depthCode * 0.1; }
};

std::string SlopePart(double Ipm) {
  return "    勾配 I=" + Fmt(Ipm, "#0.0") + "‰=" + Fmt(Ipm, "#0.0") + "/1000";
}

std::string Millimetres(double metres) { return Fmt(metres * 1000.0, "####"); }

// "  W 1200～4800 × H 1100" of a ditch.
std::string DitchSize(const FacilitySection& s) {
  std::string text = "  W " + Millimetres(s.b1);
  if (!SameValue(s.b1, s.b2)) text += "～" + Millimetres(s.b2);
  return text + " × H " + Millimetres(s.h);
}

std::string Formula(const BlockValues& v) { return v.manning ? "マニング公式" : "クッター公式"; }

// "（水深９割、マニング公式による）"; nothing without a formula or for a
// depth code the table does not know.
void AppendHeading(const BlockValues& v, int indent, bool withLabel, Lines& out) {
  if (!v.manning && !v.kutter) return;
  if (!withLabel) {
    out.push_back(Blanks(indent) + "（" + Formula(v) + "による）");
    return;
  }
  const std::string label = DepthLabel(v.section->depthCode);
  if (label.empty()) return;
  out.push_back(Blanks(indent) + "（" + label + "、" + Formula(v) + "による）");
}

void AppendCircular(const BlockValues& v, Lines& out) {
  std::string cA;
  std::string cP;
  if (!CircularFactorTexts(v.section->depthCode, cA, cP)) return;
  const std::string D = Fmt(v.section->D, "0.0000");
  const SectionGeometry& g = v.section->geometry;
  out.push_back(k20 + "・流水の断面積 A=" + cA + "･D^2=" + cA + "×" + D + "^2=" + Fmt(g.A, "0.0000") + "m2");
  out.push_back(k20 + "・流水の潤辺長 P=" + cP + "･D=" + cP + "×" + D + "=" + Fmt(g.P, "0.0000") + "m");
}

void AppendRectangleArea(const BlockValues& v, double W, double Hh, Lines& out) {
  out.push_back(k20 + "・流水の断面積 A=" + Fmt(W, "0.00#") + "×(" + Fmt(Hh, "0.00#") + "×" + Fmt(v.r(), "0.00#") +
                ")=" + Fmt(v.section->geometry.A, "0.0000") + "m2");
}

void AppendOpenRectanglePerimeter(const BlockValues& v, double W, double Hh, Lines& out) {
  out.push_back(k20 + "・流水の潤辺長 P=" + Fmt(W, "0.00#") + "＋{(" + Fmt(Hh, "0.00#") + "×" + Fmt(v.r(), "0.00#") +
                ")×2}=" + Fmt(v.section->geometry.P, "0.0000") + "m");
}

void AppendTrapezoid(const BlockValues& v, Lines& out) {
  const FacilitySection& s = *v.section;
  const double r = v.r();
  const double otherRun = s.b2 - s.b1 - s.b3;
  const double Wt = s.b1 + s.b3 * r + otherRun * r;
  const double s1 = std::sqrt(s.b3 * s.b3 + s.h * s.h);
  const double s2 = std::sqrt(otherRun * otherRun + s.h * s.h);
  out.push_back(k20 + "・流水の断面積 A=(" + Fmt(s.b1, "0.00#") + "＋" + Fmt(Wt, "0.00##") + ")×(" + Fmt(s.h, "0.00#") +
                "×" + Fmt(r, "0.00#") + ")×1/2=" + Fmt(s.geometry.A, "0.0000") + "m2");
  // The perimeter line keeps its closing bracket after r, as the sheet has it.
  out.push_back(k20 + "・流水の潤辺長 P=" + Fmt(s.b1, "0.00#") + "＋(" + Fmt(s1, "0.00##") + "＋" + Fmt(s2, "0.00##") +
                ")×" + Fmt(r, "0.00#") + ")=" + Fmt(s.geometry.P, "0.0000") + "m");
}

std::string RLine(const BlockValues& v, const char* prefix) {
  const SectionGeometry& g = v.section->geometry;
  return k20 + prefix + Fmt(g.A, "0.0000") + "/" + Fmt(g.P, "0.0000") + "=" + Fmt(v.capacity->R, "0.0000") + "m";
}

// The substituted Manning lines: "V=1/n×R^(2/3)×I^(1/2)" and its factors.
void AppendManning(const BlockValues& v, const std::string& first, int secondIndent, Lines& out) {
  const double R = v.capacity->R;
  out.emplace_back();
  out.push_back(first + Fmt(v.n, "0.000") + "×" + Fmt(R, "0.0000") + "^(2/3)×" + Fmt(v.Is(), "0.0000") + "^(1/2)");
  out.push_back(Blanks(secondIndent) + "=" + Fmt(1.0 / v.n, "0.000") + "×" + Fmt(std::pow(R, 2.0 / 3.0), "0.0000") + "×" +
                Fmt(std::sqrt(v.Is()), "0.0000") + "=" + Fmt(v.V, "0.0000") + "m/sec");
  out.emplace_back();
}

struct KutterLayout {
  const char* numerator;  // up to "23＋(1/"
  const char* bar;        // up to "×("
  int denominatorIndent;
  int resultIndent;
};

void AppendKutter(const BlockValues& v, const KutterLayout& layout, Lines& out) {
  const CapacityResult& c = *v.capacity;
  const std::string n = Fmt(v.n, "0.000");
  const std::string Is = Fmt(v.Is(), "0.0000");
  const std::string R = Fmt(c.R, "0.0000");
  out.emplace_back();
  out.push_back(layout.numerator + n + ")＋(0.00155/" + Is + ")");
  out.push_back(layout.bar + R + "×" + Is + ")^(1/2)");
  out.push_back(Blanks(layout.denominatorIndent) + "1＋{23＋(0.00155/" + Is + ")}×{" + n + "/" + R + "^(1/2)}");
  out.push_back(Blanks(layout.resultIndent) + "=(" + Fmt(c.kutterNumerator, "0.0000") + "/" +
                Fmt(c.kutterDenominator, "0.0000") + ")×" + Fmt(c.kutterRootRI, "0.0000") + "=" + Fmt(v.V, "0.0000") +
                "m/sec");
  out.emplace_back();
}

void AppendVerdict(const ProjectRecord& record, VerdictInfo& info, Lines& out) {
  const MainScreenInputs& m = record.main;
  const double Q1 = record.run.Q11 + record.run.Q12;
  const double Q2 = record.run.Q2;
  std::string prefix;
  double compared = Q1;
  const char* rule = nullptr;
  if (m.opt11) {
    prefix = "Q1=";
    rule = "                  ――――――――――――――――――――――――";
  } else if (m.opt12) {
    const double f = (100.0 + ParseLeadingNumber(m.txt1)) / 100.0;
    compared = Q1 * f;
    prefix = Fmt(f, "0.0#") + "×Q1=";
    rule = "                  ―――――――――――――――――――――――――――";
  } else {
    return;
  }
  // Equality passes; a number that cannot be compared (NaN) does not.
  const bool ok = compared <= Q2;
  std::string line = k19 + prefix + Fmt(compared, "0.0000") + (ok ? "m3/sec  <  Q2=" : "m3/sec  >  Q2=") +
                     Fmt(Q2, "0.0000") + (ok ? "m3/sec  　∴ O.K" : "m3/sec    ∴ NO");
  info.written = true;
  info.isNo = !ok;
  info.lineIndex = static_cast<int>(out.size());
  out.push_back(std::move(line));
  out.emplace_back(rule);
}

}  // namespace

std::string DepthLabel(double code) {
  const DepthRow* row = FindDepthRow(code);
  return row ? row->label : std::string();
}

bool CircularFactorTexts(double code, std::string& cA, std::string& cP) {
  const DepthRow* row = FindDepthRow(code);
  if (!row) return false;
  cA = row->cA;
  cP = row->cP;
  return true;
}

bool SameValue(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(a)); }

void AppendFlowTimeFacilityBlock(const ProjectRecord& record, Lines& out) {
  const FlowTimeFacilityInputs& f17 = record.flowTime;
  const DerivedValues& d = record.derived;
  BlockValues v;
  v.section = &d.flowTimeSection;
  v.capacity = &d.flowTimeCapacity;
  v.slopePerMille = d.flowTimeSlope;
  v.n = d.flowTimeRoughness;
  v.V = d.flowTimeCapacity.V;
  v.manning = f17.opt1;
  v.kutter = !f17.opt1 && f17.opt2;
  const FacilitySection& s = d.flowTimeSection;
  const int kind = f17.lst_s;
  const bool ditchIsRectangle = kind == 6 && SameValue(s.b1, s.b2);

  out.emplace_back("                   ・流下時間 t2=L/60V(min)     ｜ L：管渠延長(m)     V：流速(m/sec)");
  out.emplace_back();

  // Facility line.
  const std::string slope = SlopePart(v.slopePerMille);
  switch (kind) {
    case 0: case 1: case 2: case 3: case 5:
      out.push_back(k21 + "流入施設  " + s.name + slope);
      break;
    case 4:
      out.push_back(k19 + "※ 施設  " + s.name + " φ" + Millimetres(s.D) + slope);
      break;
    case 6:
      out.push_back(k21 + "流入施設  " + s.name + DitchSize(s) + slope);
      break;
    case 7:
      out.push_back(k19 + "※ 施設  " + s.name + DitchSize(s) + slope);
      break;
    default:
      break;
  }
  out.emplace_back();

  // Heading and the formula legend.
  if (kind == 7) {
    AppendHeading(v, 18, false, out);
  } else {
    AppendHeading(v, 20, true, out);
  }
  if (v.manning) {
    out.emplace_back();
    out.emplace_back("                      V=1/n･R^(2/3)･I^(1/2)     ｜V：流速(m/sec)");
    out.emplace_back("                                                ｜n：粗度係数     R：径深(m)    I：勾配");
    out.emplace_back();
  } else if (v.kutter) {
    out.emplace_back();
    out.emplace_back("                              23＋(1/n)＋(0.00155/I)");
    out.emplace_back("                      V=―――――――――――――――――･(R･I)^(1/2)  ｜V：流速(m/sec)");
    out.emplace_back("                         1＋{23＋(0.00155/I)}･{n/R^(1/2)}               ｜n：粗度係数");
    out.emplace_back("                                                                      　｜R：径深(m)");
    out.emplace_back("                                                                      　｜I：勾配");
  }

  out.emplace_back();
  out.push_back(k20 + "・粗 度 係 数  n=" + Fmt(v.n, "0.000"));

  // Section lines by kind.
  switch (kind) {
    case 0: case 1: case 2: case 3: case 4:
      AppendCircular(v, out);
      break;
    case 5:
      AppendRectangleArea(v, s.B, s.H, out);
      AppendOpenRectanglePerimeter(v, s.B, s.H, out);
      break;
    case 6:
      if (!ditchIsRectangle) {
        AppendTrapezoid(v, out);
      } else if (SameValue(s.b3, 0.0)) {
        AppendRectangleArea(v, s.b1, s.h, out);
        AppendOpenRectanglePerimeter(v, s.b1, s.h, out);
      }
      // A ditch with equal widths and a sloped side has no printed A and P.
      break;
    case 7:
      out.push_back(k20 + "・流水の断面積 A=" + Fmt(s.geometry.A, "0.0000") + "m2");
      out.push_back(k20 + "・流水の潤辺長 P=" + Fmt(s.geometry.P, "0.0000") + "m");
      break;
    default:
      break;
  }
  out.push_back(RLine(v, "・  径　　深   R=A/P="));

  if (v.manning) {
    AppendManning(v, Blanks(22) + "V=1/", 23, out);
  } else if (v.kutter) {
    AppendKutter(v,
                 {"                            　   23＋(1/",
                  "                      V=――――――――――――――――――――――――×(", 25, 23},
                 out);
  }

  const IntensityNumbers& in = d.intensity;
  out.push_back(k21 + "t2=L/60V=" + Fmt(in.L, "0.0#") + "/(60×" + Fmt(v.V, "0.0000") + ")=" + Fmt(in.t2, "0.0#") +
                "min");
  out.emplace_back();
}

VerdictInfo AppendFacilitySection(const ProjectRecord& record, Lines& out) {
  const MainScreenInputs& m = record.main;
  const DerivedValues& d = record.derived;
  BlockValues v;
  v.section = &d.mainSection;
  v.capacity = &d.mainCapacity;
  v.slopePerMille = d.main.x;
  v.n = d.main.n;
  v.V = record.run.V;
  v.manning = m.opt1;
  v.kutter = !m.opt1 && m.opt2;
  const FacilitySection& s = d.mainSection;
  const int kind = m.lst_s;

  out.emplace_back("                ◎ 排水施設の検討");
  out.emplace_back();

  const std::string slope = SlopePart(v.slopePerMille);
  switch (kind) {
    case 0: case 1: case 2: case 3:
      out.push_back(k19 + "※ 施設  " + s.name + slope);
      break;
    case 4:
      out.push_back(k19 + "※ 施設  " + s.name + " φ" + Millimetres(s.D) + slope);
      break;
    case 5:
      out.push_back(k19 + "※ 施設  " + s.name + " " + Millimetres(s.B) + "×" + Millimetres(s.H) + slope);
      break;
    default:
      break;
  }
  out.emplace_back();

  AppendHeading(v, 18, true, out);

  out.emplace_back();
  out.emplace_back("　　               Q2=A･V      ｜Q2：流量(m3/sec)");
  out.emplace_back("                               ｜ A：流水の断面積(m2)");
  out.emplace_back("                               ｜ V：流速(m/sec)");
  if (v.manning) {
    out.emplace_back();
    out.emplace_back("                    V=1/n･R^(2/3)･I^(1/2)      ｜n：粗度係数");
    out.emplace_back("                                               ｜R：径深(m)");
    out.emplace_back("                                               ｜I：勾配");
    out.emplace_back();
  } else if (v.kutter) {
    out.emplace_back();
    out.emplace_back("                            23＋(1/n)＋(0.00155/I)");
    out.emplace_back("                    V=―――――――――――――――――･(R･I)^(1/2)");
    out.emplace_back("                       1＋{23＋(0.00155/I)}･{n/R^(1/2)}");
    out.emplace_back("                                                             ｜n：粗度係数 ");
    out.emplace_back("                                                             ｜R：径深(m)");
    out.emplace_back("                                                             ｜I：勾配");
    out.emplace_back();
  }

  out.push_back(k20 + "・粗 度 係 数  n=" + Fmt(v.n, "0.000"));
  if (kind >= 0 && kind <= 4) {
    AppendCircular(v, out);
  } else if (kind == 5) {
    AppendRectangleArea(v, s.B, s.H, out);
    if (SameValue(s.depthCode, 10.0)) {
      // A closed pipe running full: the roof is wetted as well.
      out.push_back(k20 + "・流水の潤辺長 P={" + Fmt(s.B, "0.00#") + "＋(" + Fmt(s.H, "0.00#") + "×" +
                    Fmt(v.r(), "0.00#") + ")}×2=" + Fmt(s.geometry.P, "0.0000") + "m");
    } else {
      AppendOpenRectanglePerimeter(v, s.B, s.H, out);
    }
  }
  out.push_back(RLine(v, "・　径　　深   R=A/P="));

  if (v.manning) {
    AppendManning(v, k20 + "流 速 V=1/", 27, out);
  } else if (v.kutter) {
    AppendKutter(v,
                 {"                            　 23＋(1/",
                  "                流速V=――――――――――――――――――――――――×(", 23, 21},
                 out);
  }

  out.push_back(k19 + "流　量 Q2=A･V=" + Fmt(s.geometry.A, "0.0000") + "×" + Fmt(v.V, "0.0000") + "=" +
                Fmt(record.run.Q2, "0.0000") + "m3/sec");
  out.emplace_back();

  VerdictInfo info;
  AppendVerdict(record, info, out);
  return info;
}

}  // namespace mk::report
