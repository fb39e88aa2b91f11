#include "project_file/network_lines.h"

#include <algorithm>
#include <array>
#include <map>

namespace mk {

namespace nf = network_field;

namespace {

constexpr std::string_view kMagic = "mirukana-network";
constexpr std::string_view kSegmentsLine = "[segments]";
constexpr std::string_view kNodesLine = "[nodes]";

constexpr const char* kApplies = "有り";
constexpr const char* kNone = "無し";

constexpr std::array<const char*, 6> kFormulaTexts{"①", "②", "③", "④", "⑤", "⑥"};
constexpr std::array<const char*, 6> kKindTexts{"ＶＰ管", "ＶＵ管", "強化プラスチック複合管",
                                               "ヒューム管", "その他円形管", "矩形管"};

std::string LinePrefix(std::size_t line) { return std::to_string(line) + "行目: "; }

// ---------------------------------------------------------------- settings

// One settings line of the file: its key, its value's text, and the reading
// of a value (false: not a value of this key; `caption` names it then).
struct SettingsKey {
  const char* key;
  const char* caption;  // for a value that does not read; nullptr: any text is taken
  std::string (*get)(const NetworkSettings&);
  bool (*set)(NetworkSettings&, const std::string&);
};

bool ReadApplies(bool& applies, const std::string& value) {
  if (value == kApplies) {
    applies = true;
  } else if (value == kNone) {
    applies = false;
  } else {
    return false;
  }
  return true;
}

#define MK_TEXT_KEY(key, member)                                      \
  SettingsKey {                                                       \
    key, nullptr, [](const NetworkSettings& s) { return s.member; },  \
        [](NetworkSettings& s, const std::string& v) {                \
          s.member = v;                                               \
          return true;                                                \
        }                                                             \
  }

// The settings lines in the order they are written.  The percentages are
// kept while "無し" is chosen, so their keys are the file's own.
const std::vector<SettingsKey>& SettingsKeys() {
  static const std::vector<SettingsKey> kKeys{
      MK_TEXT_KEY(nf::kTitle, title),
      {nf::kFormula, "降雨強度式",
       [](const NetworkSettings& s) {
         const int formula = static_cast<int>(s.formula);
         return std::string(formula >= 0 && formula < 6 ? kFormulaTexts[static_cast<std::size_t>(formula)] : "");
       },
       [](NetworkSettings& s, const std::string& v) {
         for (int k = 0; k < 6; ++k)
           if (v == kFormulaTexts[static_cast<std::size_t>(k)]) {
             s.formula = static_cast<IntensityFormula>(k);
             return true;
           }
         return false;
       }},
      MK_TEXT_KEY(nf::kA, a),
      MK_TEXT_KEY(nf::kB, b),
      MK_TEXT_KEY(nf::kC, c),
      MK_TEXT_KEY(nf::kD, d),
      MK_TEXT_KEY(nf::kT1, t1),
      {nf::kVelocity, "流速の計算方法",
       [](const NetworkSettings& s) { return std::string(s.velocity == VelocityFormula::Kutter ? "Kutter" : "Manning"); },
       [](NetworkSettings& s, const std::string& v) {
         if (v != "Manning" && v != "Kutter") return false;
         s.velocity = v == "Kutter" ? VelocityFormula::Kutter : VelocityFormula::Manning;
         return true;
       }},
      {nf::kGroundwater, "地下水混入率",
       [](const NetworkSettings& s) { return std::string(s.groundwater ? kApplies : kNone); },
       [](NetworkSettings& s, const std::string& v) { return ReadApplies(s.groundwater, v); }},
      MK_TEXT_KEY("groundwater_percent", groundwaterPercent),
      {nf::kSurcharge, "計画汚水量の割増し",
       [](const NetworkSettings& s) { return std::string(s.surcharge ? kApplies : kNone); },
       [](NetworkSettings& s, const std::string& v) { return ReadApplies(s.surcharge, v); }},
      MK_TEXT_KEY("surcharge_percent", surchargePercent),
      MK_TEXT_KEY(nf::kOutlet, outlet),
  };
  return kKeys;
}

#define MK_CRITERION_KEY(key, member)                                          \
  SettingsKey {                                                                \
    key, nullptr, [](const NetworkSettings& s) { return s.criteria.member; },  \
        [](NetworkSettings& s, const std::string& v) {                         \
          s.criteria.member = v;                                               \
          return true;                                                         \
        }                                                                      \
  }

// The design criteria, written after the settings from version 2 on.
const std::vector<SettingsKey>& CriteriaKeys() {
  static const std::vector<SettingsKey> kKeys{
      MK_CRITERION_KEY(nf::kVelocityMin, velocityMin),
      MK_CRITERION_KEY(nf::kVelocityMax, velocityMax),
      MK_CRITERION_KEY(nf::kMinimumSize, minimumSize),
      MK_CRITERION_KEY(nf::kMinimumCover, minimumCover),
      {nf::kJoint, "接合方法",
       [](const NetworkSettings& s) {
         return std::string(JointMethodCaption(s.criteria.joint));
       },
       [](NetworkSettings& s, const std::string& v) {
         for (int k = 0; k < kJointMethodCount; ++k)
           if (v == JointMethodCaption(static_cast<JointMethod>(k))) {
             s.criteria.joint = static_cast<JointMethod>(k);
             return true;
           }
         return false;
       }},
      MK_CRITERION_KEY(nf::kDropPipe, dropPipe),
      MK_CRITERION_KEY(nf::kSpacing600, spacing600),
      MK_CRITERION_KEY(nf::kSpacing1000, spacing1000),
      MK_CRITERION_KEY(nf::kSpacing1500, spacing1500),
      MK_CRITERION_KEY(nf::kSpacingLarger, spacingLarger),
      MK_CRITERION_KEY(nf::kMinimumDrop, minimumDrop),
  };
  return kKeys;
}

#undef MK_CRITERION_KEY

#undef MK_TEXT_KEY

// ---------------------------------------------------------------- segments

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

std::string KindText(const NetworkSegment& s) {
  const int kind = static_cast<int>(s.kind);
  return kind >= 0 && kind < 6 ? kKindTexts[static_cast<std::size_t>(kind)] : "";
}

// One segment column of the file and of the input CSV: its key, its text,
// and the reading of a text into a segment whose earlier columns are read
// (the size and the depth follow the kind).  `set` returns the refusal's
// text after the column's caption, or "" when the text is taken.
struct SegmentColumn {
  const char* key;
  std::string (*get)(const NetworkSegment&);
  std::string (*set)(NetworkSegment&, const std::string&);
};

#define MK_TEXT_COLUMN(key, member)                                  \
  SegmentColumn {                                                    \
    key, [](const NetworkSegment& s) { return s.member; },           \
        [](NetworkSegment& s, const std::string& v) {                \
          s.member = v;                                              \
          return std::string();                                      \
        }                                                            \
  }

const std::vector<SegmentColumn>& SegmentColumns() {
  static const std::vector<SegmentColumn> kColumns{
      MK_TEXT_COLUMN(nf::kName, name),
      MK_TEXT_COLUMN(nf::kUpstream, upstream),
      MK_TEXT_COLUMN(nf::kDownstream, downstream),
      MK_TEXT_COLUMN(nf::kLength, length),
      MK_TEXT_COLUMN(nf::kArea, area),
      MK_TEXT_COLUMN(nf::kRunoff, c),
      MK_TEXT_COLUMN(nf::kSewage, sewage),
      {nf::kKind, KindText,
       [](NetworkSegment& s, const std::string& v) {
         for (int k = 0; k < 6; ++k)
           if (v == kKindTexts[static_cast<std::size_t>(k)]) {
             s.kind = static_cast<NetworkFacilityKind>(k);
             return std::string();
           }
         return "「" + v + "」は選べる管種ではありません。";
       }},
      {nf::kSize, SizeText,
       [](NetworkSegment& s, const std::string& v) {
         const auto material = MaterialFromKind(static_cast<int>(s.kind));
         if (!material) return std::string();
         s.sizeIndex = -1;
         const auto& sizes = PipeSizes(*material);
         for (std::size_t k = 0; k < sizes.size(); ++k)
           if (sizes[k].storedName == v) s.sizeIndex = static_cast<int>(k);
         if (s.sizeIndex < 0 && !v.empty()) return "「" + v + "」は" + KindText(s) + "の管径ではありません。";
         return std::string();
       }},
      MK_TEXT_COLUMN(nf::kFacilityName, facilityName),
      MK_TEXT_COLUMN(nf::kDiameter, D),
      MK_TEXT_COLUMN(nf::kWidth, B),
      MK_TEXT_COLUMN(nf::kHeight, H),
      MK_TEXT_COLUMN(nf::kSlope, slope),
      MK_TEXT_COLUMN(nf::kRoughness, roughness),
      {nf::kDepth, DepthText,
       [](NetworkSegment& s, const std::string& v) {
         s.depthIndex = -1;
         if (v.empty()) return std::string();
         const auto& depths = DepthChoiceList(NetworkDepthList(s.kind));
         for (std::size_t k = 0; k < depths.size(); ++k)
           if (depths[k].text == v) s.depthIndex = static_cast<int>(k);
         if (s.depthIndex < 0) return "「" + v + "」は" + KindText(s) + "の水深の一覧にありません。";
         return std::string();
       }},
      // From version 2 on.
      MK_TEXT_COLUMN(nf::kInvert, invert),
      MK_TEXT_COLUMN(nf::kWall, wall),
  };
  return kColumns;
}

// The columns of a version-1 file: all but the level columns at the end.
constexpr std::size_t kVersion1SegmentColumns = 16;

// The node rows of a version-2 file.
constexpr std::array<const char*, 4> kNodeKeys{nf::kNode, nf::kGround, nf::kFixedInvert, nf::kNodeDrop};

std::string* NodeText(NetworkNode& node, std::size_t column) {
  switch (column) {
    case 0: return &node.name;
    case 1: return &node.ground;
    case 2: return &node.invert;
    case 3: return &node.minimumDrop;
    default: return nullptr;
  }
}

#undef MK_TEXT_COLUMN

std::vector<std::string> SegmentValues(const NetworkSegment& s, std::size_t count) {
  std::vector<std::string> values;
  values.reserve(count);
  for (std::size_t k = 0; k < count; ++k) values.push_back(SegmentColumns()[k].get(s));
  return values;
}

// The values of one row (file or CSV) into a segment; the refusal names the
// line (`where`) and the column.
std::string SegmentFromValues(const std::vector<std::string>& values, const std::string& where, NetworkSegment& s) {
  s = NetworkSegment{};
  const auto& columns = SegmentColumns();
  for (std::size_t k = 0; k < values.size() && k < columns.size(); ++k) {
    const std::string refused = columns[k].set(s, values[k]);
    if (!refused.empty()) return where + NetworkFieldCaption(columns[k].key) + refused;
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

// Well-formed UTF-8: no stray or missing continuation byte, no overlong
// form, no surrogate, nothing past U+10FFFF.
bool IsUtf8(std::string_view text) {
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + length > n) return false;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if (c < 0x80 || c > 0xBF) return false;
    }
    i += length;
  }
  return true;
}

std::string SegmentKeysLine(std::size_t count) {
  std::string line;
  for (std::size_t k = 0; k < count; ++k) {
    if (k) line += '\t';
    line += SegmentColumns()[k].key;
  }
  return line;
}

std::string NodeKeysLine() {
  std::string line;
  for (const char* key : kNodeKeys) line += (line.empty() ? "" : "\t") + std::string(key);
  return line;
}

// Version 1 holds every table without levels, so that such a table's file
// opens in a program that knows only version 1.
bool NeedsVersion2(const NetworkRecord& record) {
  if (!record.nodes.empty() || !(record.settings.criteria == NetworkCriteria{})) return true;
  for (const NetworkSegment& s : record.segments)
    if (!s.invert.empty() || !s.wall.empty()) return true;
  return false;
}

// ---------------------------------------------------------------- CSV

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

// ---------------------------------------------------------------- file

std::string NetworkFileText(const NetworkRecord& record) {
  const bool v2 = NeedsVersion2(record);
  const std::size_t columns = v2 ? SegmentColumns().size() : kVersion1SegmentColumns;
  std::string out;
  out += std::string(kMagic) + " " + (v2 ? "2" : "1") + "\n";
  auto putKeys = [&](const std::vector<SettingsKey>& keys) {
    for (const SettingsKey& key : keys) {
      out += key.key;
      out += '=';
      out += Escape(key.get(record.settings));
      out += '\n';
    }
  };
  putKeys(SettingsKeys());
  if (v2) {
    putKeys(CriteriaKeys());
    out += kNodesLine;
    out += '\n';
    out += NodeKeysLine();
    out += '\n';
    for (const NetworkNode& node : record.nodes) {
      NetworkNode copy = node;
      for (std::size_t k = 0; k < kNodeKeys.size(); ++k) out += (k ? "\t" : "") + Escape(*NodeText(copy, k));
      out += '\n';
    }
  }
  out += kSegmentsLine;
  out += '\n';
  out += SegmentKeysLine(columns);
  out += '\n';
  for (const NetworkSegment& segment : record.segments) {
    const std::vector<std::string> values = SegmentValues(segment, columns);
    for (std::size_t k = 0; k < values.size(); ++k) {
      if (k) out += '\t';
      out += Escape(values[k]);
    }
    out += '\n';
  }
  return out;
}

namespace {

// The tab-separated values of one line, unescaped; the refusal otherwise.
std::optional<std::string> ReadFields(std::string_view line, std::size_t count, const std::string& where,
                                      std::vector<std::string>& values) {
  const std::vector<std::string_view> fields = Split(line, '\t');
  if (fields.size() != count)
    return where + "列の数が " + std::to_string(count) + " ではなく " + std::to_string(fields.size()) + " です。";
  values.clear();
  values.reserve(fields.size());
  for (std::string_view field : fields) {
    auto value = Unescape(field);
    if (!value) return where + "「\\」の後に使えない文字があります。";
    values.push_back(std::move(*value));
  }
  return std::nullopt;
}

}  // namespace

NetworkLinesRead ParseNetworkFileText(std::string_view text) {
  NetworkLinesRead out;
  const std::string notTable = "流量計算表のファイルではありません。";
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (!IsUtf8(text)) {
    out.error = notTable + "（UTF-8 の文字として読めない部分があります。）";
    return out;
  }
  std::vector<std::string_view> lines = Split(text, '\n');
  for (std::string_view& line : lines)
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

  // The first line: the magic word and the version.
  const std::string_view first = lines[0];
  if (first.substr(0, kMagic.size()) != kMagic || first.size() < kMagic.size() + 2 || first[kMagic.size()] != ' ') {
    out.error = notTable;
    return out;
  }
  long long version = 0;  // held at 10^9 at most: any larger number is as new
  for (char ch : first.substr(kMagic.size() + 1)) {
    if (ch < '0' || ch > '9') {
      out.error = notTable;
      return out;
    }
    version = std::min(version * 10 + (ch - '0'), 1000000000LL);
  }
  if (version > kNetworkFileVersion) {
    out.error = "この流量計算表は新しい版のミルカナで保存されています（形式 " + std::to_string(version) +
                "、この版は形式 " + std::to_string(kNetworkFileVersion) + " まで）。この版では開けません。";
    return out;
  }
  if (version < 1) {
    out.error = notTable;
    return out;
  }
  const bool v2 = version >= 2;

  // The settings (and from version 2 the criteria), up to the nodes or the segments.
  std::map<std::string, std::string> seen;
  std::size_t i = 1;
  for (; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line == kSegmentsLine || (v2 && line == kNodesLine)) break;
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find('=');
    const std::string where = LinePrefix(i + 1);
    if (eq == std::string_view::npos) {
      out.error = where + "「キー=値」の形ではありません。";
      return out;
    }
    const std::string key(line.substr(0, eq));
    const auto value = Unescape(line.substr(eq + 1));
    if (!value) {
      out.error = where + "「\\」の後に使えない文字があります。";
      return out;
    }
    if (!seen.emplace(key, *value).second) {
      out.error = where + "「" + key + "」が二度あります。";
      return out;
    }
    const SettingsKey* known = nullptr;
    for (const SettingsKey& k : SettingsKeys())
      if (key == k.key) known = &k;
    for (const SettingsKey& k : CriteriaKeys())
      if (v2 && key == k.key) known = &k;
    if (!known) {
      out.error = where + "「" + key + "」は知らない設定です。";
      return out;
    }
    if (!known->set(out.record.settings, *value)) {
      out.error = where + known->caption + "「" + *value + "」は読めません。";
      return out;
    }
  }

