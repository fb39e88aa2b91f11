// Section "○ 計画雨水量": catchment area, runoff coefficient (typed or the
// land-use table), time of concentration, rainfall intensity and Q11.
//
// C, A and I are read from the main screen's boxes exactly as the check run
// reads them, so the Q11 line shows the numbers that produced Q11.  The
// land-use rows, the intensity constants and the times are the numbers the
// sub-screens kept in the record when they last computed.

#include <cstddef>

#include "report/report_lines.h"

namespace mk::report {
namespace {

const std::string k19 = Blanks(19);
const std::string k21 = Blanks(21);

// Number of leading land-use rows with a non-zero area, or -1 when a row
// with an area follows an empty one (the rows then cannot be printed).
int LeadingLandUseRows(const RunoffNumbers& runoff) {
  int k = 0;
  while (k < 6 && runoff.A[static_cast<std::size_t>(k)] != 0.0) ++k;
  for (int j = k; j < 6; ++j) {
    if (runoff.A[static_cast<std::size_t>(j)] != 0.0) return -1;
  }
  return k;
}

void AppendLandUseTable(const ProjectRecord& record, double C, double A, Lines& out) {
  const RunoffNumbers& runoff = record.derived.runoff;
  const int k = LeadingLandUseRows(runoff);
  auto cj = [&](int j) { return Fmt(runoff.C[static_cast<std::size_t>(j)], "0.0#"); };
  auto aj = [&](int j) { return Fmt(runoff.A[static_cast<std::size_t>(j)], "0.00"); };
  auto entry = [&](int j) { return runoff.names[static_cast<std::size_t>(j)] + "(" + cj(j) + ")" + aj(j) + "m2"; };
  auto term = [&](int j) { return cj(j) + "×" + aj(j); };

  out.emplace_back("       　　　　　　・流域面積(A) ( ( )は流出係数(C) )");
  for (int j = 0; j < k; j += 2) {
    std::string line = k21 + entry(j);
    if (j + 1 < k) line += "   " + entry(j + 1);
    out.push_back(line);
  }
  out.push_back(k21 + "合計面積 A=" + Fmt(A, "0.00") + "m2=" + Fmt(A * 1e-4, "0.000") + "ha");
  out.emplace_back();
  out.emplace_back("       　　　　　  ・平均流出係数(C)");
  if (k == 1) {
    out.push_back(k21 + "C=(" + term(0) + ")/" + Fmt(A, "0.00") + "=" + Fmt(C, "0.0#"));
  } else if (k == 2 || k == 3) {
    std::string line = k21 + "C={(" + term(0);
    for (int j = 1; j < k; ++j) line += ")＋(" + term(j);
    out.push_back(line + ")}/" + Fmt(A, "0.00") + "=" + Fmt(C, "0.000"));
  } else if (k >= 4) {
    // The first line stops after A3 without closing its bracket; the second
    // opens with "＋(" (the sheet's established layout).
    out.push_back(k21 + "C={(" + term(0) + ")＋(" + term(1) + ")＋(" + term(2));
    std::string line = Blanks(23) + "＋(" + term(3);
    for (int j = 4; j < k; ++j) line += ")＋(" + term(j);
    out.push_back(line + ")}/" + Fmt(A, "0.00") + "=" + Fmt(C, "0.000"));
  }
  out.emplace_back();
}

void AppendTimeOfConcentration(const ProjectRecord& record, Lines& out) {
  const IntensityScreenInputs& f12 = record.intensity;
  const IntensityNumbers& in = record.derived.intensity;

  if (f12.Option3) {
    out.push_back(k19 + "・到達時間 t=" + Fmt(in.t, "0.0#") + "min");
    out.emplace_back();
  }
  if (!f12.Option4) return;

  if (f12.Option1) {
    out.push_back(k19 + "・流入時間 t1=" + Fmt(in.t1, "0.0#") + "min");
    out.emplace_back();
  }
  if (f12.Option2) {
    const double Ls = ParseLeadingNumber(record.inflowCopies.slopeLength);
    const double S = ParseLeadingNumber(record.inflowCopies.slope);
    const double nr = ParseLeadingNumber(record.inflowCopies.retardance);
    out.push_back(k19 + "・流入時間 t1=(2/3×3.28×(L･n/√S))^0.467");
    out.push_back(Blanks(32) + "=(2/3×3.28×(" + Fmt(Ls, "0.0#") + "×" + Fmt(nr, "0.00#") + "/√" +
                  Fmt(S / 1000.0, "0.00#") + "))^0.467=" + Fmt(in.t1, "0.0#") + "min");
    out.emplace_back(Blanks(41) + "｜ L：斜面距離(m)   S：斜面勾配　 n：遅滞係数");
    out.emplace_back();
  }
  if (f12.Option5) {
    out.push_back(k19 + "・流下時間 t2=" + Fmt(in.t2, "0.0#") + "min");
    out.emplace_back();
  }
  if (f12.Option6 && f12.Option7) {
    out.push_back(k19 + "・流下時間 t2=L/60V=" + Fmt(in.L, "0.0#") + "/(60×" + Fmt(in.V, "0.00") + ")=" +
                  Fmt(in.t2, "0.0#") + "min");
    out.emplace_back(Blanks(41) + "｜ L：管渠延長(m)     V：仮定流速(m/sec)");
    out.emplace_back();
  }
  if (f12.Option6 && f12.Option8) AppendFlowTimeFacilityBlock(record, out);
  if (f12.chk1 != 0) {
    if (record.river.opt1) {
      out.push_back(k19 + "・流下時間 t2=0.83L/i^0.6=0.83×" + Fmt(in.riverL, "0.00") + "/" + Fmt(in.riverI, "0.000") +
                    "^0.6=" + Fmt(in.t2, "0.00") + "min");
    } else if (record.river.opt2) {
      out.push_back(k19 + "・流下時間 t2=0.36L/i^0.5=0.36×" + Fmt(in.riverL, "0.00") + "/" + Fmt(in.riverI, "0.000") +
                    "^0.5=" + Fmt(in.t2, "0.00") + "min");
    }
    out.emplace_back(Blanks(41) + "｜ L：河道延長(km)     i：河道の勾配");
    out.emplace_back();
  }
  out.push_back(k19 + "・到達時間 t=t1＋t2=" + Fmt(in.t1, "0.0#") + "＋" + Fmt(in.t2, "0.0#") + "=" + Fmt(in.t, "0.0#") +
                "min");
  out.emplace_back();
}

void AppendIntensityFormula(const ProjectRecord& record, double I, Lines& out) {
  const IntensityScreenInputs& f12 = record.intensity;
  const IntensityNumbers& in = record.derived.intensity;
  const std::string a = Fmt(in.a, "0.0#");
  const std::string b = Fmt(in.b, "0.0##");
  const std::string t = Fmt(in.t, "0.0#");
  const std::string c = Fmt(in.c, "0");
  const std::string d = Fmt(in.d, "0");

  std::string middle;
  if (f12.opt1) {
    middle = a + "/(t＋" + b + ")=" + a + "/(" + t + "＋" + b;
  } else if (f12.opt4) {
    middle = a + "/(√t＋" + b + ")=" + a + "/(√" + t + "＋" + b;
  } else if (f12.opt2) {
    middle = a + "/(√t－" + b + ")=" + a + "/(√" + t + "－" + b;
  } else if (f12.opt3) {
    middle = a + "/(t^" + b + ")=" + a + "/(" + t + "^" + b;
  } else if (f12.opt5) {
    middle = a + "/(t^(" + d + "/" + c + ")＋" + b + ")=" + a + "/(" + t + "^(" + d + "/" + c + ")＋" + b;
  } else if (f12.opt6) {
    middle = a + "/(t^(" + d + "/" + c + ")－" + b + ")=" + a + "/(" + t + "^(" + d + "/" + c + ")－" + b;
  } else {
    return;  // no formula chosen: no intensity line
  }
  out.push_back(k19 + "・降雨強度 I=" + middle + ")=" + Fmt(I, "0.0") + "mm/hr");
}

}  // namespace

void AppendStormwater(const ProjectRecord& record, Lines& out) {
  const MainScreenInputs& m = record.main;
  const double C = ParseLeadingNumber(m.txt_c);
  const double A = ParseLeadingNumber(m.txt_a);
  const double I = ParseLeadingNumber(m.txt_i);

  out.emplace_back("                ○ 計画雨水量");
  out.emplace_back();
  out.emplace_back("                   Q11=(1/360)･C･I･A     ｜Q11：計画雨水量(m3/sec)");
  out.emplace_back("                                         ｜  C：流出係数  I：降雨強度(mm/hr)  A：流域面積(ha)");
  out.emplace_back();

  if (m.opt5) {
    out.push_back(k19 + "・流域面積 A=" + Fmt(A, "0.00") + "m2=" + Fmt(A * 1e-4, "0.000") + "ha");
    out.emplace_back();
    out.push_back(k19 + "・流出係数 C=" + Fmt(C, "0.0##"));
    out.emplace_back();
  }
  if (m.opt6) AppendLandUseTable(record, C, A, out);

  if (m.opt3) out.push_back(k19 + "・降雨強度 I=" + Fmt(I, "0.0") + "mm/hr");
  if (m.opt4) {
    AppendTimeOfConcentration(record, out);
    AppendIntensityFormula(record, I, out);
  }

  out.emplace_back();
  out.push_back(k19 + "計画雨水量 Q11=(1/360)×" + Fmt(C, "0.0##") + "×" + Fmt(I, "0.0") + "×" + Fmt(A * 1e-4, "0.000") +
                "=" + Fmt(record.run.Q11, "0.0000") + "m3/sec");
  out.emplace_back();
  out.emplace_back();
}

}  // namespace mk::report
