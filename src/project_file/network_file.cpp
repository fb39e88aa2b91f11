#include "project_file/network_file.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "project_file/cp932.h"
#include "project_file/save_file.h"

namespace mk {

namespace nf = network_field;

namespace {

constexpr std::string_view kMagic = "mirukana-network";
constexpr std::string_view kSegmentsLine = "[segments]";
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// Settings keys only the file has: the percentages kept while "無し" is chosen.
constexpr const char* kGroundwaterPercent = "groundwater_percent";
constexpr const char* kSurchargePercent = "surcharge_percent";
constexpr const char* kApplies = "有り";
constexpr const char* kNone = "無し";

// The segment columns of the file and of the CSV, in order.
constexpr std::array<const char*, 16> kSegmentKeys{
    nf::kName,   nf::kUpstream,     nf::kDownstream, nf::kLength,   nf::kArea,  nf::kRunoff,
    nf::kSewage, nf::kKind,         nf::kSize,       nf::kFacilityName, nf::kDiameter,
    nf::kWidth,  nf::kHeight,       nf::kSlope,      nf::kRoughness, nf::kDepth};

constexpr std::array<const char*, 6> kFormulaTexts{"①", "②", "③", "④", "⑤", "⑥"};
constexpr std::array<const char*, 6> kKindTexts{"ＶＰ管", "ＶＵ管", "強化プラスチック複合管",
                                               "ヒューム管", "その他円形管", "矩形管"};

QString Q(const std::string& text) { return QString::fromStdString(text); }

// ---------------------------------------------------------------- values

std::string SizeText(const NetworkSegment& s) {
  const auto material = MaterialFromKind(static_cast<int>(s.kind));
  if (!material) return "";
  const auto size = LookupPipe(*material, s.sizeIndex);
  return size ? size->storedName : "";
}

std::string DepthText(const NetworkSegment& s) {
  const auto& list = DepthChoiceList(NetworkDepthList(s.kind));
  if (s.depthIndex < 0 || s.depthIndex >= static_cast<int>(list.size())) return "";
  return list[static_cast<std::size_t>(s.depthIndex)].text;
}

std::vector<std::string> SegmentValues(const NetworkSegment& s) {
  const int kind = static_cast<int>(s.kind);
  return {s.name,  s.upstream, s.downstream,
          s.length, s.area,    s.c,
          s.sewage, kind >= 0 && kind < 6 ? kKindTexts[static_cast<std::size_t>(kind)] : "",
          SizeText(s), s.facilityName, s.D, s.B, s.H, s.slope, s.roughness, DepthText(s)};
}

// The values of one row (file or CSV) into a segment; the refusal names the
// line and the column.
QString SegmentFromValues(const std::vector<std::string>& v, const QString& where,
                          NetworkSegment& s) {
  s = NetworkSegment{};
  s.name = v[0];
  s.upstream = v[1];
  s.downstream = v[2];
  s.length = v[3];
  s.area = v[4];
  s.c = v[5];
  s.sewage = v[6];
  int kind = -1;
  for (int k = 0; k < 6; ++k)
    if (v[7] == kKindTexts[static_cast<std::size_t>(k)]) kind = k;
  if (kind < 0)
    return where + QStringLiteral("%1「%2」は選べる管種ではありません。")
                       .arg(Q(NetworkFieldCaption(nf::kKind)), Q(v[7]));
  s.kind = static_cast<NetworkFacilityKind>(kind);
  if (const auto material = MaterialFromKind(kind)) {
    s.sizeIndex = -1;
    const auto& sizes = PipeSizes(*material);
    for (std::size_t k = 0; k < sizes.size(); ++k)
      if (sizes[k].storedName == v[8]) s.sizeIndex = static_cast<int>(k);
    if (s.sizeIndex < 0 && !v[8].empty())
      return where + QStringLiteral("%1「%2」は%3の管径ではありません。")
                         .arg(Q(NetworkFieldCaption(nf::kSize)), Q(v[8]), Q(v[7]));
  }
  s.facilityName = v[9];
  s.D = v[10];
  s.B = v[11];
  s.H = v[12];
  s.slope = v[13];
  s.roughness = v[14];
  s.depthIndex = -1;
  const auto& depths = DepthChoiceList(NetworkDepthList(s.kind));
  if (!v[15].empty()) {
    for (std::size_t k = 0; k < depths.size(); ++k)
      if (depths[k].text == v[15]) s.depthIndex = static_cast<int>(k);
    if (s.depthIndex < 0)
      return where + QStringLiteral("%1「%2」は%3の水深の一覧にありません。")
                         .arg(Q(NetworkFieldCaption(nf::kDepth)), Q(v[15]), Q(v[7]));
  }
  return {};
}

// ---------------------------------------------------------------- file lines

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += ch;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    if (end == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}

QString LinePrefix(std::size_t line) { return QStringLiteral("%1行目: ").arg(line); }

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

}  // namespace

// ---------------------------------------------------------------- file

QByteArray NetworkFileBytes(const NetworkRecord& record) {
  const NetworkSettings& s = record.settings;
  std::string out;
  out += std::string(kMagic) + " " + std::to_string(kNetworkFileVersion) + "\n";
  auto put = [&](const char* key, const std::string& value) {
    out += key;
    out += '=';
    out += Escape(value);
    out += '\n';
  };
  const int formula = static_cast<int>(s.formula);
  put(nf::kTitle, s.title);
  put(nf::kFormula, formula >= 0 && formula < 6 ? kFormulaTexts[static_cast<std::size_t>(formula)] : "");
  put(nf::kA, s.a);
  put(nf::kB, s.b);
  put(nf::kC, s.c);
  put(nf::kD, s.d);
  put(nf::kT1, s.t1);
  put(nf::kVelocity, s.velocity == VelocityFormula::Kutter ? "Kutter" : "Manning");
  put(nf::kGroundwater, s.groundwater ? kApplies : kNone);
  put(kGroundwaterPercent, s.groundwaterPercent);
  put(nf::kSurcharge, s.surcharge ? kApplies : kNone);
  put(kSurchargePercent, s.surchargePercent);
  put(nf::kOutlet, s.outlet);
  out += kSegmentsLine;
  out += '\n';
  for (std::size_t k = 0; k < kSegmentKeys.size(); ++k) {
    if (k) out += '\t';
    out += kSegmentKeys[k];
  }
  out += '\n';
  for (const NetworkSegment& segment : record.segments) {
    const std::vector<std::string> values = SegmentValues(segment);
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (k) out += '\t';
      out += Escape(values[k]);
    }
    out += '\n';
  }
  return QByteArray::fromStdString(out);
}

