// mirukana-report: a project's calculation report without a display.
//
// The project is read exactly as the program's Open reads it (the tolerant
// reader, then the recompute from the restored inputs), so the report printed
// here is the report the program would show, print or write for that file.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "calc/recompute.h"
#include "calc/sizing.h"
#include "cli/pdf_command.h"
#include "cli/table_command.h"
#include "model/number_text.h"
#include "model/project_record.h"
#include "project_file/report_file.h"
#include "project_file/vor_file.h"
#include "report/flow_report.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFileError = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage:\n"
    "  mirukana-report PROJECT.vor\n"
    "      Print the calculation report of the project to standard output\n"
    "      (UTF-8, each line ending in LF).\n"
    "  mirukana-report --append FILE PROJECT.vor\n"
    "      Append the report to FILE as the program's Write does\n"
    "      (CP932, each line ending in CR LF).  FILE is created when missing.\n"
    "  mirukana-report --summary PROJECT.vor...\n"
    "      Print one line per project, fields separated by tabs: the file name\n"
    "      as given, Q1, Q2 (m3/sec) and V (m/sec) as 0.0000, and O.K or NO.\n"
    "  mirukana-report --sizes PROJECT.vor\n"
    "      Print the pipe sizing table: one line per catalogue size of the\n"
    "      project's pipe material, smallest first (for the other circular\n"
    "      pipe or the rectangular pipe, one line: the section typed), each\n"
    "      size checked as the project's calculation run checks it.  Nine\n"
    "      fields separated by tabs, no header line:\n"
    "        size name, D (m) or for the rectangular pipe B×H (width×height,\n"
    "        m), A (m2), P (m), R (m), V (m/sec), Q2 (m3/sec), each as 0.0000;\n"
    "        O.K or NO against the project's Q1; \"*\" on the smallest size\n"
    "        that passes, empty on every other line.\n"
    "      A value that cannot be computed is printed as \"-\"; then the\n"
    "      reason goes to standard error and the exit status is 1.\n"
    "  mirukana-report --pdf OUT.pdf PROJECT.vor\n"
    "      Write the report's two printed pages to OUT.pdf (A4), as the\n"
    "      program's PDF output does; no display is needed.\n"
    "  mirukana-report --table [--csv] TABLE.mkt\n"
    "      Print the computed network flow table as tab-separated lines with a\n"
    "      header line (exit status 1 when any segment is NO), or with --csv\n"
    "      its segment rows as the CSV export (CP932, CR LF).\n"
    "  mirukana-report --help\n"
    "      Print this text.\n"
    "\n"
    "Each project is read as Open reads it and recomputed from its inputs.\n"
    "\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  a file could not be read or written (the message names the file),\n"
    "     or with --sizes the project cannot be checked (the table is still\n"
    "     printed)\n"
    "  2  wrong usage (this text is printed to standard error)\n";

void PutText(std::FILE* stream, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

int UsageError(const QString& problem) {
  PutText(stderr, QStringLiteral("mirukana-report: ") + problem + QLatin1Char('\n'));
  std::fputs(kUsage, stderr);
  return kExitUsage;
}

void ReportFailure(const QString& message) {
  PutText(stderr, QStringLiteral("mirukana-report: ") + message + QLatin1Char('\n'));
}

// Reads a project as Open does.  Fails only when the file cannot be opened.
bool OpenProject(const QString& path, mk::ProjectRecord& record) {
  mk::CloseProjectGroups(record);
  if (const auto error = mk::ReadProjectFile(path, record)) {
    ReportFailure(*error);
    return false;
  }
  mk::RecomputeAfterOpen(record);
  return true;
}

bool FlushStandardOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    ReportFailure(QStringLiteral("cannot write to standard output"));
    return false;
  }
  return true;
}

int PrintReport(const QString& project) {
  mk::ProjectRecord record;
  if (!OpenProject(project, record)) return kExitFileError;
  for (const std::string& line : mk::ComposeFlowReport(record).lines) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return FlushStandardOutput() ? kExitSuccess : kExitFileError;
}

int AppendReport(const QString& target, const QString& project) {
  mk::ProjectRecord record;
  if (!OpenProject(project, record)) return kExitFileError;
  const mk::WriteReportResult result = mk::Kakikomi(record, target);
  if (result.error) {
    ReportFailure(*result.error);
    return kExitFileError;
  }
  return kExitSuccess;
}

