#include "project_file/profile_file.h"

#include "drawing/svg_writer.h"
#include "project_file/cp932.h"
#include "project_file/save_file.h"

namespace mk {

drawing::Cp932Encoder ProgramCp932Encoder() {
  return [](std::string_view utf8, std::string* badChar) -> std::optional<std::string> {
    const std::optional<QByteArray> bytes = EncodeCp932(utf8, badChar);
    if (!bytes) return std::nullopt;
    return bytes->toStdString();
  };
}

drawing::DxfFile ProfileDxf(const std::vector<drawing::Sheet>& sheets) {
  return drawing::WriteDxf(sheets, ProgramCp932Encoder());
}

std::optional<QString> WriteProfileDxf(const std::vector<drawing::Sheet>& sheets, const QString& path) {
  const drawing::DxfFile dxf = ProfileDxf(sheets);
  if (!dxf.ok()) return QString::fromStdString(*dxf.refusal);
  return SaveFileWhole(path, QByteArray::fromStdString(dxf.bytes));
}

std::optional<QString> WriteProfileSvg(const std::vector<drawing::Sheet>& sheets, const QString& path) {
  return SaveFileWhole(path, QByteArray::fromStdString(drawing::WriteSvg(sheets)));
}

}  // namespace mk
