#include "calc/recompute.h"

#include "calc/check_run.h"
#include "calc/flow_time.h"
#include "calc/intensity.h"
#include "calc/runoff.h"
#include "calc/sewage.h"

namespace mk {

void RecomputeAfterOpen(ProjectRecord& record) {
  // The numbers of whatever was open before must not leak into this
  // project: a value that is not computed below ("keeps its previous value")
  // is 0.  Form13's own numbers stay, as its screen outlives a project.
  const InflowTimeNumbers inflow = record.derived.inflow;
  record.derived = DerivedValues{};
  record.derived.inflow = inflow;

  // The facility screen's numbers and section, then the results screen's
  // calculation; the captions read from the file are what it shows.
  const ResultCaptions stored = record.results;
  ReadMainCheckNumbers(record);
  ComputeMainSection(record);  // a section that cannot be computed stays 0
  RecomputeRunResult(record);
  record.results = stored;

  if (record.main.opt4) RecomputeIntensity(record);
  if (record.main.opt6) {
    Ryusyutu_1(record);
    Ryusyutu_2(record);  // a zero total area leaves txt_c and txt_a as read
  }
  if (record.main.opt4 && record.intensity.Option8) RecomputeFlowTimeVelocity(record);
  if (record.main.opt7) SewageKeisan(record);
}

}  // namespace mk