std::optional<QString> WriteNetworkFile(const QString& path, const NetworkRecord& record) {
  return SaveFileWhole(path, NetworkFileBytes(record));
}

NetworkFileRead ParseNetworkFile(const QByteArray& bytes) {
  NetworkFileRead out;
  const QString notTable = QStringLiteral("流量計算表のファイルではありません。");
  std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (decoder.hasError()) {
      out.error = notTable + QStringLiteral("（UTF-8 の文字として読めない部分があります。）");
      return out;
    }
  }
  std::vector<std::string_view> lines = Split(text, '\n');
  for (std::string_view& line : lines)
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

  // The first line: the magic word and the version.
  const std::string_view first = lines[0];
  if (first.substr(0, kMagic.size()) != kMagic || first.size() < kMagic.size() + 2 ||
      first[kMagic.size()] != ' ') {
    out.error = notTable;
    return out;
  }
  const std::string_view versionText = first.substr(kMagic.size() + 1);
  long long version = 0;  // held at 10^9 at most: any larger number is as new
  for (char ch : versionText) {
    if (ch < '0' || ch > '9') {
      out.error = notTable;
      return out;
    }
    version = std::min(version * 10 + (ch - '0'), 1000000000LL);
  }
  if (version > kNetworkFileVersion) {
    out.error = QStringLiteral("この流量計算表は新しい版のミルカナで保存されています（形式 %1、この版は形式 %2 まで）。この版では開けません。")
                    .arg(version)
                    .arg(kNetworkFileVersion);
    return out;
  }
  if (version < 1) {
    out.error = notTable;
    return out;
  }

  NetworkSettings& s = out.record.settings;
  std::map<std::string, std::string> seen;
  std::size_t i = 1;
  for (; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line == kSegmentsLine) break;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find('=');
    const QString where = LinePrefix(i + 1);
    if (eq == std::string_view::npos) {
      out.error = where + QStringLiteral("「キー=値」の形ではありません。");
      return out;
    }
    const std::string key(line.substr(0, eq));
    const auto value = Unescape(line.substr(eq + 1));
    if (!value) {
      out.error = where + QStringLiteral("「\\」の後に使えない文字があります。");
      return out;
    }
    if (!seen.emplace(key, *value).second) {
      out.error = where + QStringLiteral("「%1」が二度あります。").arg(Q(key));
      return out;
    }
    auto bad = [&](const char* what) {
      out.error = where + QStringLiteral("%1「%2」は読めません。").arg(QString::fromUtf8(what), Q(*value));
    };
    if (key == nf::kTitle) {
      s.title = *value;
    } else if (key == nf::kFormula) {
      int formula = -1;
      for (int k = 0; k < 6; ++k)
        if (*value == kFormulaTexts[static_cast<std::size_t>(k)]) formula = k;
      if (formula < 0) {
        bad("降雨強度式");
        return out;
      }
      s.formula = static_cast<IntensityFormula>(formula);
    } else if (key == nf::kA) {
      s.a = *value;
    } else if (key == nf::kB) {
      s.b = *value;
    } else if (key == nf::kC) {
      s.c = *value;
    } else if (key == nf::kD) {
      s.d = *value;
    } else if (key == nf::kT1) {
      s.t1 = *value;
    } else if (key == nf::kVelocity) {
      if (*value == "Manning") {
        s.velocity = VelocityFormula::Manning;
      } else if (*value == "Kutter") {
        s.velocity = VelocityFormula::Kutter;
      } else {
        bad("流速の計算方法");
        return out;
      }
    } else if (key == nf::kGroundwater || key == nf::kSurcharge) {
      bool& applies = key == nf::kGroundwater ? s.groundwater : s.surcharge;
      if (*value == kApplies) {
        applies = true;
      } else if (*value == kNone) {
        applies = false;
      } else {
        bad(key == nf::kGroundwater ? "地下水混入率" : "計画汚水量の割増し");
        return out;
      }
    } else if (key == kGroundwaterPercent) {
      s.groundwaterPercent = *value;
    } else if (key == kSurchargePercent) {
      s.surchargePercent = *value;
    } else if (key == nf::kOutlet) {
      s.outlet = *value;
    } else {
      out.error = where + QStringLiteral("「%1」は知らない設定です。").arg(Q(key));
      return out;
    }
  }
  if (i >= lines.size()) {
    out.error = QStringLiteral("区間の表（%1）がありません。").arg(QLatin1String(kSegmentsLine.data(), static_cast<qsizetype>(kSegmentsLine.size())));
    return out;
  }

  // The column line, then one segment a line.
  ++i;
  std::string expected;
  for (std::size_t k = 0; k < kSegmentKeys.size(); ++k) expected += std::string(k ? "\t" : "") + kSegmentKeys[k];
  if (i >= lines.size() || lines[i] != expected) {
    out.error = LinePrefix(i + 1) + QStringLiteral("区間の列の並びが違います。");
    return out;
  }
  for (++i; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const QString where = LinePrefix(i + 1);
    const std::vector<std::string_view> fields = Split(lines[i], '\t');
    if (fields.size() != kSegmentKeys.size()) {
      out.error = where + QStringLiteral("列の数が %1 ではなく %2 です。").arg(kSegmentKeys.size()).arg(fields.size());
      return out;
    }
    std::vector<std::string> values;
    values.reserve(fields.size());
    for (std::string_view field : fields) {
      auto value = Unescape(field);
      if (!value) {
        out.error = where + QStringLiteral("「\\」の後に使えない文字があります。");
        return out;
      }
      values.push_back(std::move(*value));
    }
    NetworkSegment segment;
    if (QString e = SegmentFromValues(values, where, segment); !e.isEmpty()) {
      out.error = e;
      return out;
    }
    out.record.segments.push_back(std::move(segment));
  }
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

