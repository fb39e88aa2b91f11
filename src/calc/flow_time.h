#pragma once
// Velocity of the upstream conduit that sets the flow time t2 = L / (60 V).
// The facility kind is Form17's list (record.flowTime.lst_s): 0..3 catalogue
// pipes and 5 U-trough (Form18), 4 other circular pipe (Form20), 6 U or
// trapezoid ditch (Form19), 7 irregular channel (Form21).
//
// Results go to record.derived.flowTimeSection / flowTimeCapacity /
// flowTimeSlope / flowTimeRoughness only; the main check is never touched.

#include <functional>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

// Screen code of a Form17 list index: 1 Form18, 2 Form19, 3 Form20, 4 Form21; 0 otherwise.
int FlowTimeScreenCodeForKind(int kind);

// "計算" on the flow-time facility screen of the current kind: the screen's
// checks in order (focus names such as "Form17.opt1", "Form18.txt1",
// "Form21.txt_x1"), then the section and R, I, V by Form17's formula.
// On success the derived flow-time values are stored and V is returned;
// on failure nothing in the record changes.  `sectionDone`, when given, is
// called once the checks and the section have passed and before R, I and V
// are computed (the irregular channel draws its outline there, so a slope or
// roughness that the velocity refuses still shows the outline).
Outcome<double> RunFlowTimeVelocity(ProjectRecord& record,
                                    const std::function<void()>& sectionDone = {});

// The same computation without the screen checks, as Open repeats it.
// A section or velocity that cannot be computed leaves the derived
// flow-time values zeroed instead of failing.
void RecomputeFlowTimeVelocity(ProjectRecord& record);

}  // namespace mk
