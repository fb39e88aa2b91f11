#pragma once
// Writing a whole file so that a failure never destroys what was there:
// the bytes go to a temporary file beside it, which replaces the old file
// only once everything is written.

#include <QByteArray>
#include <QString>
#include <optional>

namespace mk {

// A path as the user's system writes it (backslashes on Windows).
QString ShownPath(const QString& path);

// Writes `bytes` as the whole of `path` through a QSaveFile.  Returns the
// message for the user ("「…」に保存できませんでした。" and the reason on a
// second line) or nothing on success.
std::optional<QString> SaveFileWhole(const QString& path, const QByteArray& bytes);

}  // namespace mk
