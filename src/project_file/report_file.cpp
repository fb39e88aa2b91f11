#include "project_file/report_file.h"

#include <QFile>
#include <QFileInfo>

#include "project_file/cp932.h"
#include "report/flow_report.h"

namespace mk {

namespace {

QString ShownName(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

WriteReportResult Kakikomi(const ProjectRecord& record, const QString& path) {
  WriteReportResult result;
  const FlowReport report = ComposeFlowReport(record);
  result.verdictIsNo = report.verdictIsNo;

  // Encode the whole report before touching the file, so that a character
  // with no CP932 form (a name typed with an unusual character) stops the
  // write with nothing appended.
  QByteArray bytes;
  for (const std::string& line : report.lines) {
    std::string badChar;
    const std::optional<QByteArray> encoded = EncodeCp932(line, &badChar);
    if (!encoded) {
      result.error = QStringLiteral("計算書に書き込めない文字「%1」が含まれています。書き込みを中止しました。")
                         .arg(QString::fromStdString(badChar));
      return result;
    }
    bytes += *encoded;
    bytes += "\r\n";
  }

  // Unbuffered, so that a failed write is seen here and the partial report
  // can still be taken back.
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
    result.error = QStringLiteral("計算書ファイル「%1」を開けませんでした。").arg(ShownName(path));
    return result;
  }
  const bool regularFile = !file.isSequential();
  const qint64 sizeBefore = regularFile ? file.size() : 0;
  const qint64 written = file.write(bytes);
  if (written != bytes.size()) {
    // Take back the part of this report that did reach the file, so that the
    // reports written before stay as they were and no half report remains.
    if (regularFile) file.resize(sizeBefore);
    file.close();
    result.error = QStringLiteral("計算書ファイル「%1」への書き込みが途中で失敗しました。").arg(ShownName(path));
    return result;
  }
  file.close();
  if (file.error() != QFileDevice::NoError) {
    result.error = QStringLiteral("計算書ファイル「%1」への書き込みが途中で失敗しました。").arg(ShownName(path));
  }
  return result;
}

}  // namespace mk
