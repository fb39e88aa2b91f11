#include "project_file/cp932.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

namespace mk {

namespace {

// The Windows Japanese code page ("～" is 81 60, "―" 81 5C, "㍑" 87 67).
constexpr const char* kCodePage = "windows-31j";

QStringEncoder MakeEncoder() {
  QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
  if (!encoder.isValid()) encoder = QStringEncoder("Shift_JIS", QStringConverter::Flag::Stateless);
  return encoder;
}

QStringDecoder MakeDecoder() {
  QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
  if (!decoder.isValid()) decoder = QStringDecoder("Shift_JIS", QStringConverter::Flag::Stateless);
  return decoder;
}

// Input methods outside Windows type a few characters under the code points
// of the JIS mapping, which the Windows code page holds under other ones
// ("〜" WAVE DASH is the code page's "～").  They are written with the code
// page's bytes, so a text typed on such a system can still be saved; it reads
// back as the code page's form of the same character.
const char* JisVariantBytes(char16_t c) {
  switch (c) {
    case u'\u301C': return "\x81\x60";  // 〜 -> ～
    case u'\u2014': return "\x81\x5C";  // — -> ―
    case u'\u2016': return "\x81\x61";  // ‖ -> ∥
    case u'\u2212': return "\x81\x7C";  // − -> －
    case u'\u00A2': return "\x81\x91";  // ¢ -> ￠
    case u'\u00A3': return "\x81\x92";  // £ -> ￡
    case u'\u00AC': return "\x81\xCA";  // ¬ -> ￢
    default: return nullptr;
  }
}

// The converter follows the IBM table for three control codes (1A, 1C and
// 7F are exchanged); the Windows code page maps 00..7F to themselves.  Text
// holding one of them takes the character-by-character path below, which
// converts 00..7F directly.
bool HasSwappedControl(const QString& text) {
  return text.contains(QChar(0x1A)) || text.contains(QChar(0x1C)) || text.contains(QChar(0x7F));
}
bool HasSwappedControl(const QByteArray& bytes) {
  return bytes.contains('\x1a') || bytes.contains('\x1c') || bytes.contains('\x7f');
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

}  // namespace

std::optional<QByteArray> EncodeCp932(std::string_view utf8, std::string* badChar) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  {
    QStringEncoder encoder = MakeEncoder();
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError() && !HasSwappedControl(text)) return bytes;
  }
  // Slow path: one character at a time, so that the one the code page cannot
  // hold can be named.  The encoder is consulted only for characters that
  // have no variant bytes; its first error ends the conversion.
  QStringEncoder encoder = MakeEncoder();
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype len =
        (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
    const QString one = text.mid(i, len);
    i += len;
    if (len == 1 && one[0].unicode() < 0x80) {
      out += static_cast<char>(one[0].unicode());
      continue;
    }
    if (len == 1) {
      if (const char* variant = JisVariantBytes(one[0].unicode())) {
        out += QByteArray(variant);
        continue;
      }
    }
    QByteArray bytes = encoder.encode(one);
    if (encoder.hasError() || bytes.isEmpty()) {
      if (badChar) *badChar = one.toStdString();
      return std::nullopt;
    }
    out += bytes;
  }
  return out;
}

std::string DecodeCp932(const QByteArray& bytes) {
  {
    QStringDecoder decoder = MakeDecoder();
    QString text = decoder.decode(bytes);
    if (!decoder.hasError() && !HasSwappedControl(bytes)) return text.toStdString();
  }
  // Slow path: decode character by character so that each byte sequence the
  // code page does not define becomes one U+FFFD (the converter would give a
  // control character, or drop a lead byte at the end of the input).  Bytes
  // 00..7F are ASCII.
  QStringDecoder decoder = MakeDecoder();
  QString out;
  out.reserve(bytes.size());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n;) {
    if (data[i] < 0x80) {
      out += QChar(data[i]);
      ++i;
      continue;
    }
    qsizetype len = 1;
    if (IsLeadByte(data[i])) {
      if (i + 1 < n && IsTrailByte(data[i + 1])) {
        len = 2;
      } else {
        out += QChar(0xFFFD);  // lead byte without its trail byte
        ++i;
        continue;
      }
    }
    const QByteArray unit = bytes.mid(i, len);
    const QString one = decoder.decode(unit);
    // The converter substitutes U+001A for a sequence it cannot map.
    if (one.isEmpty() || one == QString(QChar(0x1A))) {
      out += QChar(0xFFFD);
    } else {
      out += one;
    }
    i += len;
  }
  return out.toStdString();
}

}  // namespace mk
