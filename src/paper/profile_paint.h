#pragma once
// A drawing list (drawing/drawing.h) painted with QPainter: on screen, on a
// printer and into a PDF, exactly to scale (one sheet millimetre is one
// millimetre of paper), the texts in the report's Mincho.

#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "drawing/drawing.h"

class QPainter;
class QPagedPaintDevice;

namespace mk {

// Paints `sheet` so that its paper fills `target` (device units; the
// sheet's aspect is kept by the caller).  White paper first when `paper`.
void PaintSheet(QPainter& painter, const drawing::Sheet& sheet, const QRectF& target, bool paper = true);

// The page of a sheet: its size, landscape, no margins (the drawing's
// frame keeps its own).
QPageLayout SheetPageLayout(const drawing::Sheet& sheet);

// One page per sheet on `device` (ready to paint, its page layout set to
// the sheets' paper with the painter at the paper's corner).  False when
// the device could not be painted on or refused a new page.
bool PaintSheets(QPagedPaintDevice& device, const std::vector<drawing::Sheet>& sheets);

// The sheets as a PDF file, replaced only once the whole file is written;
// the message to show when it could not be written.
std::optional<QString> WriteSheetsPdf(const std::vector<drawing::Sheet>& sheets, const QString& title,
                                      const QString& path);

}  // namespace mk
