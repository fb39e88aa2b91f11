#pragma once
// The main check: read the numbers, validate, compute the section, the
// flows, the velocity and capacity, and the verdict.

#include <optional>
#include <string>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

// What the results screen and the main window show after a run.
struct CheckRunOutcome {
  bool passed = false;
  // When the run stopped: the message and the control to focus, written as
  // "Form.control" ("Form25.txt_c", "Form2.txt1", "Form5.cbo1").
  CalcError failure;
  // Check 4 (planned sewage flow missing) switched the sewage choice to
  // direct entry in the record (opt8 true); the screen shows txt3 bordered.
  bool switchedSewageToDirect = false;

  // When the run passed (the same values are stored in record.run and
  // record.results):
  std::string lbl3, lbl6, lbl9;  // Q1, Q2, V as "0.0000"
  std::string lbl16, lbl17;      // surcharge factor "0.0#" and "×"; both empty when the factor is 1
  std::string statusNotice;      // the status-bar text for O.K or NO
  bool beep = false;             // NO verdict: one beep, Q2 shown in light magenta
};

// Reads C, I, area, q, g, s, slope, roughness and the facility dimensions
// into record.derived.main (kept even when a check then fails).
void ReadMainCheckNumbers(ProjectRecord& record);

// The facility's section into record.derived.mainSection.
Outcome<SectionGeometry> ComputeMainSection(ProjectRecord& record);

// The whole run as the facility screen's "計算" starts it.
CheckRunOutcome CheckRun(ProjectRecord& record);

// The run's computation from the stored numbers without the checks (as Open
// repeats it).  Stores record.run (exists = true) and the captions; a
// capacity that cannot be computed leaves V = Q2 = 0.
void RecomputeRunResult(ProjectRecord& record);

}  // namespace mk
