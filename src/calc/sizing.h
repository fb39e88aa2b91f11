#pragma once
// The pipe sizing table: the project's check run repeated for every
// catalogue size of its facility material, so the engineer sees at once
// which sizes carry the planned flow Q1 and which is the smallest that does.

#include <optional>
#include <string>
#include <vector>

#include "calc/calc_error.h"
#include "model/hydraulic_types.h"
#include "model/project_record.h"

namespace mk {

struct SizingRow {
  // The catalogue pipe's stored name ("ﾋｭｰﾑ管 φ1000"), or for the other
  // circular and the rectangular pipe the name typed on its screen.
  std::string label;
  bool rectangular = false;  // true: B and H are the dimensions, D is unused
  double D = 0.0;            // m
  double B = 0.0, H = 0.0;   // m

  // Each part is present only when it can be computed: the section when the
  // depth choice is a list entry; R when A and P are positive; V and Q2 when
  // a velocity formula is chosen and the capacity can be computed; the
  // verdict when the whole check run passes for this size.
  std::optional<SectionGeometry> section;
  std::optional<double> R;
  std::optional<double> V;
  std::optional<double> Q2;
  std::optional<Verdict> verdict;
  bool smallestPassing = false;  // the smallest size whose verdict is O.K
  // V against the usual velocity range (kUsualVelocityMin..Max), when V
  // is known.  Shown beside the verdict; the verdict does not change.
  std::optional<bool> velocityInRange;
};

// The usual range of the velocity at the design flow for combined and
// storm sewers, m/sec (also the network table's default design criteria).
inline constexpr double kUsualVelocityMin = 0.8;
inline constexpr double kUsualVelocityMax = 3.0;

struct SizeTableResult {
  // Catalogue pipes (facility kinds 0..3): every size of the material in
  // list order (smallest first).  Other circular and rectangular pipe: one
  // row, the section typed on its screen.  No facility kind: no rows.
  std::vector<SizingRow> rows;
  std::optional<double> Q1;  // as the check run computes it, when it passes
  // Why some part of a row is missing: the check run's own message (the
  // first of each distinct one, in row order).  Empty when every row has
  // its verdict.
  std::vector<CalcError> problems;
};

// The table for the project as it stands: each size's section with the
// project's depth choice, and the check run with the project's slope,
// roughness, velocity formula and flows.  The record is not changed.
SizeTableResult SizeTable(const ProjectRecord& record);

}  // namespace mk
