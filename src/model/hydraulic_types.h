#pragma once
// Value types shared by the sections, the velocity formulas, the record and
// the report.

namespace mk {

enum class VelocityFormula { Manning, Kutter };

// Flow area and wetted perimeter of a section at its effective depth.
struct SectionGeometry {
  double A = 0.0;  // m2
  double P = 0.0;  // m
  bool operator==(const SectionGeometry&) const = default;
};

// Hydraulic radius, slope ratio, velocity, capacity and the three Kutter
// intermediates (set only for Kutter; the report prints them).
struct CapacityResult {
  double R = 0.0;
  double I = 0.0;
  double V = 0.0;
  double Q2 = 0.0;
  double kutterNumerator = 0.0;
  double kutterDenominator = 0.0;
  double kutterRootRI = 0.0;
  bool operator==(const CapacityResult&) const = default;
};

enum class Verdict { OK, NO };

}  // namespace mk