int PrintSummary(const QStringList& projects) {
  int status = kExitSuccess;
  for (const QString& project : projects) {
    mk::ProjectRecord record;
    if (!OpenProject(project, record)) {
      status = kExitFileError;  // the other files are still summarised
      continue;
    }
    const mk::RunResult& run = record.run;
    const std::string line = project.toStdString() + '\t' + mk::FormatNumber(run.Q1, "0.0000") + '\t' +
                             mk::FormatNumber(run.Q2, "0.0000") + '\t' + mk::FormatNumber(run.V, "0.0000") +
                             '\t' + (run.verdict == mk::Verdict::OK ? "O.K" : "NO") + '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  if (!FlushStandardOutput()) return kExitFileError;
  return status;
}

// A field of a tab-separated line: a typed name may not break the line up.
std::string TableField(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

std::string TableNumber(const std::optional<double>& value) {
  return value ? mk::FormatNumber(*value, "0.0000") : std::string("-");
}

int PrintSizes(const QString& project) {
  mk::ProjectRecord record;
  if (!OpenProject(project, record)) return kExitFileError;
  const mk::SizeTableResult table = mk::SizeTable(record);
  for (const mk::SizingRow& row : table.rows) {
    const std::string dimension = row.rectangular ? mk::FormatNumber(row.B, "0.0000") + "×" +
                                                        mk::FormatNumber(row.H, "0.0000")
                                                  : mk::FormatNumber(row.D, "0.0000");
    std::optional<double> A, P;
    if (row.section) {
      A = row.section->A;
      P = row.section->P;
    }
    const char* verdict = !row.verdict ? "-" : *row.verdict == mk::Verdict::OK ? "O.K" : "NO";
    const std::string line = TableField(row.label) + '\t' + dimension + '\t' + TableNumber(A) + '\t' +
                             TableNumber(P) + '\t' + TableNumber(row.R) + '\t' + TableNumber(row.V) + '\t' +
                             TableNumber(row.Q2) + '\t' + verdict + '\t' + (row.smallestPassing ? "*" : "") +
                             '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  if (!FlushStandardOutput()) return kExitFileError;
  for (const mk::CalcError& problem : table.problems) {
    ReportFailure(project + QStringLiteral(": ") + QString::fromStdString(problem.message));
  }
  return table.problems.empty() ? kExitSuccess : kExitFileError;
}

bool IsOption(const QString& arg) { return arg.size() > 1 && arg.startsWith(QLatin1Char('-')); }

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
  // The report is UTF-8 with LF line ends, whatever the console's defaults.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  // --pdf needs a GUI application (fonts, painting): it makes its own.
  if (mk::cli::IsPdfCommand(argc, argv)) return mk::cli::RunPdfCommand(argc, argv);
  QCoreApplication app(argc, argv);  // arguments in the platform's encoding; no display
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();

  if (args.isEmpty()) return UsageError(QStringLiteral("no project file given"));
  const QString mode = args.first();
  if (mode == QLatin1String("--help") || mode == QLatin1String("-h")) {
    std::fputs(kUsage, stdout);
    return FlushStandardOutput() ? kExitSuccess : kExitFileError;
  }

  // What follows the mode; a "--" ends the options, so a file name may begin with "-".
  auto operands = [&args](qsizetype from, QStringList& out) {
    out = args.mid(from);
    if (!out.isEmpty() && out.first() == QLatin1String("--")) {
      out.removeFirst();
      return true;
    }
    for (const QString& arg : out) {
      if (IsOption(arg)) return false;
    }
    return true;
  };
  QStringList files;

  if (mode == QLatin1String("--append")) {
    if (!operands(1, files)) return UsageError(QStringLiteral("unexpected option after --append"));
    if (files.size() != 2) return UsageError(QStringLiteral("--append takes FILE and PROJECT.vor"));
    return AppendReport(files[0], files[1]);
  }
  if (mode == QLatin1String("--summary")) {
    if (!operands(1, files)) return UsageError(QStringLiteral("unexpected option after --summary"));
    if (files.isEmpty()) return UsageError(QStringLiteral("--summary takes at least one PROJECT.vor"));
    return PrintSummary(files);
  }
  if (mode == QLatin1String("--table")) return mk::cli::RunTableCommand(args.mid(1));
  if (mode == QLatin1String("--sizes")) {
    if (!operands(1, files)) return UsageError(QStringLiteral("unexpected option after --sizes"));
    if (files.size() != 1) return UsageError(QStringLiteral("--sizes takes exactly one PROJECT.vor"));
    return PrintSizes(files[0]);
  }
  if (mode != QLatin1String("--") && IsOption(mode)) {
    return UsageError(QStringLiteral("unknown option ") + mode);
  }
  if (!operands(0, files)) return UsageError(QStringLiteral("options come before the project file"));
  if (files.size() != 1) return UsageError(QStringLiteral("give exactly one PROJECT.vor"));
  return PrintReport(files[0]);
}
