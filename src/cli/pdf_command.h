#pragma once
// mirukana-report --pdf OUT.pdf PROJECT.vor: the report's two printed pages
// as a PDF file, without a display.

namespace mk::cli {

// True when the command line asks for --pdf.  Checked before any Qt
// application object exists, since this command needs a GUI application
// (fonts, painting) where the others need only a core one.
bool IsPdfCommand(int argc, char* argv[]);

// Runs the command: reads the project as Open does, writes the PDF, and
// returns the exit status (exit_status.h): the verdict's on success,
// trouble when a file cannot be read or written or the usage is wrong.
int RunPdfCommand(int argc, char* argv[]);

}  // namespace mk::cli