  std::vector<std::string> values;
  if (v2 && i < lines.size() && lines[i] == kNodesLine) {
    ++i;
    if (i >= lines.size() || lines[i] != NodeKeysLine()) {
      out.error = LinePrefix(i + 1) + "人孔の列の並びが違います。";
      return out;
    }
    for (++i; i < lines.size() && lines[i] != kSegmentsLine; ++i) {
      if (lines[i].empty()) continue;
      if (auto e = ReadFields(lines[i], kNodeKeys.size(), LinePrefix(i + 1), values)) {
        out.error = std::move(*e);
        return out;
      }
      NetworkNode node;
      for (std::size_t k = 0; k < kNodeKeys.size(); ++k) *NodeText(node, k) = std::move(values[k]);
      out.record.nodes.push_back(std::move(node));
    }
  }
  if (i >= lines.size()) {
    out.error = "区間の表（" + std::string(kSegmentsLine) + "）がありません。";
    return out;
  }

  // The column line, then one segment a line.
  ++i;
  const std::size_t columnCount = v2 ? SegmentColumns().size() : kVersion1SegmentColumns;
  if (i >= lines.size() || lines[i] != SegmentKeysLine(columnCount)) {
    out.error = LinePrefix(i + 1) + "区間の列の並びが違います。";
    return out;
  }
  for (++i; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const std::string where = LinePrefix(i + 1);
    if (auto e = ReadFields(lines[i], columnCount, where, values)) {
      out.error = std::move(*e);
      return out;
    }
    NetworkSegment segment;
    if (std::string e = SegmentFromValues(values, where, segment); !e.empty()) {
      out.error = std::move(e);
      return out;
    }
    out.record.segments.push_back(std::move(segment));
  }
  return out;
}

