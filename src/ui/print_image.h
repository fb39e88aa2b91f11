#pragma once
// Printing the report: FilePrint with its seam to the platform's printers,
// and the printer's page.  The report font and the drawing surface are in
// paper/report_paint.h.
//
// The lines of each page and their colours come ready from
// SplitReportPages (report/page_split.h), which alone decides which lines
// go on page 1 and which on page 2; the print image and the printer only
// draw the page they are given.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include "paper/report_paint.h"
#include "report/page_split.h"

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace mk {

class Prompter;
class ScreenHost;

// The printer's page in points: the whole sheet and the top-left corner of
// its printable area.  With no printer installed: an A4 sheet with the
// margins a PDF printout gets.
struct PageGeometry {
  QSizeF pageSize;
  QPointF printableOrigin;
};
PageGeometry DefaultPrinterPage();

// Sets a printer up for PDF output to `path` on an A4 sheet.
void ConfigurePdfPrinter(QPrinter& printer, const QString& path);

// The seam between FilePrint and the platform: whether printers are
// installed, and the printer dialog.  Tests replace it so that nothing ever
// blocks on a dialog.
class PrintDialogRunner {
 public:
  virtual ~PrintDialogRunner() = default;
  virtual bool hasPrinters() const;
  // Shows the printer dialog for `printer`; false when it was cancelled or
  // failed (nothing is printed then).
  virtual bool run(QPrinter& printer, QWidget* parent);
};

// Replaces the runner FilePrint uses (nullptr restores the platform's);
// returns the one that was in use.
PrintDialogRunner* SetPrintDialogRunner(PrintDialogRunner* runner);

// FilePrint: the printer dialog (cancel stops); then the report on two
// pages, composed afresh from the record; one beep when the verdict is NO.
// With no printer installed, the report goes to a PDF file the user
// chooses.  A failure after the dialog is passed over step by step; when
// nothing at all can be printed, a message says so.
void FilePrint(ScreenHost& host, QWidget* parent);

// The folder file dialogs start in: "ミルカナ" in the user's documents
// folder, created when missing.
QString DocumentsFolder();

// With no printer installed, printing goes to a PDF file: asks for it
// (".pdf" added to a name without a suffix).  Empty when cancelled.
QString ChoosePdfInsteadOfPrinter(Prompter& prompter, QWidget* parent);

}  // namespace mk
