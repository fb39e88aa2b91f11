// mirukana-report: a project's calculation report without a display.
//
// The project is read exactly as the program's Open reads it (the tolerant
// reader, then the recompute from the restored inputs), so the report printed
// here is the report the program would show, print or write for that file.
//
// Every command returns an exit status of exit_status.h: 0 all O.K, 1 a NO,
// 2 trouble with a one-line message on standard error.  A new command is one
// entry in kCommands in main() below (and its lines in the help texts).

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "calc/recompute.h"
#include "calc/sizing.h"
#include "cli/exit_status.h"
#include "cli/pdf_command.h"
#include "cli/profile_command.h"
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

using mk::cli::CombineExitStatus;
using mk::cli::kExitNo;
using mk::cli::kExitOk;
using mk::cli::kExitTrouble;

// --help prints the Japanese text, then the English one.
constexpr const char* kHelpJapanese =
    "使い方:\n"
    "  mirukana-report PROJECT.vor\n"
    "      プロジェクトの流量計算書を標準出力に出力します（UTF-8、改行は LF）。\n"
    "  mirukana-report --append FILE PROJECT.vor\n"
    "      流量計算書を、プログラムの書き込みと同じく FILE の末尾に追加します\n"
    "      （CP932、改行は CR LF）。FILE がなければ作ります。\n"
    "  mirukana-report --summary PROJECT.vor...\n"
    "      プロジェクトごとに一行、タブ区切りで出力します: 指定したファイル名、\n"
    "      Q1、Q2（m3/sec）、V（m/sec）を 0.0000 の形で、O.K または NO。\n"
    "  mirukana-report --sizes PROJECT.vor\n"
    "      管径の一覧を出力します: プロジェクトの管種のカタログの管径ごとに一行、\n"
    "      小さい順に（その他の円形管と矩形管は入力した断面の一行）、それぞれ\n"
    "      プロジェクトの計算と同じく照査します。タブ区切りの九つの欄、見出し行なし:\n"
    "        管径名、D（m）または矩形管の B×H（幅×高さ、m）、A（m2）、P（m）、\n"
    "        R（m）、V（m/sec）、Q2（m3/sec）を 0.0000 の形で、プロジェクトの Q1\n"
    "        に対する O.K または NO、通る最小の管径の行に「*」（ほかの行は空）。\n"
    "      計算できない値は「-」と出力し、その理由を標準エラー出力に出して\n"
    "      終了ステータス 1 で終わります。\n"
    "  mirukana-report --pdf OUT.pdf PROJECT.vor\n"
    "      流量計算書の印刷の二ページを OUT.pdf（A4）に書き出します。プログラムの\n"
    "      PDF 出力と同じです。画面は要りません。\n"
    "  mirukana-report --table [--csv [--results]] TABLE.mkt\n"
    "      流量計算表を計算し、見出し行に続けて区間ごとに一行、タブ区切りで\n"
    "      出力します。--csv では区間の行を CSV 出力の形（CP932、改行は CR LF）で\n"
    "      出力します。--csv --results では計算した表の全ての列を、表に並ぶ順に\n"
    "      表の見出しとともに同じ CSV の形で出力します。\n"
    "  mirukana-report --profile TABLE.mkt [--from NODE] [--a4] [--scale H:V]\n"
    "                  (--pdf OUT.pdf | --dxf OUT.dxf | --svg OUT.svg)\n"
    "      流量計算表の一つの流路の縦断図を書き出します。流路は NODE から放流先まで\n"
    "      （省略時は延長の最も長い流路）。用紙は A3 横（--a4 で A4 横）、縮尺は\n"
    "      横 1/H・縦 1/V（H は 250、500、1000、V は 50、100、200、既定 500:100）。\n"
    "      DXF は R12（CP932）、座標はメートル（X は追加距離、Y は標高×H/V）。\n"
    "      画面は要りません。\n"
    "  mirukana-report --help\n"
    "      この説明を出力します。\n"
    "\n"
    "プロジェクトはプログラムの「開く」と同じく読み込み、入力から再計算します。\n"
    "\n"
    "終了ステータス:\n"
    "  0  すべてのファイルを読み込み、判定はすべて O.K（または判定なし）\n"
    "  1  判定 NO が一つ以上ある（--sizes では、プロジェクトを照査できない。\n"
    "     一覧は出力します）\n"
    "  2  ファイルを読み込めない・書き込めない、または使い方の誤り（ファイル名を\n"
    "     挙げた一行のメッセージを標準エラー出力に出します）\n";

