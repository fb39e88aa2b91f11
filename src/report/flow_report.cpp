#include "report/flow_report.h"

namespace mk {

FlowReport ComposeFlowReport(const ProjectRecord& record) {
  (void)record;
  return FlowReport{};
}

}  // namespace mk
