#include "ui/pdf_export.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "paper/report_pdf.h"
#include "ui/print_image.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

namespace mk {

QString DefaultPdfPath(const QString& projectFile) {
  if (projectFile.isEmpty()) return QDir(DocumentsFolder()).filePath(QStringLiteral("流量計算書.pdf"));
  const QFileInfo project(projectFile);
  return project.dir().filePath(project.completeBaseName() + QStringLiteral(".pdf"));
}

bool ExportReportPdf(ScreenHost& host, QWidget* parent) {
  Prompter& prompter = host.prompter();
  QString path = prompter.chooseFile(
      parent, FileDialogRequest{true, QStringLiteral("PDFに出力"), DefaultPdfPath(!host.projectFileName().isEmpty() ? host.projectFileName() : host.proposedFileName()),
                                QStringLiteral("PDF(.pdf) (*.pdf)")});
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  if (QFileInfo::exists(path)) {
    const PromptAnswer answer = prompter.ask(
        parent, PromptRequest{QStringLiteral("上書き保存の確認"),
                              QStringLiteral("同名ファイルがあります。上書き保存しますか？"), PromptButtons::YesNo,
                              PromptIcon::Stop, PromptAnswer::No});
    if (answer != PromptAnswer::Yes) return false;
  }
  const ProjectRecord& record = host.record();
  if (const auto error = WriteReportPdf(record, path)) {
    prompter.error(parent, *error);
    return false;
  }
  if (record.run.verdict == Verdict::NO) prompter.beep();
  return true;
}

}  // namespace mk
