#include "cli/pdf_command.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

#include "calc/recompute.h"
#include "cli/exit_status.h"
#include "paper/report_pdf.h"
#include "project_file/vor_file.h"

namespace mk::cli {
namespace {

constexpr const char* kPdfUsage =
    "Usage: mirukana-report --pdf OUT.pdf PROJECT.vor\n"
    "  Write the report's two printed pages to OUT.pdf (A4).  An existing\n"
    "  OUT.pdf is replaced only when the new file is complete.\n";

// Qt's own notices (a missing runtime folder, font fallbacks) are not this
// command's output; its messages go to standard error by Complain.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    const QByteArray text = message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
  }
}

void Complain(const QString& message) {
  const QByteArray text = (QStringLiteral("mirukana-report: ") + message + QLatin1Char('\n')).toUtf8();
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
}

}  // namespace

bool IsPdfCommand(int argc, char* argv[]) { return argc > 1 && std::strcmp(argv[1], "--pdf") == 0; }

int RunPdfCommand(int argc, char* argv[]) {
  // Fonts and painting need a GUI application; the offscreen platform needs
  // no display, whatever the environment names.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtMessages);
  QGuiApplication app(argc, argv);
  QStringList operands = QCoreApplication::arguments().mid(2);
  if (!operands.isEmpty() && operands.first() == QLatin1String("--")) {
    operands.removeFirst();
  } else {
    for (const QString& arg : operands) {
      if (arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) {
        Complain(QStringLiteral("unexpected option after --pdf: ") + arg);
        std::fputs(kPdfUsage, stderr);
        return kExitTrouble;
      }
    }
  }
  if (operands.size() != 2) {
    Complain(QStringLiteral("--pdf takes OUT.pdf and PROJECT.vor"));
    std::fputs(kPdfUsage, stderr);
    return kExitTrouble;
  }
  const QString& output = operands[0];
  const QString& project = operands[1];

  ProjectRecord record;
  CloseProjectGroups(record);
  if (const auto error = ReadProjectFile(project, record)) {
    Complain(*error);
    return kExitTrouble;
  }
  RecomputeAfterOpen(record);
  if (const auto error = WriteReportPdf(record, output)) {
    Complain(*error);
    return kExitTrouble;
  }
  return record.run.verdict == Verdict::NO ? kExitNo : kExitOk;
}

}  // namespace mk::cli
