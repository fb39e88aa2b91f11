#include "model/project_record.h"

namespace mk {

void DiscardRunResult(ProjectRecord& record) {
  record.results = ResultCaptions{};
  record.run.exists = false;
  record.run.Q2 = 0.0;
}

void CloseProjectGroups(ProjectRecord& record) {
  record.main = MainScreenInputs{};
  record.facility = FacilityScreenInputs{};
  DiscardRunResult(record);
  record.intensity = IntensityScreenInputs{};
  record.runoff = RunoffScreenInputs{};
  record.flowTime = FlowTimeFacilityInputs{};
  record.flowTime.FlowTimeScreenCode = " 0 ";
}

void NewProject(ProjectRecord& record) {
  CloseProjectGroups(record);
  record.main = MainScreenInputs{};
  record.facility = FacilityScreenInputs{};
}

bool SameInputs(const ProjectRecord& a, const ProjectRecord& b) {
  return a.main == b.main && a.facility == b.facility && a.intensity == b.intensity && a.river == b.river &&
         a.inflowCopies == b.inflowCopies && a.inflow == b.inflow && a.runoff == b.runoff &&
         a.flowTime == b.flowTime && a.sewage == b.sewage;
}

}  // namespace mk
