#include "cli/profile_command.h"

#include <QDate>
#include <QGuiApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli/exit_status.h"
#include "drawing/profile_path.h"
#include "paper/profile_paint.h"
#include "project_file/network_file.h"
#include "project_file/profile_file.h"

namespace mk::cli {
namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    const QByteArray text = message.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
  }
}

void Complain(QString message) {
  message.replace(QLatin1Char('\n'), QLatin1Char(' '));
  const QByteArray text = (QStringLiteral("mirukana-report: ") + message + QLatin1Char('\n')).toUtf8();
  std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
}

int Usage(const QString& japanese, const QString& english) {
  Complain(japanese + QStringLiteral("（") + english + QStringLiteral("）"));
  std::fputs("mirukana-report --help で使い方を表示します（--help shows the usage）。\n", stderr);
  return kExitTrouble;
}

bool OneOf(int value, const std::vector<int>& allowed) {
  return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

}  // namespace

bool IsProfileCommand(int argc, char* argv[]) { return argc > 1 && std::strcmp(argv[1], "--profile") == 0; }

int RunProfileCommand(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietQtMessages);
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(2);

  QString table, from, output;
  enum class Kind { None, Pdf, Dxf, Svg } kind = Kind::None;
  drawing::ProfileOptions options;
  options.sheet = drawing::SheetSizeMm(drawing::SheetSize::A3);
  bool operandsOnly = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool option = !operandsOnly && arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
    if (!option) {
      if (arg == QLatin1String("--")) continue;
      if (!table.isEmpty())
        return Usage(QStringLiteral("--profile には TABLE.mkt を一つだけ指定してください"),
                     QStringLiteral("--profile takes exactly one TABLE.mkt"));
      table = arg;
      continue;
    }
    if (arg == QLatin1String("--")) {
      operandsOnly = true;
      continue;
    }
    const bool takesValue = arg == QLatin1String("--from") || arg == QLatin1String("--pdf") ||
                            arg == QLatin1String("--dxf") || arg == QLatin1String("--svg") ||
                            arg == QLatin1String("--scale");
    if (arg == QLatin1String("--a4")) {
      options.sheet = drawing::SheetSizeMm(drawing::SheetSize::A4);
      continue;
    }
    if (!takesValue)
      return Usage(QStringLiteral("--profile の後の %1 というオプションはありません").arg(arg),
                   QStringLiteral("unknown option %1 after --profile").arg(arg));
    if (i + 1 >= args.size())
      return Usage(QStringLiteral("%1 の後に値を指定してください").arg(arg), QStringLiteral("%1 takes a value").arg(arg));
    const QString value = args[++i];
    if (arg == QLatin1String("--from")) {
      from = value;
    } else if (arg == QLatin1String("--scale")) {
      const QStringList parts = value.split(QLatin1Char(':'));
      bool okH = false, okV = false;
      const int h = parts.size() == 2 ? parts[0].toInt(&okH) : 0;
      const int v = parts.size() == 2 ? parts[1].toInt(&okV) : 0;
      if (!okH || !okV || !OneOf(h, drawing::HorizontalScales()) || !OneOf(v, drawing::VerticalScales()))
        return Usage(QStringLiteral("--scale は 横:縦 の縮尺の分母で、横は 250、500、1000、縦は 50、100、200 から指定してください"),
                     QStringLiteral("--scale takes H:V, H one of 250, 500, 1000 and V one of 50, 100, 200"));
      options.horizontal = h;
      options.vertical = v;
    } else {
      if (kind != Kind::None)
        return Usage(QStringLiteral("--pdf、--dxf、--svg はどれか一つだけ指定してください"),
                     QStringLiteral("give one of --pdf, --dxf and --svg"));
      kind = arg == QLatin1String("--pdf") ? Kind::Pdf : arg == QLatin1String("--dxf") ? Kind::Dxf : Kind::Svg;
      output = value;
    }
  }
  if (table.isEmpty())
    return Usage(QStringLiteral("--profile には TABLE.mkt を指定してください"), QStringLiteral("--profile takes a TABLE.mkt"));
  if (kind == Kind::None)
    return Usage(QStringLiteral("--profile には --pdf、--dxf、--svg のどれかで出力先を指定してください"),
                 QStringLiteral("--profile takes one of --pdf OUT.pdf, --dxf OUT.dxf and --svg OUT.svg"));

  const NetworkFileRead read = ReadNetworkFile(table);
  if (!read.ok()) {
    Complain(read.error);
    return kExitTrouble;
  }
  const NetworkComputation computation = ComputeNetwork(read.record);
  if (!computation.ok()) {
    Complain(table + QStringLiteral(": ") + QString::fromStdString(computation.refusal->message));
    return kExitTrouble;
  }
  const drawing::ProfilePathResult path =
      drawing::ProfilePathFrom(read.record, computation.table, from.toStdString());
  if (!path.ok()) {
    Complain(table + QStringLiteral(": ") + QString::fromStdString(*path.refusal));
    return kExitTrouble;
  }
  options.date = QDate::currentDate().toString(QStringLiteral("yyyy年M月d日")).toStdString();
  const drawing::ProfileDrawing drawn = drawing::DrawProfile(path.path, options);
  if (!drawn.ok()) {
    Complain(table + QStringLiteral(": ") + QString::fromStdString(*drawn.refusal));
    return kExitTrouble;
  }
  std::optional<QString> error;
  switch (kind) {
    case Kind::Pdf: error = WriteSheetsPdf(drawn.sheets, QStringLiteral("縦断図"), output); break;
    case Kind::Dxf: error = WriteProfileDxf(drawn.sheets, output); break;
    case Kind::Svg: error = WriteProfileSvg(drawn.sheets, output); break;
    case Kind::None: break;
  }
  if (error) {
    Complain(*error);
    return kExitTrouble;
  }
  return computation.table.allChecksPass() ? kExitOk : kExitNo;
}

}  // namespace mk::cli
