#pragma once
// Hydraulic radius, slope ratio, Manning and Kutter velocity, capacity.

#include "calc/calc_error.h"
#include "model/hydraulic_types.h"

namespace mk {

double HydraulicRadius(double A, double P);  // R = A / P
double SlopeRatio(double x);                 // I = x / 1000 (x in per mille)
double ManningVelocity(double n, double R, double I);

struct KutterVelocityResult {
  double V = 0.0;
  double numerator = 0.0;    // (1/n + 23) + 0.00155/I
  double denominator = 0.0;  // ((0.00155/I + 23) * n) / R^0.5 + 1
  double rootRI = 0.0;       // (I * R)^0.5
};
KutterVelocityResult KutterVelocity(double n, double R, double I);

// R, I, V (and the Kutter intermediates), then Q2 = V * A.  Refuses a
// non-positive area, perimeter, roughness or slope, where the formulas would
// divide by zero or take a root of a negative number.
Outcome<CapacityResult> ComputeCapacity(const SectionGeometry& section, double x, double n,
                                        VelocityFormula formula);

}  // namespace mk
