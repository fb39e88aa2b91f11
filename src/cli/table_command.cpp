#include "cli/table_command.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <string>

#include "calc/network.h"
#include "calc/network_levels.h"
#include "cli/exit_status.h"
#include "project_file/network_file.h"

namespace mk::cli {

namespace {

// One line per problem on standard error: a message's line break (the
// file's name, then the reason) becomes a blank.
void Complain(QString message) {
  message.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QByteArray utf8 = (QStringLiteral("mirukana-report: ") + message + QLatin1Char('\n')).toUtf8();
  std::fwrite(utf8.constData(), 1, static_cast<std::size_t>(utf8.size()), stderr);
}

int Usage(const QString& japanese, const QString& english) {
  Complain(japanese + QStringLiteral("（") + english + QStringLiteral("）"));
  std::fputs("mirukana-report --help で使い方を表示します（--help shows the usage）。\n", stderr);
  return kExitTrouble;
}

bool Flushed() {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    Complain(QStringLiteral("標準出力に書き込めませんでした。（cannot write to standard output）"));
    return false;
  }
  return true;
}

// A field of a tab-separated line: a typed name may not break the line up.
std::string Field(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return text;
}

void PutLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k) line += '\t';
    line += Field(fields[k]);
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace

int RunTableCommand(const QStringList& given) {
  QStringList args = given;
  bool csv = false, results = false;
  while (!args.isEmpty() && (args.first() == QLatin1String("--csv") || args.first() == QLatin1String("--results"))) {
    (args.first() == QLatin1String("--csv") ? csv : results) = true;
    args.removeFirst();
  }
  if (results && !csv)
    return Usage(QStringLiteral("--results は --csv と一緒に指定してください"),
                 QStringLiteral("--results goes with --csv"));
  if (!args.isEmpty() && args.first() == QLatin1String("--")) {
    args.removeFirst();
  } else if (!args.isEmpty() && args.first().size() > 1 && args.first().startsWith(QLatin1Char('-'))) {
    return Usage(QStringLiteral("--table の後の %1 というオプションはありません").arg(args.first()),
                 QStringLiteral("unknown option %1 after --table").arg(args.first()));
  }
  if (args.size() != 1)
    return Usage(QStringLiteral("--table には TABLE.mkt を一つだけ指定してください"),
                 QStringLiteral("--table takes exactly one TABLE.mkt"));
  const QString path = args.first();

  const NetworkFileRead read = ReadNetworkFile(path);
  if (!read.ok()) {
    Complain(read.error);
    return kExitTrouble;
  }
  if (csv && !results) {
    const NetworkCsvExport exported = ExportNetworkCsv(read.record.segments);
    if (!exported.ok()) {
      Complain(path + QStringLiteral(": ") + exported.error);
      return kExitTrouble;
    }
    std::fwrite(exported.bytes.constData(), 1, static_cast<std::size_t>(exported.bytes.size()), stdout);
    return Flushed() ? kExitOk : kExitTrouble;
  }

  const NetworkComputation computed = ComputeNetwork(read.record);
  if (!computed.ok()) {
    Complain(path + QStringLiteral(": ") + QString::fromStdString(computed.refusal->message));
    return kExitTrouble;
  }
  // A table without ground levels is computed without the level checks:
  // said once, beside the output rather than in it.
  if (!computed.table.hasLevels) Complain(QString::fromUtf8(kNoLevelsNotice));
  if (results) {
    // The whole computed table as the CSV出力 of the results writes it.
    const NetworkCsvExport exported = ExportNetworkResultsCsv(read.record, computed.table);
    if (!exported.ok()) {
      Complain(path + QStringLiteral(": ") + exported.error);
      return kExitTrouble;
    }
    std::fwrite(exported.bytes.constData(), 1, static_cast<std::size_t>(exported.bytes.size()), stdout);
    if (!Flushed()) return kExitTrouble;
    return computed.table.allChecksPass() ? kExitOk : kExitNo;
  }
  std::vector<std::string> header;
  for (const NetworkColumn& column : NetworkColumns()) header.emplace_back(column.caption);
  PutLine(header);
  for (int segment : computed.table.order)
    PutLine(NetworkRowTexts(read.record, computed.table.rows[static_cast<std::size_t>(segment)]));
  if (!Flushed()) return kExitTrouble;
  return computed.table.allChecksPass() ? kExitOk : kExitNo;
}

}  // namespace mk::cli