// ---------------------------------------------------------------- CSV

const std::vector<std::string>& NetworkCsvHeader() {
  static const std::vector<std::string> kHeader = [] {
    std::vector<std::string> header;
    for (const SegmentColumn& column : SegmentColumns()) header.push_back(NetworkFieldCaption(column.key));
    return header;
  }();
  return kHeader;
}

NetworkCsvTable NetworkInputCsvTable(const std::vector<NetworkSegment>& segments) {
  NetworkCsvTable table{NetworkCsvHeader(), {}};
  table.rows.reserve(segments.size());
  for (const NetworkSegment& segment : segments) table.rows.push_back(SegmentValues(segment, SegmentColumns().size()));
  return table;
}

NetworkCsvTable NetworkResultsCsvTable(const NetworkRecord& record, const NetworkTable& computed) {
  NetworkCsvTable table;
  // The captions' middle dot ("C·A") has no CP932 form: the CSV, made for
  // Excel on Japanese Windows, carries the katakana middle dot ("C・A").
  for (const NetworkColumn& column : NetworkColumns()) {
    std::string caption = column.caption;
    for (std::size_t at; (at = caption.find("·")) != std::string::npos;) caption.replace(at, std::string("·").size(), "・");
    table.header.push_back(std::move(caption));
  }
  table.rows.reserve(computed.rows.size());
  for (const NetworkRow& row : computed.rows) table.rows.push_back(NetworkRowTexts(record, row));
  return table;
}

