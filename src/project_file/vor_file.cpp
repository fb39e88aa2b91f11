#include "project_file/vor_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

#include "project_file/cp932.h"

namespace mk {

namespace {

// Reading stops after kMaxBytes, so that an oversized file cannot stall Open;
// the line split then keeps only the lines the layout can use.
constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

// The file's bytes, up to kMaxBytes.  A read failure keeps what was read.
QByteArray ReadHead(QFile& file) {
  QByteArray bytes;
  const qint64 size = file.size();
  if (size > 0) bytes.reserve(static_cast<qsizetype>(std::min(size, kMaxBytes)));
  char buffer[64 * 1024];
  while (bytes.size() < kMaxBytes) {
    const qint64 n = file.read(buffer, std::min<qint64>(sizeof buffer, kMaxBytes - bytes.size()));
    if (n <= 0) break;
    bytes.append(buffer, static_cast<qsizetype>(n));
  }
  return bytes;
}

QString ShownPath(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

std::optional<QString> WriteProjectFile(const QString& path, const ProjectRecord& record) {
  QByteArray bytes;
  for (const std::string& line : ProjectFileLines(record)) {
    // A line break inside a value would shift every later line of the file.
    if (line.find_first_of("\r\n") != std::string::npos) {
      return QStringLiteral("改行を含む入力があるため、保存できません。改行を取り除いてから保存してください。");
    }
    std::string badChar;
    const std::optional<QByteArray> encoded = EncodeCp932(line, &badChar);
    if (!encoded) {
      return QStringLiteral("「%1」はファイルに保存できない文字です（入力「%2」）。この文字を別の文字に直してから保存してください。")
          .arg(QString::fromStdString(badChar), QString::fromStdString(line));
    }
    bytes += *encoded;
    bytes += "\r\n";
  }

  const QString failed = QStringLiteral("「%1」に保存できませんでした。").arg(ShownPath(path));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return failed + QLatin1Char('\n') + file.errorString();
  if (file.write(bytes) != bytes.size()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return failed + QLatin1Char('\n') + reason;
  }
  if (!file.commit()) return failed + QLatin1Char('\n') + file.errorString();
  return std::nullopt;
}

std::optional<QString> ReadProjectFile(const QString& path, ProjectRecord& record) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return QStringLiteral("「%1」を開けませんでした。").arg(ShownPath(path)) + QLatin1Char('\n') +
           file.errorString();
  }
  const QByteArray bytes = ReadHead(file);
  std::vector<std::string> lines;
  for (const std::string_view raw : SplitProjectFileLines(std::string_view(bytes.constData(), bytes.size()))) {
    lines.push_back(DecodeCp932(QByteArray::fromRawData(raw.data(), static_cast<qsizetype>(raw.size()))));
  }
  ReadProjectLines(lines, record);
  return std::nullopt;
}

}  // namespace mk
