// Section "○ 計画汚水量": the planned sewage flow Q12, calculated from the
// sewage screen's population / area inputs or typed on the main screen,
// with or without the groundwater factor.
//
// Q12 is always the check run's value; the sub-totals and the factor are
// the report's own display quantities.  Some result lines say "Q1=" and one
// writes " = " and "m3 / sec": that is the sheet's fixed wording.

#include "report/report_lines.h"

namespace mk::report {
namespace {

const std::string k19 = Blanks(19);

Lines Legend(int indent, std::initializer_list<const char*> texts) {
  Lines lines;
  for (const char* text : texts) lines.push_back(Blanks(indent) + text);
  return lines;
}

void Append(Lines& out, const Lines& more) { out.insert(out.end(), more.begin(), more.end()); }

}  // namespace

void AppendSewage(const ProjectRecord& record, Lines& out) {
  const MainScreenInputs& m = record.main;
  const SewageFlowInput& f28 = record.sewage;
  const SewageNumbers& s = record.derived.sewage;
  const double Q12 = record.run.Q12;
  const double W = ParseLeadingNumber(m.txt2);
  const std::string factor = Fmt((100.0 + W) / 100.0, "0.0#");
  const std::string q12 = Fmt(Q12, "0.0000");

  const std::string pop = Fmt(s.P, "0.0#");
  const std::string q1 = Fmt(s.q1, "0");
  const std::string q2 = Fmt(s.q2, "0.000#");
  const std::string haArea = Fmt(s.A * 1e-4, "0.000");
  const std::string popPart = Fmt(s.P * s.q1 / 86400000.0, "0.00000");
  const std::string areaPart = Fmt(s.A * 1e-4 * s.q2, "0.00000");
  const std::string popLine = k19 + "・計画人口  P=" + pop + "人";
  const std::string areaLine = k19 + "・排水面積  A=" + Fmt(s.A, "0.00") + "m2=" + haArea + "ha";

  out.emplace_back("                ○ 計画汚水量");
  out.emplace_back();

  if (m.opt7) {
    if (f28.opt1 && m.opt9) {
      out.emplace_back("                   Q12=P･q/(24×60×60×1000) ｜Q12：計画汚水量(m3/sec)");
      out.emplace_back("                      =P･q/864×10^5          ｜  P：計画人口（人）");
      out.emplace_back(Blanks(46) + "｜  q：計画時間最大汚水量(1人1日当り)(㍑/人/日)");
      out.emplace_back();
      out.push_back(popLine);
      out.emplace_back();
      out.push_back(k19 + "・計画時間最大汚水量(１人１日当り) q=" + q1 + "㍑/人/日");
      out.emplace_back();
      out.push_back(k19 + "計画汚水量 Q1=" + pop + "×" + q1 + "/864×10^5=" + q12 + "m3/sec");
    } else if (f28.opt1 && m.opt10) {
      out.emplace_back("                   Q12={P･q/(24×60×60×1000)}･W");
      out.emplace_back("                      =(P･q/864×10^5)･W");
      Append(out, Legend(46, {"｜Q12：計画汚水量(m3/sec)", "｜  P：計画人口（人）",
                              "｜  q：計画時間最大汚水量(1人1日当り)(㍑/人/日)", "｜  W：地下水混入率"}));
      out.emplace_back();
      out.push_back(popLine);
      out.emplace_back();
      out.push_back(k19 + "・計画時間最大汚水量(１人１日当り) q=" + q1 + "㍑/人/日");
      out.emplace_back();
      out.push_back(k19 + "計画汚水量 Q1=(" + pop + "×" + q1 + "/864×10^5)×" + factor + "=" + q12 + "m3/sec");
    } else if (f28.opt2 && (m.opt9 || m.opt10)) {
      const bool withW = !m.opt9;
      if (withW) {
        out.emplace_back("                   Q12={P･q1/(24×60×60×1000)＋q2･A}･W");
        out.emplace_back("                      =(P･q1/864×10^5＋q2･A)･W");
      } else {
        out.emplace_back("                   Q12=P･q1/(24×60×60×1000)＋q2･A");
        out.emplace_back("                      =P･q1/864×10^5＋q2･A");
      }
      Append(out, Legend(withW ? 47 : 46,
                         {"｜Q12：計画汚水量(m3/sec)", "｜  P：計画人口（人）",
                          "｜ q1：計画時間最大汚水量(1人1日当り)(㍑/人/日)",
                          "｜ q2：計画時間最大汚水量(1ha当り)(m3/sec･ha)", "｜  A：排水面積（ha）"}));
      if (withW) out.emplace_back(Blanks(47) + "｜  W：地下水混入率");
      out.emplace_back();
      out.push_back(popLine);
      out.emplace_back();
      out.push_back(k19 + "・計画時間最大汚水量(１人１日当り) q1=" + q1 + "㍑/人/日");
      out.emplace_back();
      if (withW) {
        out.push_back(k19 + "・計画時間最大汚水量(１ha当り) q=" + q2 + "m3/sec･ha");
      } else {
        out.push_back(k19 + "・計画時間最大汚水量  (１ha当り)   q2=" + q2 + "m3/sec･ha");
      }
      out.emplace_back();
      out.push_back(areaLine);
      out.emplace_back();
      if (withW) {
        out.push_back(k19 + "計画汚水量 Q1={(" + pop + "×" + q1 + "/864×10^5)＋(" + q2 + "×" + haArea + ")}×" + factor);
        out.push_back(Blanks(31) + "=(" + popPart + "＋" + areaPart + ")×" + factor + " = " + q12 + "m3 / sec");
      } else {
        out.push_back(k19 + "計画汚水量 Q1=(" + pop + "×" + q1 + "/864×10^5)＋(" + q2 + "×" + haArea + ")");
        out.push_back(Blanks(31) + "=" + popPart + "＋" + areaPart + "=" + q12 + "m3/sec");
      }
    } else if (f28.opt3 && (m.opt9 || m.opt10)) {
      const bool withW = !m.opt9;
      out.emplace_back(withW ? "                   Q12=q･A･W     ｜Q12：計画汚水量(m3/sec)"
                             : "                   Q12=q･A       ｜Q12：計画汚水量(m3/sec)");
      out.emplace_back("                                 ｜  q：計画時間最大汚水量(1ha当り)(m3/sec･ha)");
      out.emplace_back("                                 ｜  A：排水面積（ha）");
      if (withW) out.emplace_back("                                 ｜  W：地下水混入率");
      out.emplace_back();
      out.push_back(k19 + "・計画時間最大汚水量(１ha当り) q=" + q2 + "m3/sec･ha");
      out.emplace_back();
      out.push_back(areaLine);
      out.emplace_back();
      std::string line = k19 + "計画汚水量 Q1=" + q2 + "×" + haArea;
      if (withW) line += "×" + factor;
      out.push_back(line + "=" + q12 + "m3/sec");
    }
  } else if (m.opt8) {
    if (m.opt9) {
      out.push_back(k19 + "計画汚水量 Q12=" + q12 + "m3/sec");
    } else if (m.opt10) {
      out.push_back(k19 + "計画汚水量 Q12=" + Fmt(ParseLeadingNumber(m.txt3), "0.0000") + "×" + factor + "=" + q12 +
                    "m3/sec");
    }
  }
}

}  // namespace mk::report
