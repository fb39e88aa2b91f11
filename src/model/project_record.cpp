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

}  // namespace mk
