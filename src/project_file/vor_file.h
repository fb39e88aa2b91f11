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
// file intact.  Returns an error message (Japanese, for the screens) or
// nothing.  A text holding a character CP932 cannot hold, or a line break,
// is not saved: the message names the character.
std::optional<QString> WriteProjectFile(const QString& path, const ProjectRecord& record);

// Reads a project into `record` (which the caller has closed): tolerant
// reading of the lines in order, deciding each block on the values already
// read.  A line that does not convert to its field (an option that is
// neither "True" nor "False", a list index outside its list) leaves the
// field as it was; an option read as true clears the rest of its group.
// Choosing the main or the flow-time facility kind starts that facility's
// fields from their defaults.  CR LF, LF or CR end a line; at most the 133
// lines the layout can use are read.  Does not recompute.  Returns an error
// message only when the file cannot be opened at all.
std::optional<QString> ReadProjectFile(const QString& path, ProjectRecord& record);

// The same from lines already decoded (used by tests and fuzzing).
void ReadProjectLines(const std::vector<std::string>& lines, ProjectRecord& record);

}  // namespace mk
