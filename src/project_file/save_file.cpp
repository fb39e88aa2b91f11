#include "project_file/save_file.h"

#include <QDir>
#include <QSaveFile>

namespace mk {

QString ShownPath(const QString& path) { return QDir::toNativeSeparators(path); }

std::optional<QString> SaveFileWhole(const QString& path, const QByteArray& bytes) {
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

}  // namespace mk
