#include "calc/intensity.h"

#include <cmath>

#include "model/number_text.h"

namespace mk {

namespace {

const char* const kUnfitFormula = "降雨強度式の分母が０になるため、降雨強度を計算できません。";
const char* const kNegativeTime =
    "到達時間が負の値のため、降雨強度を計算できません。到達時間を確認してください。";
const char* const kTooLarge = "値が大きすぎるため、計算できません。入力値を確認してください。";

bool Finite(double value) { return std::isfinite(value); }

// The power in ⑤ and ⑥ and ④: a negative base with a non-whole exponent, or
// 0 with a negative exponent, has no real value.
Outcome<double> RealPower(double base, double exponent) {
  const double value = std::pow(base, exponent);
  if (std::isnan(value)) return CalcError{kNegativeTime, ""};
  if (!Finite(value)) return CalcError{kUnfitFormula, ""};
  return value;
}

Outcome<double> Divide(double a, double denominator) {
  if (denominator == 0.0) return CalcError{kUnfitFormula, ""};
  const double value = a / denominator;
  if (!Finite(value)) return CalcError{kTooLarge, ""};
  return value;
}

}  // namespace

// ------------------------------------------------------------ formulas

std::optional<IntensityFormula> ChosenFormula(const IntensityScreenInputs& screen) {
  if (screen.opt1) return IntensityFormula::One;
  if (screen.opt4) return IntensityFormula::Two;
  if (screen.opt2) return IntensityFormula::Three;
  if (screen.opt3) return IntensityFormula::Four;
  if (screen.opt5) return IntensityFormula::Five;
  if (screen.opt6) return IntensityFormula::Six;
  return std::nullopt;
}

bool UsesConstantsCD(IntensityFormula formula) {
  return formula == IntensityFormula::Five || formula == IntensityFormula::Six;
}

void ChooseIntensityFormula(IntensityScreenInputs& screen, IntensityFormula formula) {
  screen.opt1 = formula == IntensityFormula::One;
  screen.opt4 = formula == IntensityFormula::Two;
  screen.opt2 = formula == IntensityFormula::Three;
  screen.opt3 = formula == IntensityFormula::Four;
  screen.opt5 = formula == IntensityFormula::Five;
  screen.opt6 = formula == IntensityFormula::Six;
  screen.txt1.clear();
  screen.txt2.clear();
  screen.txt6.clear();
  screen.txt7.clear();
}

Outcome<double> IntensityByFormula(IntensityFormula formula, double a, double b, double c,
                                   double d, double t) {
  switch (formula) {
    case IntensityFormula::One:
      return Divide(a, t + b);
    case IntensityFormula::Two:
    case IntensityFormula::Three: {
      if (t < 0.0) return CalcError{kNegativeTime, ""};
      const double root = std::sqrt(t);
      return Divide(a, formula == IntensityFormula::Two ? root + b : root - b);
    }
    case IntensityFormula::Four: {
      const auto power = RealPower(t, b);
      if (!power) return power.error();
      return Divide(a, *power);
    }
    case IntensityFormula::Five:
    case IntensityFormula::Six: {
      if (c == 0.0)
        return CalcError{"定数ｃが０のため、降雨強度を計算できません。", "Form12.txt6"};
      const auto power = RealPower(t, d / c);
      if (!power) return power.error();
      return Divide(a, formula == IntensityFormula::Five ? *power + b : *power - b);
    }
  }
  return CalcError{kUnfitFormula, ""};
}

// ------------------------------------------------------------ river course

Outcome<double> RiverFlowTime(double L, double i, bool afterDevelopment) {
  if (!(i > 0.0))
    return CalcError{"河道の勾配は０より大きい値を入力してください。", "Form22.txt2"};
  // The product with the constant first, then the division by the power.
  const double t2 = afterDevelopment ? (0.36 * L) / std::pow(i, 0.5) : (0.83 * L) / std::pow(i, 0.6);
  if (!Finite(t2)) return CalcError{kTooLarge, "Form22.txt1"};
  return t2;
}

std::optional<CalcError> ValidateRiverCourseScreen(const RiverCourseInputs& river) {
  if (!river.opt1 && !river.opt2)
    return CalcError{"開発の前または後を選択してください。", "Form22.opt1"};
  if (river.txt1.empty()) return CalcError{"河道延長を入力してください。", "Form22.txt1"};
  if (river.txt2.empty()) return CalcError{"河道の勾配を入力してください。", "Form22.txt2"};
  // i = 0 or negative would divide by zero or take a real power of a
  // negative number when the intensity screen computes t2.
  if (!(ParseLeadingNumber(river.txt2) > 0.0))
    return CalcError{"河道の勾配は０より大きい値を入力してください。", "Form22.txt2"};
  return std::nullopt;
}

// ------------------------------------------------------------ Form12

bool IsRiverCourseMode(const IntensityScreenInputs& screen) {
  return screen.Option6 && screen.chk1 != 0;
}

namespace {

// Keisan_1 on `numbers`.  Strict: the first undefined step is returned and
// the caller drops `numbers`.  Lenient (Open): an undefined step keeps the
// previous value and the rest goes on.
std::optional<CalcError> ComputeTimes(const ProjectRecord& record, IntensityNumbers& numbers,
                                      bool strict) {
  const IntensityScreenInputs& screen = record.intensity;
  numbers.a = ParseLeadingNumber(screen.txt1);
  numbers.b = ParseLeadingNumber(screen.txt2);
  numbers.t1 = ParseLeadingNumber(screen.txt3);
  numbers.L = ParseLeadingNumber(screen.txt4);
  numbers.V = ParseLeadingNumber(screen.txt5);
  numbers.c = ParseLeadingNumber(screen.txt6);
  numbers.d = ParseLeadingNumber(screen.txt7);
  numbers.riverL = ParseLeadingNumber(record.river.txt1);
  numbers.riverI = ParseLeadingNumber(record.river.txt2);

  if (screen.Option3) numbers.t = ParseLeadingNumber(screen.txt8);

  if (screen.Option4) {
    if (screen.Option5) numbers.t2 = ParseLeadingNumber(screen.txt9);
    if (screen.Option6 && screen.chk1 == 0) {
      const double t2 = numbers.L / (numbers.V * 60.0);
      if (numbers.V == 0.0) {
        if (strict) return CalcError{"流速が０のため、流下時間を計算できません。", "Form12.Option7"};
      } else if (!Finite(t2)) {
        if (strict) return CalcError{kTooLarge, "Form12.txt4"};
      } else {
        numbers.t2 = t2;
      }
    }
    if (screen.Option6 && screen.chk1 != 0 && (record.river.opt1 || record.river.opt2)) {
      const auto t2 = RiverFlowTime(numbers.riverL, numbers.riverI, !record.river.opt1);
      if (t2)
        numbers.t2 = *t2;
      else if (strict)
        return t2.error();
    }
    const double t = numbers.t1 + numbers.t2;
    if (Finite(t))
      numbers.t = t;
    else if (strict)
      return CalcError{kTooLarge, "Form12.txt3"};
  }
  return std::nullopt;
}

std::optional<CalcError> ComputeIntensity(const ProjectRecord& record, IntensityNumbers& numbers,
                                          bool strict) {
  const auto formula = ChosenFormula(record.intensity);
  if (!formula) return std::nullopt;  // no formula: I keeps its value
  const auto I = IntensityByFormula(*formula, numbers.a, numbers.b, numbers.c, numbers.d, numbers.t);
  if (I)
    numbers.I = *I;
  else if (strict)
    return I.error();
  return std::nullopt;
}

}  // namespace

std::optional<CalcError> Keisan_1(ProjectRecord& record) {
  IntensityNumbers numbers = record.derived.intensity;
  if (auto failure = ComputeTimes(record, numbers, true)) return failure;
  record.derived.intensity = numbers;
  return std::nullopt;
}

std::optional<CalcError> Keisan_2(ProjectRecord& record) {
  IntensityNumbers numbers = record.derived.intensity;
  if (auto failure = ComputeIntensity(record, numbers, true)) return failure;
  record.derived.intensity = numbers;
  return std::nullopt;
}

void RecomputeIntensity(ProjectRecord& record) {
  ComputeTimes(record, record.derived.intensity, false);
  ComputeIntensity(record, record.derived.intensity, false);
}

std::optional<IntensityCheckFailure> ValidateIntensityScreen(const ProjectRecord& record) {
  const IntensityScreenInputs& s = record.intensity;
  using F = IntensityFollowUp;
  auto fail = [](const char* message, const char* focus, F followUp) {
    return IntensityCheckFailure{CalcError{message, focus}, followUp};
  };

  const auto formula = ChosenFormula(s);
  if (!formula) return fail("降雨強度式を選択してください。", "", F::ChooseFormulaOne);
  if (s.txt1.empty()) return fail("定数ａを入力してください。", "Form12.txt1", F::Focus);
  if (s.txt2.empty()) return fail("定数ｂを入力してください。", "Form12.txt2", F::Focus);
  if (UsesConstantsCD(*formula) && s.txt6.empty())
    return fail("定数ｃをしてください。", "Form12.txt6", F::Focus);
  if (UsesConstantsCD(*formula) && s.txt7.empty())
    return fail("定数ｄを入力してください。", "Form12.txt7", F::Focus);
  if (!s.Option3 && !s.Option4) return fail("到達時間の計算方法を選択してください。", "", F::None);
  if (s.Option3 && s.txt8.empty()) return fail("到達時間を入力してください。", "Form12.txt8", F::Focus);
  if (!s.Option4) return std::nullopt;

  if (!s.Option1 && !s.Option2) return fail("流入時間の計算方法を選択してください。", "", F::None);
  if (s.txt3.empty()) return fail("流入時間を入力してください。", "Form12.txt3", F::Focus);
  if (!s.Option5 && !s.Option6) return fail("流下時間の計算方法を選択してください。", "", F::None);
  if (s.Option5 && s.txt9.empty()) return fail("流下時間を入力してください。", "Form12.txt9", F::Focus);
  const bool river = IsRiverCourseMode(s);
  if (s.Option6 && !river && s.txt4.empty())
    return fail("排水施設延長距離を入力してください。", "Form12.txt4", F::Focus);
  if (s.Option6 && !river && s.txt5.empty())
    return fail("流速を仮定又は計算してください。", "Form12.Option7", F::Focus);
  if (river && record.river.txt1.empty())
    return fail("流下時間の項目を入力してください。", "", F::OpenRiverCourse);
  return std::nullopt;
}

std::optional<IntensityCheckFailure> AcceptIntensityScreen(ProjectRecord& record) {
  if (auto failure = ValidateIntensityScreen(record)) return failure;

  IntensityNumbers numbers = record.derived.intensity;
  auto arithmetic = ComputeTimes(record, numbers, true);
  if (!arithmetic) arithmetic = ComputeIntensity(record, numbers, true);
  if (arithmetic) {
    const IntensityFollowUp followUp = arithmetic->focus.empty() ? IntensityFollowUp::None
                       : arithmetic->focus.rfind("Form22.", 0) == 0 ? IntensityFollowUp::OpenRiverCourse
                                                                    : IntensityFollowUp::Focus;
    return IntensityCheckFailure{*arithmetic, followUp};
  }

  record.derived.intensity = numbers;
  record.main.txt_i = FormatNumber(numbers.I, "0.0");
  record.main.opt3 = false;
  record.main.opt4 = true;
  DiscardRunResult(record);
  return std::nullopt;
}

// ------------------------------------------------------------ Form13

Outcome<KerbyResult> KerbyInflowTime(double L, double S, double n) {
  if (!(S > 0.0)) return CalcError{"斜面勾配は０より大きい値を入力してください。", "Form13.txt2"};
  KerbyResult r;
  r.k = (2.0 / 3.0) * 3.28;
  r.s = std::sqrt(S / 1000.0);
  r.x = (n * L) / r.s * r.k;
  if (r.x < 0.0)
    return CalcError{L < 0.0 ? "斜面距離は０以上の値を入力してください。"
                             : "遅滞係数は０以上の値を入力してください。",
                     L < 0.0 ? "Form13.txt1" : "Form13.txt3"};
  r.t1 = std::pow(r.x, 0.467);
  if (!Finite(r.x) || !Finite(r.t1)) return CalcError{kTooLarge, "Form13.txt1"};
  return r;
}

std::optional<CalcError> ValidateInflowTimeScreen(const InflowTimeInputs& inflow) {
  if (inflow.txt1.empty()) return CalcError{"斜面距離をしてください。", "Form13.txt1"};
  if (inflow.txt2.empty()) return CalcError{"斜面勾配を入力してください。", "Form13.txt2"};
  if (inflow.txt3.empty()) return CalcError{"遅滞係数を入力してください。", "Form13.txt3"};
  return std::nullopt;
}

std::optional<CalcError> AcceptInflowTimeScreen(ProjectRecord& record) {
  if (auto failure = ValidateInflowTimeScreen(record.inflow)) return failure;
  const double L = ParseLeadingNumber(record.inflow.txt1);
  const double S = ParseLeadingNumber(record.inflow.txt2);
  const double n = ParseLeadingNumber(record.inflow.txt3);
  const auto kerby = KerbyInflowTime(L, S, n);
  if (!kerby) return kerby.error();

  // The copies are what the report prints beside t1, so they are taken only
  // together with the t1 they produced.
  record.derived.inflow = InflowTimeNumbers{L, S, n, kerby->t1};
  record.inflowCopies.slopeLength = FormatGeneralNumber(L);
  record.inflowCopies.slope = FormatGeneralNumber(S);
  record.inflowCopies.retardance = FormatGeneralNumber(n);
  record.intensity.txt3 = FormatNumber(kerby->t1, "0.0#");
  record.intensity.Option1 = false;
  record.intensity.Option2 = true;
  return std::nullopt;
}

}  // namespace mk
