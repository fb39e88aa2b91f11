#include "project_file/cp932.h"

#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <optional>

namespace mk {

namespace {

// The Windows Japanese code page ("～" is 81 60, "―" 81 5C, "㍑" 87 67).
constexpr const char* kCodePage = "windows-31j";

// Opens the code page's converter in `converter`.  A converter is built in
// place and never moved: it keeps its own address for counting errors.
template <class Converter>
Converter& OpenConverter(std::optional<Converter>& converter) {
  converter.emplace(kCodePage, QStringConverter::Flag::Stateless);
  if (!converter->isValid()) converter.emplace("Shift_JIS", QStringConverter::Flag::Stateless);
  return *converter;
}

// Opening a converter looks its name up among all the converters the system
// knows, which costs far more than converting a line.  Each thread keeps its
// encoder: a stateless converter carries nothing from one text to the next,
// but its error flag stays once set, so after an error (a character the
// code page cannot hold, which is rare) a new one is opened.
QStringEncoder& ThreadEncoder() {
  thread_local std::optional<QStringEncoder> encoder;
  if (!encoder || encoder->hasError()) OpenConverter(encoder);
  return *encoder;
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

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// ------------------------------------------------------------------ decoding
//
// Decoding is a table lookup.  The table is filled once per process from the
// converter: every single byte 80..FF and every lead-trail pair, each taken
// as one unit.  A unit the code page does not define (the converter gives
// nothing, its substitute U+001A, or U+FFFD) is U+FFFD; 00..7F are ASCII.
class DecodeTable {
 public:
  DecodeTable() {
    single_.fill(kReplacement);
    for (auto& row : pairs_) row.fill(kReplacement);
    std::optional<QStringDecoder> converter;
    QStringDecoder& decoder = OpenConverter(converter);

    // Every pair of every lead byte in one conversion, when it gives one
    // character per pair (the converter's substitute for an unassigned pair
    // is one character too); otherwise pair by pair.
    QByteArray all;
    all.reserve(kLeadCount * kTrailCount * 2);
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
      if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
        all += static_cast<char>(lead);
        all += static_cast<char>(trail);
      }
    }
    const QString decoded = decoder.decode(all);
    const bool oneEach = decoded.size() == all.size() / 2;
    for (qsizetype i = 0; i < all.size(); i += 2) {
      const auto lead = static_cast<unsigned char>(all[i]);
      const auto trail = static_cast<unsigned char>(all[i + 1]);
      pairs_[LeadIndex(lead)][trail] =
          oneEach ? Character(decoded[i / 2].unicode()) : Character(decoder.decode(all.mid(i, 2)));
    }
    for (int b = 0x80; b <= 0xFF; ++b) {
      if (IsLeadByte(static_cast<unsigned char>(b))) continue;
      single_[b - 0x80] = Character(decoder.decode(QByteArray(1, static_cast<char>(b))));
    }
  }

  // Appends the decoding of `bytes` to `out`.
  void Decode(std::string_view bytes, std::string& out) const {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
      const unsigned char b = data[i];
      if (b < 0x80) {
        out += static_cast<char>(b);
        ++i;
      } else if (!IsLeadByte(b)) {
        AppendUtf8(single_[b - 0x80], out);
        ++i;
      } else if (i + 1 < n && IsTrailByte(data[i + 1])) {
        AppendUtf8(pairs_[LeadIndex(b)][data[i + 1]], out);
        i += 2;
      } else {
        AppendUtf8(kReplacement, out);  // lead byte without its trail byte
        ++i;
      }
    }
  }

 private:
  static constexpr char16_t kReplacement = 0xFFFD;
  static constexpr int kLeadCount = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);
  static constexpr int kTrailCount = (0x7E - 0x40 + 1) + (0xFC - 0x80 + 1);

  static int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1); }

  // The code page maps every unit to at most one character of the Basic
  // Multilingual Plane (no surrogates); anything else counts as undefined.
  static char16_t Character(char16_t c) { return c == 0x1A || QChar::isSurrogate(c) ? kReplacement : c; }
  static char16_t Character(const QString& unit) { return unit.size() == 1 ? Character(unit[0].unicode()) : kReplacement; }

  static void AppendUtf8(char16_t c, std::string& out) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      const char bytes[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
      out.append(bytes, 2);
    } else {
      const char bytes[3] = {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                             static_cast<char>(0x80 | (c & 0x3F))};
      out.append(bytes, 3);
    }
  }

  std::array<char16_t, 0x80> single_;                      // bytes 80..FF that are not lead bytes
  std::array<std::array<char16_t, 0x100>, kLeadCount> pairs_;  // [lead][trail]
};

const DecodeTable& Decoder() {
  static const DecodeTable table;
  return table;
}

}  // namespace

std::optional<QByteArray> EncodeCp932(std::string_view utf8, std::string* badChar) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  {
    QStringEncoder& encoder = ThreadEncoder();
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError() && !HasSwappedControl(text)) return bytes;
  }
  // Slow path: one character at a time, so that the one the code page cannot
  // hold can be named.  The encoder is consulted only for characters that
  // have no variant bytes; its first error ends the conversion.
  QStringEncoder& encoder = ThreadEncoder();
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

void DecodeCp932(std::string_view bytes, std::string& out) {
  out.clear();
  Decoder().Decode(bytes, out);
}

std::string DecodeCp932(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  Decoder().Decode(bytes, out);
  return out;
}

std::string DecodeCp932(const QByteArray& bytes) {
  return DecodeCp932(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace mk