constexpr const char* kHelpEnglish =
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
    "  mirukana-report --table [--csv [--results]] TABLE.mkt\n"
    "      Print the computed network flow table as tab-separated lines with a\n"
    "      header line, or with --csv its segment rows as the CSV export\n"
    "      (CP932, CR LF), or with --csv --results every column of the computed\n"
    "      table, rows in the table's order, as the same kind of CSV.\n"
    "  mirukana-report --profile TABLE.mkt [--from NODE] [--a4] [--scale H:V]\n"
    "                  (--pdf OUT.pdf | --dxf OUT.dxf | --svg OUT.svg)\n"
    "      Write the longitudinal profile of one flow path of the network flow\n"
    "      table, from NODE down to the outlet (by default the longest path).\n"
    "      A3 landscape (--a4: A4), scales 1/H across and 1/V up (H one of\n"
    "      250, 500, 1000, V one of 50, 100, 200; default 500:100).  The DXF\n"
    "      is R12 in CP932, in metres: X the station, Y the level times H/V.\n"
    "      No display is needed.\n"
    "  mirukana-report --help\n"
    "      Print this text.\n"
    "\n"
    "Each project is read as Open reads it and recomputed from its inputs.\n"
    "\n"
    "Exit status:\n"
    "  0  every file read, and every verdict O.K (or no verdict)\n"
    "  1  at least one verdict NO (with --sizes: the project cannot be\n"
    "     checked; the table is still printed)\n"
    "  2  trouble: a file that cannot be read or written, or wrong usage (a\n"
    "     one-line message naming the file goes to standard error)\n";

void PutText(std::FILE* stream, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stream);
}

// One line on standard error.  A message written for a dialog (the file's
// name on its first line, the system's reason on the next) is joined into
// one line, so that a script reading the errors line by line gets one
// line per problem.
void Complain(QString message) {
  message.replace(QLatin1Char('\n'), QLatin1Char(' '));
  PutText(stderr, QStringLiteral("mirukana-report: ") + message + QLatin1Char('\n'));
}

int UsageError(const QString& japanese, const QString& english) {
  Complain(japanese + QStringLiteral("（") + english + QStringLiteral("）"));
  PutText(stderr, QStringLiteral("mirukana-report --help で使い方を表示します（--help shows the usage）。\n"));
  return kExitTrouble;
}

bool FlushStandardOutput() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    Complain(QStringLiteral("標準出力に書き込めませんでした。（cannot write to standard output）"));
    return false;
  }
  return true;
}

// Reads a project as Open does.  Fails only when the file cannot be opened.
bool OpenProject(const QString& path, mk::ProjectRecord& record) {
  mk::CloseProjectGroups(record);
  if (const auto error = mk::ReadProjectFile(path, record)) {
    Complain(*error);
    return false;
  }
  mk::RecomputeAfterOpen(record);
  return true;
}

// The status of a report: NO when the report's verdict line says NO.
int ReportStatus(const mk::FlowReport& report) { return report.verdictIsNo ? kExitNo : kExitOk; }

int PrintReport(const QString& project) {
  mk::ProjectRecord record;
  if (!OpenProject(project, record)) return kExitTrouble;
  const mk::FlowReport report = mk::ComposeFlowReport(record);
  for (const std::string& line : report.lines) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return FlushStandardOutput() ? ReportStatus(report) : kExitTrouble;
}

int AppendReport(const QString& target, const QString& project) {
  mk::ProjectRecord record;
  if (!OpenProject(project, record)) return kExitTrouble;
  const mk::WriteReportResult result = mk::Kakikomi(record, target);
  if (result.error) {
    Complain(*result.error);
    return kExitTrouble;
  }
  return ReportStatus(mk::ComposeFlowReport(record));
}

int PrintSummary(const QStringList& projects) {
  int status = kExitOk;
  std::string line;
  for (const QString& project : projects) {
    mk::ProjectRecord record;
    if (!OpenProject(project, record)) {
      status = CombineExitStatus(status, kExitTrouble);  // the other files are still summarised
      continue;
    }
    const mk::RunResult& run = record.run;
    const bool ok = run.verdict == mk::Verdict::OK;
    if (!ok) status = CombineExitStatus(status, kExitNo);
    line = project.toStdString();
    line += '\t';
    line += mk::FormatNumber(run.Q1, "0.0000");
    line += '\t';
    line += mk::FormatNumber(run.Q2, "0.0000");
    line += '\t';
    line += mk::FormatNumber(run.V, "0.0000");
    line += ok ? "\tO.K\n" : "\tNO\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
  }
  if (!FlushStandardOutput()) return kExitTrouble;
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
  if (!OpenProject(project, record)) return kExitTrouble;
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
  if (!FlushStandardOutput()) return kExitTrouble;
  for (const mk::CalcError& problem : table.problems) {
    Complain(project + QStringLiteral(": ") + QString::fromStdString(problem.message));
  }
  return table.problems.empty() ? kExitOk : kExitNo;
}

