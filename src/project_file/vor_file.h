#pragma once
// The .vor project file: one value per line in a fixed order, CP932, CR LF.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "model/project_record.h"

namespace mk {

// The file's lines (UTF-8, without line ends) from the record.
std::vector<std::string> ProjectFileLines(const ProjectRecord& record);

// Writes the project through a QSaveFile: a failed save leaves the previous
// file intact.  Returns an error message (Japanese, for the screens) or nothing.
std::optional<QString> WriteProjectFile(const QString& path, const ProjectRecord& record);

// Reads a project into `record` (which the caller has closed): tolerant
// reading of the lines in order, deciding each block on the values already
// read.  Does not recompute.  Returns an error message only when the file
// cannot be opened at all.
std::optional<QString> ReadProjectFile(const QString& path, ProjectRecord& record);

// The same from lines already decoded (used by tests and fuzzing).
void ReadProjectLines(const std::vector<std::string>& lines, ProjectRecord& record);

}  // namespace mk
