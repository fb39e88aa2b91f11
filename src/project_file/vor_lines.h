#pragma once
// The .vor project file's line layout, without the bytes: which value goes
// on which line, in which order, with which conditional blocks.  Standard
// C++ only, so that every front end (the desktop, the headless command, the
// browser) reads and writes the same lines; the CP932 bytes and the file
// itself are vor_file.h's business.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/project_record.h"

namespace mk {

// The most lines the layout can use: 19 + 6 + 3 + 35 + 37 + 26 + 7.
inline constexpr std::size_t kMaxLayoutLines = 133;

// The file's lines (UTF-8, without line ends) from the record.
std::vector<std::string> ProjectFileLines(const ProjectRecord& record);

// Reads a project into `record` (which the caller has closed) from lines
// already decoded: tolerant reading of the lines in order, deciding each
// block on the values already read.  A line that does not convert to its
// field (an option that is neither "True" nor "False", a list index outside
// its list) leaves the field as it was; an option read as true clears the
// rest of its group.  Choosing the main or the flow-time facility kind
// starts that facility's fields from their defaults.  Does not recompute.
void ReadProjectLines(const std::vector<std::string>& lines, ProjectRecord& record);

// Splits a file's bytes into its raw lines: CR LF, LF and a lone CR end a
// line, a last line without its line end counts, and at most the lines the
// layout can use are returned.  The views point into `bytes`.
std::vector<std::string_view> SplitProjectFileLines(std::string_view bytes);

}  // namespace mk