const std::vector<std::string>& NetworkCsvHeader() {
  static const std::vector<std::string> kHeader = [] {
    std::vector<std::string> header;
    for (const char* key : kSegmentKeys) header.push_back(NetworkFieldCaption(key));
    return header;
  }();
  return kHeader;
}

namespace {

void PutCsvField(std::string& out, const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char ch : field) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

// RFC 4180 records: fields split by commas, quoted fields with "" for a
// quote, records ended by CR LF or LF.  False for an unterminated quote or
// text after a closing quote.
bool ParseCsv(const std::string& text, std::vector<std::vector<std::string>>& records,
              std::vector<std::size_t>& lineNumbers, std::size_t& badLine) {
  std::vector<std::string> record;
  std::string field;
  std::size_t line = 1, recordLine = 1;
  std::size_t i = 0;
  const std::size_t n = text.size();
  bool any = false;  // the current record has begun
  while (i < n) {
    char ch = text[i];
    if (ch == '"' && field.empty()) {
      ++i;
      for (;;) {
        if (i >= n) {
          badLine = recordLine;
          return false;
        }
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (text[i] == '\n') ++line;
        field += text[i++];
      }
      any = true;
      if (i < n && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
        badLine = line;
        return false;
      }
      continue;
    }
    if (ch == ',') {
      record.push_back(std::move(field));
      field.clear();
      any = true;
      ++i;
      continue;
    }
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      ++i;
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      lineNumbers.push_back(recordLine);
      record.clear();
      any = false;
      recordLine = ++line;
      continue;
    }
    field += ch;
    any = true;
    ++i;
  }
  if (any || !field.empty()) {
    record.push_back(std::move(field));
    records.push_back(std::move(record));
    lineNumbers.push_back(recordLine);
  }
  return true;
}

}  // namespace

