#pragma once
// "PDFに出力": the report's two printed pages to a PDF file the user names,
// from the main window's File menu and the print-image windows.

class QString;
class QWidget;

namespace mk {

class ScreenHost;

// The name the save dialog proposes: the project file's name with ".pdf"
// ("project.vor" → "project.pdf") in its folder; "流量計算書.pdf" in the
// documents folder for a project not saved yet.
QString DefaultPdfPath(const QString& projectFile);

// Asks for the file (save dialog; an existing file is replaced only after
// the same confirmation as Save As), composes the report afresh from the
// record and writes it.  One beep when the verdict is NO, as printing
// gives; a failed write is shown as a message and leaves an existing file
// as it was.  Returns true when the file was written.
bool ExportReportPdf(ScreenHost& host, QWidget* parent);

}  // namespace mk
