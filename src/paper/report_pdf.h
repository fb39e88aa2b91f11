#pragma once
// The report as a PDF file: the two printed pages, drawn exactly as on
// paper (the paper font and size, the PDF sheet of PdfPageLayout), for the
// screens' "PDFに出力" and the headless report command.

#include <QString>

#include <optional>

#include "model/project_record.h"
#include "report/page_split.h"

class QPagedPaintDevice;

namespace mk {

// Draws the two pages on `device` (which must be ready to paint) with the
// paper font: page 1, a new page, page 2.  False when the device could not
// be painted on or refused the new page.
bool DrawReportPages(QPagedPaintDevice& device, const PrintPages& pages);

// Composes the report afresh from `record` and writes its two pages to the
// PDF file `path`.  The file is replaced only once the whole document has
// been written, so a failure leaves an existing file as it was.  Returns
// the message to show when the file could not be written.
std::optional<QString> WriteReportPdf(const ProjectRecord& record, const QString& path);

}  // namespace mk