std::string NetworkCsvText(const NetworkCsvTable& table) {
  std::string text;
  auto putRecord = [&](const std::vector<std::string>& fields) {
    for (std::size_t k = 0; k < fields.size(); ++k) {
      if (k) text += ',';
      PutCsvField(text, fields[k]);
    }
    text += "\r\n";
  };
  putRecord(table.header);
  for (const auto& row : table.rows) putRecord(row);
  return text;
}

std::string NetworkCsvCharacterRefusal(const NetworkCsvTable& table, const std::string& badChar) {
  std::string where;
  for (std::size_t row = 0; row < table.rows.size() && where.empty(); ++row) {
    const auto& cells = table.rows[row];
    for (std::size_t k = 0; k < cells.size(); ++k) {
      if (cells[k].find(badChar) == std::string::npos) continue;
      where = std::to_string(row + 1) + "行目の" + (k < table.header.size() ? table.header[k] : std::string()) +
              "「" + cells[k] + "」";
      break;
    }
  }
  return "「" + badChar + "」はCSVに書き出せない文字です（" + where +
         "）。この文字を別の文字に直してから書き出してください。";
}

NetworkCsvBytes EncodeNetworkCsv(const NetworkCsvTable& table, const CsvEncoder& encode) {
  NetworkCsvBytes out;
  // The whole text at once: a character is judged where it stands (a
  // byte-order mark inside a value is a character CP932 lacks, not a mark
  // to drop as it would be at the start of a text of its own).
  std::string badChar;
  if (auto bytes = encode(NetworkCsvText(table), &badChar)) {
    out.bytes = std::move(*bytes);
    return out;
  }
  out.error = NetworkCsvCharacterRefusal(table, badChar);
  return out;
}

