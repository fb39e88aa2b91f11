#include "project_file/cp932.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace mk {

std::optional<QByteArray> EncodeCp932(std::string_view utf8, std::string* badChar) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  // Encode one character at a time so that an unmappable one can be named.
  QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
  if (!encoder.isValid()) encoder = QStringEncoder("Shift_JIS", QStringConverter::Flag::Stateless);
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    const QString one = text.mid(i, len);
    QByteArray bytes = encoder.encode(one);
    if (encoder.hasError() || bytes.isEmpty() || (bytes == "?" && one != "?")) {
      if (badChar) *badChar = one.toStdString();
      return std::nullopt;
    }
    out += bytes;
    i += len;
  }
  return out;
}

std::string DecodeCp932(const QByteArray& bytes) {
  QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS", QStringConverter::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  return text.toStdString();
}

}  // namespace mk
