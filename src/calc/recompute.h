#pragma once
// What Open recomputes from the inputs it has read, without validation:
// the facility's numbers and section, the run result (the stored result
// captions are kept), the intensity (Keisan_1, Keisan_2), the runoff
// coefficient (Ryusyutu_1, Ryusyutu_2), the flow-time velocity and the
// sewage flow.  Never fails and never crashes, whatever the record holds.

#include "model/project_record.h"

namespace mk {

void RecomputeAfterOpen(ProjectRecord& record);

}  // namespace mk