NetworkCsvExport ExportNetworkCsv(const std::vector<NetworkSegment>& segments) {
  NetworkCsvExport out;
  std::string text;
  std::vector<std::vector<std::string>> rows;
  rows.reserve(segments.size());
  auto putRecord = [&](const std::vector<std::string>& fields) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (k) text += ',';
      PutCsvField(text, fields[k]);
    }
    text += "\r\n";
  };
  putRecord(NetworkCsvHeader());
  for (const NetworkSegment& segment : segments) {
    rows.push_back(SegmentValues(segment));
    putRecord(rows.back());
  }
  // The whole text at once: a character is judged where it stands (a
  // byte-order mark inside a value is a character CP932 lacks, not a mark
  // to drop as it would be at the start of a text of its own).
  std::string badChar;
  const std::optional<QByteArray> encoded = EncodeCp932(text, &badChar);
  if (encoded) {
    out.bytes = *encoded;
    return out;
  }
  QString where;
  for (std::size_t row = 0; row < rows.size() && where.isEmpty(); ++row) {
    for (std::size_t k = 0; k < rows[row].size(); ++k) {
      if (rows[row][k].find(badChar) == std::string::npos) continue;
      where = QStringLiteral("%1行目の%2「%3」").arg(row + 1).arg(Q(NetworkCsvHeader()[k]), Q(rows[row][k]));
      break;
    }
  }
  out.error = QStringLiteral("「%1」はCSVに書き出せない文字です（%2）。この文字を別の文字に直してから書き出してください。")
                  .arg(Q(badChar), where);
  return out;
}

std::optional<QString> WriteNetworkCsv(const QString& path, const std::vector<NetworkSegment>& segments) {
  const NetworkCsvExport csv = ExportNetworkCsv(segments);
  if (!csv.ok()) return csv.error;
  return SaveFileWhole(path, csv.bytes);
}

NetworkCsvImport ImportNetworkCsv(const QByteArray& bytes) {
  NetworkCsvImport out;
  // CP932 as written here; a spreadsheet's "UTF-8 CSV" carries a byte-order mark.
  std::string text;
  if (bytes.startsWith("\xEF\xBB\xBF")) {
    text = QString::fromUtf8(bytes.mid(3)).toStdString();
  } else {
    text = DecodeCp932(bytes);
  }
  std::vector<std::vector<std::string>> records;
  std::vector<std::size_t> lines;
  std::size_t badLine = 0;
  if (!ParseCsv(text, records, lines, badLine)) {
    out.error = LinePrefix(badLine) + QStringLiteral("「\"」で囲んだ値の終わりが正しくありません。");
    return out;
  }
  const std::vector<std::string>& header = NetworkCsvHeader();
  if (records.empty() || records[0] != header) {
    QStringList names;
    for (const std::string& caption : header) names << Q(caption);
    out.error = QStringLiteral("1行目が流量計算表のCSVの見出し（%1）ではありません。").arg(names.join(QLatin1Char(',')));
    return out;
  }
  for (std::size_t r = 1; r < records.size(); ++r) {
    std::vector<std::string>& fields = records[r];
    const QString where = LinePrefix(lines[r]);
    // A spreadsheet may end a row early or add empty cells on the right.
    while (fields.size() > header.size() && fields.back().empty()) fields.pop_back();
    if (fields.size() > header.size()) {
      out.error = where + QStringLiteral("列の数が %1 を超えています。").arg(header.size());
      return out;
    }
    bool empty = true;
    for (const std::string& f : fields) empty = empty && f.empty();
    if (empty) continue;
    fields.resize(header.size());
    NetworkSegment segment;
    if (QString e = SegmentFromValues(fields, where, segment); !e.isEmpty()) {
      out.error = e;
      return out;
    }
    out.segments.push_back(std::move(segment));
  }
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
