#pragma once
// The main check: read the numbers, validate, compute the section, the
// flows, the velocity and capacity, and the verdict.

#include <optional>
#include <string>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

// What the results screen and the main window show after a run.
struct CheckRunOutcome {
  bool passed = false;
  // When the run stopped: the message and the control to focus, written as
  // "Form.control" ("Form25.txt_c", "Form2.txt1", "Form5.cbo1").
  CalcError failure;
  // Check 4 (planned sewage flow missing) switched the sewage choice to
  // direct entry in the record (opt8 true); the screen shows txt3 bordered.
  bool switchedSewageToDirect = false;

  // When the run passed (the same values are stored in record.run and
  // record.results):
  std::string lbl3, lbl6, lbl9;  // Q1, Q2, V as "0.0000"
  std::string lbl16, lbl17;      // surcharge factor "0.0#" and "×"; both empty when the factor is 1
  std::string statusNotice;      // the status-bar text for O.K or NO
  bool beep = false;             // NO verdict: one beep, Q2 shown in light magenta
};

// Status notices after a run.
inline constexpr const char* kNoticeRunOk =
    "流速(V)はよろしいですか？チェックして下さい。（各地域の開発指導要綱等による事。）";
inline constexpr const char* kNoticeRunNo = "計画雨水量が施設の流量を超えています。";

// O.K when Q1 <= Q2 (equality passes), NO otherwise; full precision.
Verdict JudgeVerdict(double Q1, double Q2);

// lbl16 and lbl17 of the results screen for a surcharge factor: "1.25" and
// "×"; both empty when the factor is exactly 1 (also after Open, from
// record.run.factor).
struct FactorCaptions {
  std::string lbl16, lbl17;
};
FactorCaptions SurchargeCaptions(double factor);

// The facility screen of the main check for Form25 lst_s: "Form2" for 0..3,
// "Form5" for 4, "Form1" for 5, "" otherwise.
std::string MainFacilityForm(int lst_s);

// Reads C, I, area, q, g, s, slope, roughness and the facility dimensions
// into record.derived.main (kept even when a check then fails).
void ReadMainCheckNumbers(ProjectRecord& record);

// The facility's section into record.derived.mainSection (name, D or H and
// B, depth code, A and P), from the numbers ReadMainCheckNumbers stored: a
// catalogue pipe by its size, the other circular pipe by D, the rectangular
// pipe (closed) by H and B; the depth code by the screen's depth list.
// Fails for no facility kind, a size or depth entry outside its list, or a
// separator; then mainSection is left as it was.
Outcome<SectionGeometry> ComputeMainSection(ProjectRecord& record);

// The twelve checks in order on the texts and on the numbers that
// ReadMainCheckNumbers stored, without changing anything; the first failure.
std::optional<CalcError> ValidateMainCheck(const ProjectRecord& record);

// The whole run as the facility screen's "計算" starts it: the numbers, the
// checks (check 4 also switches the sewage flow to direct entry: opt7
// false, opt8 true), the section, Q11, Q12, the factor, Q1, the capacity and
// the verdict.  A capacity that cannot be computed ends the run with its
// message and the result discarded.  A passed run stores record.run
// (exists = true), record.results and the capacity.
CheckRunOutcome CheckRun(ProjectRecord& record);

// The run's computation from the stored numbers without the checks (as Open
// repeats it).  Stores record.run (exists = true) and the captions; a
// capacity that cannot be computed leaves V = Q2 = 0.
void RecomputeRunResult(ProjectRecord& record);

}  // namespace mk
