#pragma once
// Planned sewage flow (Form28): population with a per-capita flow, area
// with a per-area flow, or both, by the residential class.

#include <optional>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

enum class SewageClass {
  Residential,        // opt1 "住宅地": P q1 / 86400000
  NonResidential1,    // opt2 "住宅地以外（1）": P q1 / 86400000 + q2 A 10^-4
  NonResidential2,    // opt3 "住宅地以外（2）": q2 A 10^-4
};

// The chosen class (opt1, opt2, opt3 in that order); nothing when none is chosen.
std::optional<SewageClass> ChosenSewageClass(const SewageFlowInput& sewage);

// Choosing a class: that option alone is selected and all four boxes are emptied.
void ChooseSewageClass(SewageFlowInput& sewage, SewageClass sewageClass);

// The population block is used by Residential and NonResidential1, the area
// block by NonResidential1 and NonResidential2.
bool UsesPopulation(SewageClass sewageClass);
bool UsesArea(SewageClass sewageClass);

// Reads P, q1, A, q2 into record.derived.sewage and computes Q for the
// chosen class; with no class chosen Q keeps its value.  A result that is
// not a finite number (absurdly long digit strings) keeps Q as well.
void SewageKeisan(ProjectRecord& record);

// OK's checks for the chosen class, in order: txt_p, txt_q1, txt_a, txt_q2
// not empty (focus "Form28.txt_p" ...).
std::optional<CalcError> ValidateSewageScreen(const SewageFlowInput& sewage);

// Form28's OK on the record: the checks, SewageKeisan, main txt3 <- Q as
// "0.0000".  On failure nothing changes.
std::optional<CalcError> AcceptSewageScreen(ProjectRecord& record);

// The main screen's "計算する" for the sewage flow, before the screen opens:
// opt7 selected, "住宅地" chosen when no class is, txt3 emptied, the sewage
// flow numbers (derived q and Q) set to 0.
void BeginSewageCalculation(ProjectRecord& record);

// The main screen's "直接入力" for the sewage flow: the Form28 group
// discarded, its derived numbers set to 0, opt8 selected, the run result
// discarded.
void SwitchSewageToDirect(ProjectRecord& record);

}  // namespace mk
