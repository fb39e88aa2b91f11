#pragma once
// The report text file "Gouryu.txt": each Write appends one report.

#include <QString>
#include <optional>

#include "model/project_record.h"

namespace mk {

inline constexpr const char* kReportFileName = "Gouryu.txt";

struct WriteReportResult {
  std::optional<QString> error;  // message for the user when the write failed
  bool verdictIsNo = false;      // the caller sounds one beep
};

// Composes the report from the record and appends its lines to `path`
// (CP932, CR LF after every line).  An existing file is never truncated.
WriteReportResult Kakikomi(const ProjectRecord& record, const QString& path = kReportFileName);

}  // namespace mk