NetworkCsvRows ParseNetworkCsvText(const std::string& text) {
  NetworkCsvRows out;
  std::vector<std::vector<std::string>> records;
  std::vector<std::size_t> lines;
  std::size_t badLine = 0;
  if (!ParseCsv(text, records, lines, badLine)) {
    out.error = LinePrefix(badLine) + "「\"」で囲んだ値の終わりが正しくありません。";
    return out;
  }
  // The header of this version, or of the versions before the level
  // columns (whose rows then have no levels).
  std::vector<std::string> header = NetworkCsvHeader();
  if (!records.empty() && records[0].size() == kVersion1SegmentColumns &&
      std::equal(records[0].begin(), records[0].end(), header.begin()))
    header.resize(kVersion1SegmentColumns);
  if (records.empty() || records[0] != header) {
    std::string names;
    for (const std::string& caption : header) names += (names.empty() ? "" : ",") + caption;
    out.error = "1行目が流量計算表のCSVの見出し（" + names + "）ではありません。";
    return out;
  }
  for (std::size_t r = 1; r < records.size(); ++r) {
    std::vector<std::string>& fields = records[r];
    const std::string where = LinePrefix(lines[r]);
    // A spreadsheet may end a row early or add empty cells on the right.
    while (fields.size() > header.size() && fields.back().empty()) fields.pop_back();
    if (fields.size() > header.size()) {
      out.error = where + "列の数が " + std::to_string(header.size()) + " を超えています。";
      return out;
    }
    bool empty = true;
    for (const std::string& f : fields) empty = empty && f.empty();
    if (empty) continue;
    fields.resize(header.size());
    NetworkSegment segment;
    if (std::string e = SegmentFromValues(fields, where, segment); !e.empty()) {
      out.error = std::move(e);
      return out;
    }
    out.segments.push_back(std::move(segment));
  }
  return out;
}

}  // namespace mk
