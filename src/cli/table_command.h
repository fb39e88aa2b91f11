#pragma once
// mirukana-report --table: a network flow table file computed without a
// display, as tab-separated lines or as the table's CSV export.

#include <QStringList>

namespace mk::cli {

// Runs the command on the arguments that follow "--table":
//   FILE             the computed table, tab-separated, header line first
//   --csv FILE       the segment rows as the CSV export (CP932, CR LF)
// Returns the exit status: 0 every row O.K, 1 any row NO, 2 trouble (a file
// that cannot be read, a table that cannot be computed, wrong usage).
int RunTableCommand(const QStringList& args);

}  // namespace mk::cli
