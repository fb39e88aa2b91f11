#pragma once
// mirukana-report --profile TABLE.mkt [--from NODE] [--a4] [--scale H:V]
//   (--pdf OUT.pdf | --dxf OUT.dxf | --svg OUT.svg)
// The longitudinal profile of one flow path of a network flow table,
// without a display.

namespace mk::cli {

// True when the command line asks for --profile.  Checked before any Qt
// application exists: the PDF needs a GUI application (fonts, painting).
bool IsProfileCommand(int argc, char* argv[]);

// Runs the command and returns its exit status (exit_status.h): 0 when the
// drawing is written and every row of the table is O.K and passes its
// checks, 1 when it is written and a row is NO or fails a check, 2 when
// nothing could be written (a file that cannot be read or written, a table
// or path that cannot be drawn, a text CP932 lacks, wrong usage).
int RunProfileCommand(int argc, char* argv[]);

}  // namespace mk::cli
