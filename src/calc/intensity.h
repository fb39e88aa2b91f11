#pragma once
// Rainfall intensity (Form12) with its time of concentration, the inflow
// time by Kerby (Form13) and the river-course flow time (Form22).
//
// Functions that validate return the first failure or nothing and change
// nothing.  Functions that compute and may meet undefined arithmetic
// (division by zero, a root or real power of a negative number) return the
// reason and leave the record as it was.

#include <optional>
#include <string>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

// ------------------------------------------------------------ formulas

// The six formulas by their circled numbers.  The option that selects each
// one does not follow the numbers: ① opt1, ② opt4, ③ opt2, ④ opt3, ⑤ opt5, ⑥ opt6.
enum class IntensityFormula { One, Two, Three, Four, Five, Six };

// The chosen formula, tested in the order opt1, opt4, opt2, opt3, opt5, opt6.
std::optional<IntensityFormula> ChosenFormula(const IntensityScreenInputs& screen);

// True for ⑤ and ⑥, which also use the constants c and d.
bool UsesConstantsCD(IntensityFormula formula);

// What choosing a formula does to the record: that option alone is selected
// and the four constants a, b, c, d are emptied.
void ChooseIntensityFormula(IntensityScreenInputs& screen, IntensityFormula formula);

// I for the formula, a, b, c, d and t (mm/hr).  Refuses a zero denominator,
// a root or real power of a negative number and c = 0 in ⑤ and ⑥.
Outcome<double> IntensityByFormula(IntensityFormula formula, double a, double b, double c,
                                   double d, double t);

// ------------------------------------------------------------ river course

// t2 (min) by the river-course formula: before development 0.83 L / i^0.6,
// after development 0.36 L / i^0.5 (L in km).  Refuses i <= 0.
Outcome<double> RiverFlowTime(double L, double i, bool afterDevelopment);

// Form22's OK: a development choice, then L and i not empty (focus
// "Form22.opt1", "Form22.txt1", "Form22.txt2"), then i greater than 0.
std::optional<CalcError> ValidateRiverCourseScreen(const RiverCourseInputs& river);

// ------------------------------------------------------------ Form12

// River-course mode: t2 computed (Option6) with "茨城県" ticked (chk1).
bool IsRiverCourseMode(const IntensityScreenInputs& screen);

// Reads a, b, t1, L, V, c, d and the river length and slope into
// record.derived.intensity and computes t2 and t.  t2 keeps its previous
// value when it is not computed (river course with neither development
// choice).  On undefined arithmetic nothing changes and the reason is
// returned.
std::optional<CalcError> Keisan_1(ProjectRecord& record);

// I by the chosen formula into record.derived.intensity.I; no formula keeps
// the previous I.  On undefined arithmetic nothing changes.
std::optional<CalcError> Keisan_2(ProjectRecord& record);

// Both as Open runs them: a value that cannot be computed keeps its previous
// value, so the record never holds an infinite or undefined number.
void RecomputeIntensity(ProjectRecord& record);

// What a failed OK asks the screen to do besides showing the message.
enum class IntensityFollowUp {
  None,              // only the message
  Focus,             // focus the control named in error.focus, caret at its start
  ChooseFormulaOne,  // select formula ① (ChooseIntensityFormula) with its effects
  OpenRiverCourse,   // open the river-course screen (Form22) as a modal dialog
};

struct IntensityCheckFailure {
  CalcError error;  // message; focus such as "Form12.txt1", "Form12.Option7"
  IntensityFollowUp followUp = IntensityFollowUp::None;
};

// The fourteen checks of Form12's OK, in order; the first failure or nothing.
std::optional<IntensityCheckFailure> ValidateIntensityScreen(const ProjectRecord& record);

// Form12's OK on the record: the checks, Keisan_1, Keisan_2, then main txt_i
// as "0.0", opt4 selected (opt3 cleared) and the run result discarded.
// On any failure nothing in the record changes.
std::optional<IntensityCheckFailure> AcceptIntensityScreen(ProjectRecord& record);

// ------------------------------------------------------------ Form13

struct KerbyResult {
  double t1 = 0.0;
  double k = 0.0;  // (2/3) * 3.28
  double s = 0.0;  // sqrt(S / 1000)
  double x = 0.0;  // (n L) / s * k
};

// t1 = ((n L) / sqrt(S/1000) * (2/3) * 3.28) ^ 0.467, L in m, S in per mille.
// Refuses S = 0 (focus "Form13.txt2"), S < 0 (focus "Form13.txt2") and a
// negative n L (focus "Form13.txt1").
Outcome<KerbyResult> KerbyInflowTime(double L, double S, double n);

// The emptiness checks of Form13's OK (focus "Form13.txt1" ... "Form13.txt3").
std::optional<CalcError> ValidateInflowTimeScreen(const InflowTimeInputs& inflow);

// Form13's OK on the record: the checks, KerbyInflowTime, then
// record.derived.inflow (L, S, n, t1), the InflowTimeCopies (L, S, n in the
// project file's number form), Form12 txt3 <- t1 as "0.0#" and Option2
// selected (Option1 cleared).  On failure nothing changes.
std::optional<CalcError> AcceptInflowTimeScreen(ProjectRecord& record);

}  // namespace mk
