#include "calc/sewage.h"

#include <cmath>

#include "model/number_text.h"

namespace mk {

std::optional<SewageClass> ChosenSewageClass(const SewageFlowInput& sewage) {
  if (sewage.opt1) return SewageClass::Residential;
  if (sewage.opt2) return SewageClass::NonResidential1;
  if (sewage.opt3) return SewageClass::NonResidential2;
  return std::nullopt;
}

void ChooseSewageClass(SewageFlowInput& sewage, SewageClass sewageClass) {
  sewage.opt1 = sewageClass == SewageClass::Residential;
  sewage.opt2 = sewageClass == SewageClass::NonResidential1;
  sewage.opt3 = sewageClass == SewageClass::NonResidential2;
  sewage.txt_p.clear();
  sewage.txt_q1.clear();
  sewage.txt_a.clear();
  sewage.txt_q2.clear();
}

bool UsesPopulation(SewageClass sewageClass) { return sewageClass != SewageClass::NonResidential2; }
bool UsesArea(SewageClass sewageClass) { return sewageClass != SewageClass::Residential; }

namespace {

// Q for the class; nothing when the result leaves the range of a double
// (only absurdly large typed numbers do that).
std::optional<double> SewageFlow(SewageClass sewageClass, const SewageNumbers& n) {
  // 86400000 = 24 x 60 x 60 x 1000: litres per day into m3 per second;
  // A x 10^-4: m2 into ha.
  double Q = 0.0;
  switch (sewageClass) {
    case SewageClass::Residential:
      Q = n.P * n.q1 / 86400000.0;
      break;
    case SewageClass::NonResidential1:
      Q = n.P * n.q1 / 86400000.0 + n.q2 * (n.A * 0.0001);
      break;
    case SewageClass::NonResidential2:
      Q = n.q2 * (n.A * 0.0001);
      break;
  }
  if (!std::isfinite(Q)) return std::nullopt;
  return Q;
}

}  // namespace

void SewageKeisan(ProjectRecord& record) {
  SewageNumbers& n = record.derived.sewage;
  n.P = ParseLeadingNumber(record.sewage.txt_p);
  n.q1 = ParseLeadingNumber(record.sewage.txt_q1);
  n.A = ParseLeadingNumber(record.sewage.txt_a);
  n.q2 = ParseLeadingNumber(record.sewage.txt_q2);

  const auto sewageClass = ChosenSewageClass(record.sewage);
  if (!sewageClass) return;  // no class: Q keeps its value
  if (const auto Q = SewageFlow(*sewageClass, n)) n.Q = *Q;
}

std::optional<CalcError> ValidateSewageScreen(const SewageFlowInput& sewage) {
  const auto sewageClass = ChosenSewageClass(sewage);
  if (!sewageClass) return std::nullopt;
  if (UsesPopulation(*sewageClass)) {
    if (sewage.txt_p.empty()) return CalcError{"計画人口を入力してください。", "Form28.txt_p"};
    if (sewage.txt_q1.empty())
      return CalcError{"計画時間最大汚水量（１人１日当り）を入力してください。", "Form28.txt_q1"};
  }
  if (UsesArea(*sewageClass)) {
    if (sewage.txt_a.empty()) return CalcError{"排水面積を入力してください。", "Form28.txt_a"};
    if (sewage.txt_q2.empty())
      return CalcError{"計画時間最大汚水量（１ｈｒ当り）を入力してください。", "Form28.txt_q2"};
  }
  return std::nullopt;
}

std::optional<CalcError> AcceptSewageScreen(ProjectRecord& record) {
  if (auto failure = ValidateSewageScreen(record.sewage)) return failure;
  const auto sewageClass = ChosenSewageClass(record.sewage);
  if (sewageClass) {
    SewageNumbers trial;
    trial.P = ParseLeadingNumber(record.sewage.txt_p);
    trial.q1 = ParseLeadingNumber(record.sewage.txt_q1);
    trial.A = ParseLeadingNumber(record.sewage.txt_a);
    trial.q2 = ParseLeadingNumber(record.sewage.txt_q2);
    if (!SewageFlow(*sewageClass, trial))
      return CalcError{"値が大きすぎるため、計画汚水量を計算できません。入力値を確認してください。",
                       UsesPopulation(*sewageClass) ? "Form28.txt_p" : "Form28.txt_a"};
  }
  SewageKeisan(record);
  const SewageNumbers& n = record.derived.sewage;
  record.main.txt3 = FormatNumber(n.Q, "0.0000");
  return std::nullopt;
}

void BeginSewageCalculation(ProjectRecord& record) {
  record.main.opt7 = true;
  record.main.opt8 = false;
  if (!ChosenSewageClass(record.sewage)) ChooseSewageClass(record.sewage, SewageClass::Residential);
  record.main.txt3.clear();
  record.derived.main.q = 0.0;
  record.derived.sewage.Q = 0.0;
}

void SwitchSewageToDirect(ProjectRecord& record) {
  record.sewage = SewageFlowInput{};
  record.derived.sewage.P = 0.0;
  record.derived.sewage.q1 = 0.0;
  record.derived.sewage.A = 0.0;
  record.derived.sewage.q2 = 0.0;
  record.main.opt7 = false;
  record.main.opt8 = true;
  DiscardRunResult(record);
}

}  // namespace mk
