#pragma once
// The profile's files at the byte boundary: the DXF with its texts in CP932
// through the program's own codec, and the SVG (UTF-8).  Both are written
// whole through a QSaveFile, so a failure leaves an existing file as it was.

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "drawing/dxf_writer.h"

namespace mk {

// The encoder the DXF writer takes, over EncodeCp932.
drawing::Cp932Encoder ProgramCp932Encoder();

// The DXF's bytes, or the refusal naming a character CP932 lacks.
drawing::DxfFile ProfileDxf(const std::vector<drawing::Sheet>& sheets);

// Writes the DXF; the message to show (a refused character, or the file
// that could not be written) or nothing.
std::optional<QString> WriteProfileDxf(const std::vector<drawing::Sheet>& sheets, const QString& path);

// Writes the SVG; the message to show or nothing.
std::optional<QString> WriteProfileSvg(const std::vector<drawing::Sheet>& sheets, const QString& path);

}  // namespace mk