bool IsOption(const QString& arg) { return arg.size() > 1 && arg.startsWith(QLatin1Char('-')); }

// The operands of a command: the arguments that follow its option.  A "--"
// ends the options, so a file name may begin with "-"; without it, an
// option among the operands is wrong usage.
std::optional<QStringList> Operands(QStringList args) {
  if (!args.isEmpty() && args.first() == QLatin1String("--")) {
    args.removeFirst();
    return args;
  }
  if (std::any_of(args.begin(), args.end(), IsOption)) return std::nullopt;
  return args;
}

int RunAppend(const QStringList& args) {
  const auto files = Operands(args);
  if (!files) return UsageError(QStringLiteral("--append の後に余分なオプションがあります"), QStringLiteral("unexpected option after --append"));
  if (files->size() != 2) {
    return UsageError(QStringLiteral("--append には FILE と PROJECT.vor を指定してください"),
                      QStringLiteral("--append takes FILE and PROJECT.vor"));
  }
  return AppendReport(files->at(0), files->at(1));
}

int RunSummary(const QStringList& args) {
  const auto files = Operands(args);
  if (!files) return UsageError(QStringLiteral("--summary の後に余分なオプションがあります"), QStringLiteral("unexpected option after --summary"));
  if (files->isEmpty()) {
    return UsageError(QStringLiteral("--summary には PROJECT.vor を一つ以上指定してください"),
                      QStringLiteral("--summary takes at least one PROJECT.vor"));
  }
  return PrintSummary(*files);
}

int RunSizes(const QStringList& args) {
  const auto files = Operands(args);
  if (!files) return UsageError(QStringLiteral("--sizes の後に余分なオプションがあります"), QStringLiteral("unexpected option after --sizes"));
  if (files->size() != 1) {
    return UsageError(QStringLiteral("--sizes には PROJECT.vor を一つだけ指定してください"),
                      QStringLiteral("--sizes takes exactly one PROJECT.vor"));
  }
  return PrintSizes(files->at(0));
}

int RunHelp(const QStringList&) {
  std::fputs(kHelpJapanese, stdout);
  std::fputc('\n', stdout);
  std::fputs(kHelpEnglish, stdout);
  return FlushStandardOutput() ? kExitOk : kExitTrouble;
}

// No option: the report of one project.
int RunReport(const QStringList& args) {
  const auto files = Operands(args);
  if (!files) {
    return UsageError(QStringLiteral("オプションはプロジェクトファイルの前に指定してください"),
                      QStringLiteral("options come before the project file"));
  }
  if (files->size() != 1) {
    return UsageError(QStringLiteral("PROJECT.vor を一つだけ指定してください"),
                      QStringLiteral("give exactly one PROJECT.vor"));
  }
  return PrintReport(files->at(0));
}

struct Command {
  const char* option;
  int (*run)(const QStringList& argsAfterOption);
};

}  // namespace

int main(int argc, char* argv[]) {
#ifdef _WIN32
  // The report is UTF-8 with LF line ends, whatever the console's defaults.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  // --pdf needs a GUI application (fonts, painting): it makes its own.
  if (mk::cli::IsPdfCommand(argc, argv)) return mk::cli::RunPdfCommand(argc, argv);
  if (mk::cli::IsProfileCommand(argc, argv)) return mk::cli::RunProfileCommand(argc, argv);
  QCoreApplication app(argc, argv);  // arguments in the platform's encoding; no display
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();

  // The commands, by their option; each gets the arguments after it.
  static constexpr Command kCommands[] = {
      {"--help", RunHelp},
      {"-h", RunHelp},
      {"--append", RunAppend},
      {"--summary", RunSummary},
      {"--sizes", RunSizes},
      {"--table", mk::cli::RunTableCommand},
  };

  if (args.isEmpty()) {
    return UsageError(QStringLiteral("プロジェクトファイルが指定されていません"), QStringLiteral("no project file given"));
  }
  const QString& mode = args.first();
  for (const Command& command : kCommands) {
    if (mode == QLatin1String(command.option)) return command.run(args.mid(1));
  }
  if (mode != QLatin1String("--") && IsOption(mode)) {
    return UsageError(QStringLiteral("%1 というオプションはありません").arg(mode),
                      QStringLiteral("unknown option %1").arg(mode));
  }
  return RunReport(args);
}
