#include "calc/hydraulics.h"

#include <cmath>

namespace mk {

double HydraulicRadius(double A, double P) { return A / P; }

double SlopeRatio(double x) { return x / 1000.0; }

double ManningVelocity(double n, double R, double I) {
  return std::pow(I, 0.5) * (std::pow(R, 2.0 / 3.0) * (1.0 / n));
}

KutterVelocityResult KutterVelocity(double n, double R, double I) {
  KutterVelocityResult k;
  k.numerator = (1.0 / n + 23.0) + 0.00155 / I;
  k.denominator = ((0.00155 / I + 23.0) * n) / std::pow(R, 0.5) + 1.0;
  k.rootRI = std::pow(I * R, 0.5);
  k.V = k.rootRI * (k.numerator / k.denominator);
  return k;
}

Outcome<CapacityResult> ComputeCapacity(const SectionGeometry& section, double x, double n,
                                        VelocityFormula formula) {
  if (!(section.A > 0.0) || !std::isfinite(section.A))
    return CalcError{"流水の断面積が０以下のため、流速を計算できません。", ""};
  if (!(section.P > 0.0) || !std::isfinite(section.P))
    return CalcError{"流水の潤辺長が０以下のため、流速を計算できません。", ""};
  if (!(x > 0.0) || !std::isfinite(x))
    return CalcError{"施設の勾配は０より大きい値を入力してください。", ""};
  if (!(n > 0.0) || !std::isfinite(n))
    return CalcError{"粗度係数は０より大きい値を入力してください。", ""};

  CapacityResult r;
  r.R = HydraulicRadius(section.A, section.P);
  r.I = SlopeRatio(x);
  if (formula == VelocityFormula::Manning) {
    r.V = ManningVelocity(n, r.R, r.I);
  } else {
    const KutterVelocityResult k = KutterVelocity(n, r.R, r.I);
    r.V = k.V;
    r.kutterNumerator = k.numerator;
    r.kutterDenominator = k.denominator;
    r.kutterRootRI = k.rootRI;
  }
  r.Q2 = r.V * section.A;
  if (!std::isfinite(r.V) || !std::isfinite(r.Q2))
    return CalcError{"流速を計算できません。入力値を確認してください。", ""};
  return r;
}

}  // namespace mk
