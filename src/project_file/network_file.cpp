#include "project_file/network_file.h"

#include <QDir>
#include <QFile>

#include "project_file/cp932.h"
#include "project_file/save_file.h"

namespace mk {

namespace {

constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The whole file, or the message why not.
QString ReadBytes(const QString& path, QByteArray& bytes) {
  QFile file(path);
  const QString failed = QStringLiteral("「%1」を開けませんでした。").arg(ShownPath(path));
  if (!file.open(QIODevice::ReadOnly)) return failed + QLatin1Char('\n') + file.errorString();
  bytes = file.read(kMaxFileBytes + 1);
  if (bytes.size() > kMaxFileBytes)
    return failed + QLatin1Char('\n') + QStringLiteral("ファイルが大きすぎます。");
  if (file.error() != QFileDevice::NoError) return failed + QLatin1Char('\n') + file.errorString();
  return {};
}

std::optional<std::string> Cp932(std::string_view utf8, std::string* badChar) {
  const std::optional<QByteArray> bytes = EncodeCp932(utf8, badChar);
  if (!bytes) return std::nullopt;
  return bytes->toStdString();
}

NetworkCsvExport ExportCsv(const NetworkCsvTable& table) {
  NetworkCsvExport out;
  const NetworkCsvBytes csv = EncodeNetworkCsv(table, Cp932);
  if (csv.ok()) {
    out.bytes = QByteArray::fromStdString(csv.bytes);
  } else {
    out.error = Q(csv.error);
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------- file

QByteArray NetworkFileBytes(const NetworkRecord& record) { return QByteArray::fromStdString(NetworkFileText(record)); }

std::optional<QString> WriteNetworkFile(const QString& path, const NetworkRecord& record) {
  return SaveFileWhole(path, NetworkFileBytes(record));
}

NetworkFileRead ParseNetworkFile(const QByteArray& bytes) {
  NetworkLinesRead read =
      ParseNetworkFileText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  NetworkFileRead out;
  out.record = std::move(read.record);
  out.error = Q(read.error);
  return out;
}

NetworkFileRead ReadNetworkFile(const QString& path) {
  QByteArray bytes;
  if (QString error = ReadBytes(path, bytes); !error.isEmpty()) {
    NetworkFileRead out;
    out.error = error;
    return out;
  }
  NetworkFileRead out = ParseNetworkFile(bytes);
  if (!out.ok())
    out.error = QStringLiteral("「%1」を開けませんでした。").arg(ShownPath(path)) + QLatin1Char('\n') + out.error;
  return out;
}

// ---------------------------------------------------------------- CSV

NetworkCsvExport ExportNetworkCsv(const std::vector<NetworkSegment>& segments) {
  return ExportCsv(NetworkInputCsvTable(segments));
}

std::optional<QString> WriteNetworkCsv(const QString& path, const std::vector<NetworkSegment>& segments) {
  const NetworkCsvExport csv = ExportNetworkCsv(segments);
  if (!csv.ok()) return csv.error;
  return SaveFileWhole(path, csv.bytes);
}

NetworkCsvExport ExportNetworkResultsCsv(const NetworkRecord& record, const NetworkTable& table) {
  return ExportCsv(NetworkResultsCsvTable(record, table));
}

std::optional<QString> WriteNetworkResultsCsv(const QString& path, const NetworkRecord& record,
                                              const NetworkTable& table) {
  const NetworkCsvExport csv = ExportNetworkResultsCsv(record, table);
  if (!csv.ok()) return csv.error;
  return SaveFileWhole(path, csv.bytes);
}

NetworkCsvImport ImportNetworkCsv(const QByteArray& bytes) {
  // CP932 as written here; a spreadsheet's "UTF-8 CSV" carries a byte-order mark.
  const std::string text =
      bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)).toStdString() : DecodeCp932(bytes);
  NetworkCsvRows rows = ParseNetworkCsvText(text);
  NetworkCsvImport out;
  out.segments = std::move(rows.segments);
  out.error = Q(rows.error);
  return out;
}

NetworkCsvImport ReadNetworkCsv(const QString& path) {
  QByteArray bytes;
  if (QString error = ReadBytes(path, bytes); !error.isEmpty()) {
    NetworkCsvImport out;
    out.error = error;
    return out;
  }
  NetworkCsvImport out = ImportNetworkCsv(bytes);
  if (!out.ok())
    out.error = QStringLiteral("「%1」を読み込めませんでした。").arg(ShownPath(path)) + QLatin1Char('\n') + out.error;
  return out;
}

}  // namespace mk
