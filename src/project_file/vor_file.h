#pragma once
// The .vor project file: one value per line in a fixed order, CP932, CR LF.

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "model/project_record.h"
#include "project_file/vor_lines.h"

namespace mk {

// Writes the project through a QSaveFile: a failed save leaves the previous
// file intact.  Returns an error message (Japanese, for the screens) or
// nothing.  A text holding a character CP932 cannot hold, or a line break,
// is not saved: the message names the character.
std::optional<QString> WriteProjectFile(const QString& path, const ProjectRecord& record);

// Reads a project into `record` (which the caller has closed): the file's
// lines split and decoded, then read as ReadProjectLines reads them.  Does
// not recompute.  Returns an error message only when the file cannot be
// opened at all.
std::optional<QString> ReadProjectFile(const QString& path, ProjectRecord& record);

}  // namespace mk
