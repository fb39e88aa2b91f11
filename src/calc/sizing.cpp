#include "calc/sizing.h"

#include <algorithm>
#include <cmath>

#include "calc/catalogue.h"
#include "calc/check_run.h"
#include "calc/hydraulics.h"

namespace mk {

namespace {

// The formula the check run uses: Kutter only when it alone is chosen.
VelocityFormula FormulaOf(const MainScreenInputs& main) {
  return main.opt2 && !main.opt1 ? VelocityFormula::Kutter : VelocityFormula::Manning;
}

void NoteProblem(std::vector<CalcError>& problems, const CalcError& error) {
  const bool known = std::any_of(problems.begin(), problems.end(),
                                 [&](const CalcError& p) { return p.message == error.message; });
  if (!known) problems.push_back(error);
}

// The parts of a row that can be computed when the check run stops: the
// section, R, and V and Q2 by the project's formula.
void FillComputableParts(ProjectRecord& run, SizingRow& row) {
  const auto geometry = ComputeMainSection(run);
  if (!geometry) return;
  row.section = *geometry;
  const double A = geometry->A, P = geometry->P;
  if (A > 0.0 && P > 0.0) {
    const double R = HydraulicRadius(A, P);
    if (std::isfinite(R)) row.R = R;
  }
  if (!run.main.opt1 && !run.main.opt2) return;
  const MainCheckNumbers& m = run.derived.main;
  const auto capacity = ComputeCapacity(*geometry, m.x, m.n, FormulaOf(run.main));
  if (!capacity) return;
  row.V = capacity->V;
  row.Q2 = capacity->Q2;
}

// One row: the check run on a copy of the project, with the catalogue size
// `sizeIndex` chosen when there is one.
SizingRow ComputeRow(const ProjectRecord& record, std::optional<int> sizeIndex,
                     SizeTableResult& table) {
  ProjectRecord run = record;
  if (sizeIndex) run.facility.form2.lst_pu = *sizeIndex;
  const CheckRunOutcome outcome = CheckRun(run);

  SizingRow row;
  if (outcome.passed) {
    row.section = run.derived.mainSection.geometry;
    row.R = run.derived.mainCapacity.R;
    row.V = run.run.V;
    row.Q2 = run.run.Q2;
    row.verdict = run.run.verdict;
    table.Q1 = run.run.Q1;
  } else {
    NoteProblem(table.problems, outcome.failure);
    FillComputableParts(run, row);
  }

  const MainCheckNumbers& m = run.derived.main;
  if (sizeIndex) {
    const auto size = LookupPipe(*MaterialFromKind(run.main.lst_s), *sizeIndex);
    row.label = size->storedName;
    row.D = size->D;
  } else if (run.main.lst_s == 4) {
    row.label = run.facility.form5.txt_m;
    row.D = m.D;
  } else {
    row.label = run.facility.form1.txt_m;
    row.rectangular = true;
    row.B = m.B;
    row.H = m.H;
  }
  return row;
}

}  // namespace

SizeTableResult SizeTable(const ProjectRecord& record) {
  SizeTableResult table;
  const int kind = record.main.lst_s;
  if (const auto material = MaterialFromKind(kind)) {
    const int count = static_cast<int>(PipeSizes(*material).size());
    for (int i = 0; i < count; ++i) table.rows.push_back(ComputeRow(record, i, table));
  } else if (kind == 4 || kind == 5) {
    table.rows.push_back(ComputeRow(record, std::nullopt, table));
  } else {
    table.problems.push_back(CalcError{"施設の種類を選択してください。", "Form25.lst_s"});
    return table;
  }

  // The catalogues list their sizes smallest first, so the first passing
  // row is the smallest passing size.
  const auto passing = std::find_if(table.rows.begin(), table.rows.end(), [](const SizingRow& row) {
    return row.verdict == Verdict::OK;
  });
  if (passing != table.rows.end()) passing->smallestPassing = true;
  for (SizingRow& row : table.rows)
    if (row.V) row.velocityInRange = *row.V >= kUsualVelocityMin && *row.V <= kUsualVelocityMax;
  return table;
}

}  // namespace mk
