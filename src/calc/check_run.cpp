#include "calc/check_run.h"

#include <cmath>

#include "calc/catalogue.h"
#include "calc/hydraulics.h"
#include "calc/sections.h"
#include "model/number_text.h"

namespace mk {

namespace {

const char* const kTooLarge = "値が大きすぎるため、計算できません。入力値を確認してください。";

// Where the main check's facility boxes sit, by facility kind.
struct FacilityControls {
  std::string form;       // "Form2", "Form5", "Form1"
  std::string slope;      // slope box
  std::string roughness;  // roughness box
  std::string dimension;  // first dimension box (D or H); "" for a catalogue pipe
  DepthListKind depthList = DepthListKind::Circular;
  int depthIndex = -1;    // the chosen depth entry
};

std::optional<FacilityControls> ControlsOf(const ProjectRecord& record) {
  const int kind = record.main.lst_s;
  if (kind >= 0 && kind <= 3)
    return FacilityControls{"Form2", "Form2.txt1", "Form2.txt2", "", DepthListKind::Circular,
                            record.facility.form2.cbo1};
  if (kind == 4)
    return FacilityControls{"Form5", "Form5.txt2", "Form5.txt3", "Form5.txt1",
                            DepthListKind::Circular, record.facility.form5.cbo1};
  if (kind == 5)
    return FacilityControls{"Form1", "Form1.txt3", "Form1.txt4", "Form1.txt1",
                            DepthListKind::Rectangular, record.facility.form1.cbo1};
  return std::nullopt;
}

struct CheckFailure {
  int check = 0;  // 1..12 (9 for 9a to 9c)
  CalcError error;
};

std::optional<CheckFailure> FirstFailingCheck(const ProjectRecord& record) {
  const MainScreenInputs& main = record.main;
  const MainCheckNumbers& m = record.derived.main;
  auto fail = [](int check, const char* message, std::string focus) {
    return CheckFailure{check, CalcError{message, std::move(focus)}};
  };

  if (m.C == 0.0) return fail(1, "流出係数を入力又は計算してください。", "Form25.txt_c");
  if (m.area == 0.0) return fail(2, "施設の分担する流域面積を入力してください。", "Form25.txt_a");
  if (m.I == 0.0) return fail(3, "降雨強度を入力又は計算してください。", "Form25.txt_i");
  if (main.txt3.empty()) return fail(4, "計画汚水量を計算又は入力してください。", "Form25.txt3");
  if (main.opt10 && main.txt2.empty()) return fail(5, "地下水混入率を入力してください。", "Form25.txt2");
  if (main.opt12 && main.txt1.empty())
    return fail(6, "計画汚水量の割増しを入力してください。", "Form25.txt1");
  const auto controls = ControlsOf(record);
  if (!controls) return fail(7, "施設の種類を選択してください。", "Form25.lst_s");
  if (!main.opt1 && !main.opt2) return fail(8, "流速の計算方法を選択してください。", "Form25.opt1");
  if (main.lst_s == 4 && m.D == 0.0) return fail(9, "直径を入力してください。", "Form5.txt1");
  if (main.lst_s == 5 && m.H == 0.0) return fail(9, "施設の高さを入力してください。", "Form1.txt1");
  if (main.lst_s == 5 && m.B == 0.0) return fail(9, "施設の巾を入力してください。", "Form1.txt2");
  if (m.x == 0.0) return fail(10, "施設の勾配を入力してください。", controls->slope);
  if (m.n == 0.0) return fail(11, "粗度係数を入力してください。", controls->roughness);
  if (!DepthChoiceMember(controls->depthList, controls->depthIndex)) {
    // The catalogue pipe screen words its message without "の".
    const char* message = controls->form == "Form2" ? "施設有効水深の割合を入力してください。"
                                                    : "施設の有効水深の割合を入力してください。";
    return fail(12, message, controls->form + ".cbo1");
  }
  return std::nullopt;
}

// Q11, Q12, the factor and Q1 from the stored numbers.
struct Flows {
  double Q11 = 0.0, Q12 = 0.0, factor = 1.0, Q1 = 0.0;
};

Flows ComputeFlows(const ProjectRecord& record) {
  const MainCheckNumbers& m = record.derived.main;
  Flows f;
  // The area in m2 becomes ha by the factor 10^-4.
  f.Q11 = m.C * (1.0 / 360.0) * m.I * m.area * 0.0001;
  f.Q12 = record.main.opt10 ? ((m.g + 100.0) * m.q) / 100.0 : m.q;
  f.factor = (m.s + 100.0) / 100.0;
  f.Q1 = ((m.s + 100.0) * (f.Q12 + f.Q11)) / 100.0;
  return f;
}

bool AllFinite(const Flows& f) {
  return std::isfinite(f.Q11) && std::isfinite(f.Q12) && std::isfinite(f.factor) &&
         std::isfinite(f.Q1);
}

VelocityFormula FormulaOf(const MainScreenInputs& main) {
  return main.opt2 && !main.opt1 ? VelocityFormula::Kutter : VelocityFormula::Manning;
}

// The control to focus when the capacity cannot be computed, by the first
// condition ComputeCapacity refuses.
std::string CapacityFocus(const ProjectRecord& record, const SectionGeometry& g) {
  const auto controls = ControlsOf(record);
  if (!controls) return "Form25.lst_s";
  const MainCheckNumbers& m = record.derived.main;
  if (!(g.A > 0.0) || !(g.P > 0.0)) {
    if (record.main.lst_s == 5 && !(m.H > 0.0)) return "Form1.txt1";
    if (record.main.lst_s == 5) return "Form1.txt2";
    return controls->dimension.empty() ? controls->form + ".lst_pu" : controls->dimension;
  }
  if (!(m.x > 0.0)) return controls->slope;
  if (!(m.n > 0.0)) return controls->roughness;
  return controls->slope;
}

void StoreResult(ProjectRecord& record, const Flows& f, const CapacityResult& capacity) {
  record.derived.mainCapacity = capacity;
  RunResult run;
  run.exists = true;
  run.Q11 = f.Q11;
  run.Q12 = f.Q12;
  run.factor = f.factor;
  run.Q1 = f.Q1;
  run.Q2 = capacity.Q2;
  run.V = capacity.V;
  run.verdict = JudgeVerdict(f.Q1, capacity.Q2);
  record.run = run;
  record.results.lbl3 = FormatNumber(run.Q1, "0.0000");
  record.results.lbl6 = FormatNumber(run.Q2, "0.0000");
  record.results.lbl9 = FormatNumber(run.V, "0.0000");
}

}  // namespace

Verdict JudgeVerdict(double Q1, double Q2) { return Q1 > Q2 ? Verdict::NO : Verdict::OK; }

FactorCaptions SurchargeCaptions(double factor) {
  if (factor == 1.0) return {};
  return {FormatNumber(factor, "0.0#"), "×"};
}

std::string MainFacilityForm(int lst_s) {
  if (lst_s >= 0 && lst_s <= 3) return "Form2";
  if (lst_s == 4) return "Form5";
  if (lst_s == 5) return "Form1";
  return "";
}

void ReadMainCheckNumbers(ProjectRecord& record) {
  const MainScreenInputs& main = record.main;
  MainCheckNumbers& m = record.derived.main;
  m.C = ParseLeadingNumber(main.txt_c);
  m.I = ParseLeadingNumber(main.txt_i);
  m.area = ParseLeadingNumber(main.txt_a);
  m.q = ParseLeadingNumber(main.txt3);
  // The percentages count only while "有り" is chosen; "無し" means 0.
  m.s = main.opt12 ? ParseLeadingNumber(main.txt1) : 0.0;
  m.g = main.opt10 ? ParseLeadingNumber(main.txt2) : 0.0;

  const FacilityScreenInputs& f = record.facility;
  switch (main.lst_s) {
    case 0: case 1: case 2: case 3:
      m.x = ParseLeadingNumber(f.form2.txt1);
      m.n = ParseLeadingNumber(f.form2.txt2);
      break;  // D comes from the catalogue with the section
    case 4:
      m.D = ParseLeadingNumber(f.form5.txt1);
      m.x = ParseLeadingNumber(f.form5.txt2);
      m.n = ParseLeadingNumber(f.form5.txt3);
      break;
    case 5:
      m.H = ParseLeadingNumber(f.form1.txt1);
      m.B = ParseLeadingNumber(f.form1.txt2);
      m.x = ParseLeadingNumber(f.form1.txt3);
      m.n = ParseLeadingNumber(f.form1.txt4);
      break;
    default:
      m.x = 0.0;
      m.n = 0.0;
      break;
  }
}

Outcome<SectionGeometry> ComputeMainSection(ProjectRecord& record) {
  const int kind = record.main.lst_s;
  const MainCheckNumbers& m = record.derived.main;
  const FacilityScreenInputs& f = record.facility;
  FacilitySection section;

  if (kind >= 0 && kind <= 3) {
    const auto size = LookupPipe(*MaterialFromKind(kind), f.form2.lst_pu);
    if (!size) return CalcError{"管径を選択してください。", "Form2.lst_pu"};
    const auto ratio = DepthChoiceMember(DepthListKind::Circular, f.form2.cbo1);
    if (!ratio) return CalcError{"施設有効水深の割合を入力してください。", "Form2.cbo1"};
    section.name = size->storedName;
    section.D = size->D;
    section.depthCode = DepthCode(*ratio);
    section.geometry = CircularSection(section.D, *ratio);
    record.derived.main.D = size->D;
  } else if (kind == 4) {
    const auto ratio = DepthChoiceMember(DepthListKind::Circular, f.form5.cbo1);
    if (!ratio) return CalcError{"施設の有効水深の割合を入力してください。", "Form5.cbo1"};
    section.name = f.form5.txt_m;
    section.D = m.D;
    section.depthCode = DepthCode(*ratio);
    section.geometry = CircularSection(section.D, *ratio);
  } else if (kind == 5) {
    const auto ratio = DepthChoiceMember(DepthListKind::Rectangular, f.form1.cbo1);
    if (!ratio) return CalcError{"施設の有効水深の割合を入力してください。", "Form1.cbo1"};
    section.name = f.form1.txt_m;
    section.H = m.H;
    section.B = m.B;
    section.depthCode = DepthCode(*ratio);
    section.geometry = RectangularSection(section.H, section.B, section.depthCode, true);
  } else {
    return CalcError{"施設の種類を選択してください。", "Form25.lst_s"};
  }

  record.derived.mainSection = section;
  return section.geometry;
}

std::optional<CalcError> ValidateMainCheck(const ProjectRecord& record) {
  if (auto failure = FirstFailingCheck(record)) return failure->error;
  return std::nullopt;
}

CheckRunOutcome CheckRun(ProjectRecord& record) {
  CheckRunOutcome out;
  ReadMainCheckNumbers(record);

  if (const auto failure = FirstFailingCheck(record)) {
    if (failure->check == 4) {
      // The missing sewage flow is to be typed: switch to direct entry.
      record.main.opt7 = false;
      record.main.opt8 = true;
      out.switchedSewageToDirect = true;
    }
    out.failure = failure->error;
    return out;
  }

  // From here the inputs passed the checks; a failure means the numbers
  // cannot be computed, and an earlier result no longer belongs to them.
  const auto geometry = ComputeMainSection(record);
  if (!geometry) {
    DiscardRunResult(record);
    out.failure = geometry.error();
    return out;
  }
  const Flows flows = ComputeFlows(record);
  if (!AllFinite(flows)) {
    DiscardRunResult(record);
    out.failure = CalcError{kTooLarge, "Form25.txt_c"};
    return out;
  }
  const auto capacity =
      ComputeCapacity(*geometry, record.derived.main.x, record.derived.main.n, FormulaOf(record.main));
  if (!capacity) {
    DiscardRunResult(record);
    out.failure = CalcError{capacity.error().message, CapacityFocus(record, *geometry)};
    return out;
  }

  StoreResult(record, flows, *capacity);
  out.passed = true;
  out.lbl3 = record.results.lbl3;
  out.lbl6 = record.results.lbl6;
  out.lbl9 = record.results.lbl9;
  const FactorCaptions factor = SurchargeCaptions(flows.factor);
  out.lbl16 = factor.lbl16;
  out.lbl17 = factor.lbl17;
  out.beep = record.run.verdict == Verdict::NO;
  out.statusNotice = out.beep ? kNoticeRunNo : kNoticeRunOk;
  return out;
}

void RecomputeRunResult(ProjectRecord& record) {
  Flows flows = ComputeFlows(record);
  if (!AllFinite(flows)) flows = Flows{};
  CapacityResult capacity;  // V = Q2 = 0 when it cannot be computed
  if (record.main.opt1 || record.main.opt2) {
    const auto computed = ComputeCapacity(record.derived.mainSection.geometry, record.derived.main.x,
                                          record.derived.main.n, FormulaOf(record.main));
    if (computed) capacity = *computed;
  }
  StoreResult(record, flows, capacity);
}

}  // namespace mk
