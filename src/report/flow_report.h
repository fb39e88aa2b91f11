#pragma once
// The calculation report as an ordered list of lines (UTF-8).

#include <string>
#include <vector>

#include "model/project_record.h"

namespace mk {

struct FlowReport {
  std::vector<std::string> lines;
  bool verdictIsNo = false;      // the report ends in "∴ NO" (a beep is due)
  int verdictLineIndex = -1;     // index of the verdict line, -1 when none
};

// Composes the report from the record as it stands; reads the record only.
FlowReport ComposeFlowReport(const ProjectRecord& record);

}  // namespace mk
